// Helpers shared by the tests: temporary folders, recorded message boxes,
// the debug log.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include "EngDebug.h"

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace vztest
{

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it at the end.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& data);
bool FileExists(const std::string& path);
// The names in a folder (without "." and ".."), sorted; empty when it cannot be read.
std::vector<std::string> Listing(const std::string& folder);

struct Popup
{
    char kind;
    std::string title, text;
};

// Records every message box instead of showing it, while it lives.
class PopupRecorder
{
public:
    PopupRecorder();
    ~PopupRecorder();
    static std::vector<Popup>& Popups();
};

// Sets an environment variable for the scope, restoring the old value after.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();

private:
    std::string name, old;
    bool had;
};

// How long a guard lets a loop, a dialog or a child run before taking it for
// a hang: long, so that a slow pass on a loaded machine is never taken for one.
constexpr unsigned kHangSeconds = 120;

// The threads GLib starts once GIO or GTK has run (its worker, GDBus's, its
// pools, dconf's) that live in this process, by name; "" when there are none.
// A child forked while one of them holds a lock waits on that lock for ever,
// so a test that runs GIO or GTK forks no children afterwards: it runs in a
// child itself.
std::string GLibThreads();

// fork() for the tests: forks only while no GLib thread runs here, else
// fails the test, naming them, and gives -1.
pid_t ForkChild();

// Runs fn in a child process that an alarm ends after seconds, so a call that
// would block for good cannot hang the suite. Gives what fn returned, "blocked"
// when the alarm ended the child, "died" when another signal did, "ended early
// (exit status N)" when the child exited without coming back from fn, or "not
// forked: ..." while GLib's threads run here (GLibThreads).
std::string RunInChild(const std::function<std::string()>& fn, unsigned seconds = kHangSeconds);
// Runs the program args[0] (looked up on PATH) with args, its standard output
// and error into out_file when one is given. Gives its exit status, or -1
// when it could not be started, a signal ended it, or it had not ended after
// seconds (it is then killed).
int RunCommand(const std::vector<std::string>& args, const std::string& out_file = "",
               unsigned seconds = kHangSeconds);
// The two halves of RunInChild, for a parent with more to do while the child
// runs: ForkReturning starts the child and gives its pid (-1 when none could
// be made, or while GLib's threads run here) and, in *fd, the pipe on which
// it sends what fn returned; ChildResult reads everything sent on it and the
// child's wait status as RunInChild does.
pid_t ForkReturning(const std::function<std::string()>& fn, unsigned seconds, int* fd);
std::string ChildResult(const std::string& sent, int status);

// How many lines of the log ring contain text.
int LogCount(const std::string& text);

// True when a line in the log ring contains text.
bool Logged(const std::string& text);

// The newest line of the log ring, or "" when it is empty.
std::string LastLogLine();

// A test that starts with a fresh, empty log written to a file of its own,
// and resets the log after.
class LogTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    std::string LogPath() const { return log_dir.File("log.txt"); }
    static std::string LastLine() { return LastLogLine(); }

    TempDir log_dir;
};

} // namespace vztest
