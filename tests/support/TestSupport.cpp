#include "support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <cerrno>
#include <cstdint>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

#include <filesystem>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMiscStrings.h"

namespace vztest
{

namespace
{
// The exit status of a child that came back from its function.
const int RETURNED_FROM_CHILD = 93;
} // namespace

TempDir::TempDir()
{
    const char* base = getenv("TMPDIR");
    std::string tmpl = (base && *base ? std::filesystem::absolute(base).string() : "/tmp") + "/vztest-XXXXXX";
    if (!mkdtemp(tmpl.data()))
    {
        fprintf(stderr, "TempDir: cannot make %s: %s\n", tmpl.c_str(), strerror(errno));
        abort();
    }
    path = tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteFile(const std::string& path, const std::string& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> Listing(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.c_str()))
    {
        while (dirent* e = readdir(d))
            if (strcmp(e->d_name, ".") && strcmp(e->d_name, ".."))
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string GLibThreads()
{
    std::string names;
    for (const std::string& task : Listing("/proc/self/task"))
    {
        std::string name = ReadFile("/proc/self/task/" + task + "/comm");
        if (!name.empty() && name.back() == '\n')
            name.pop_back();
        if (name == "gmain" || name == "gdbus" || name.rfind("pool", 0) == 0 || name == "dconf worker")
            names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

pid_t ForkChild()
{
    if (const std::string glib = GLibThreads(); !glib.empty())
    {
        ADD_FAILURE() << "not forked: GLib's threads run in this process (" << glib
                      << "); the test that ran GIO or GTK here must run in a child";
        return -1;
    }
    fflush(nullptr);
    return fork();
}

pid_t ForkReturning(const std::function<std::string()>& fn, unsigned seconds, int* fd)
{
    if (!GLibThreads().empty())
        return -1;
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0)
    {
        close(fds[0]);
        signal(SIGALRM, SIG_DFL);
        alarm(seconds);
        std::string out = fn();
        // The length goes first: only a child that came back from fn sends it.
        const uint64_t size = out.size();
        out.insert(0, reinterpret_cast<const char*>(&size), sizeof(size));
        size_t done = 0;
        while (done < out.size())
        {
            ssize_t w = write(fds[1], out.data() + done, out.size() - done);
            if (w <= 0)
                break;
            done += size_t(w);
        }
        _exit(done == out.size() ? RETURNED_FROM_CHILD : 1);
    }
    close(fds[1]);
    if (pid < 0)
    {
        close(fds[0]);
        return -1;
    }
    *fd = fds[0];
    return pid;
}

std::string ChildResult(const std::string& sent, int status)
{
    if (WIFSIGNALED(status))
        return WTERMSIG(status) == SIGALRM ? "blocked" : "died";
    uint64_t size = 0;
    if (sent.size() >= sizeof(size))
        memcpy(&size, sent.data(), sizeof(size));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != RETURNED_FROM_CHILD || sent.size() < sizeof(size) ||
        size != sent.size() - sizeof(size))
    {
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return "ended early (exit status " + std::to_string(code) + ")";
    }
    return sent.substr(sizeof(size));
}

std::string RunInChild(const std::function<std::string()>& fn, unsigned seconds)
{
    if (const std::string glib = GLibThreads(); !glib.empty())
        return "not forked: GLib's threads run in this process (" + glib + ")";
    int fd = -1;
    const pid_t pid = ForkReturning(fn, seconds, &fd);
    if (pid < 0)
        return "no child";
    std::string out;
    char buf[4096];
    ssize_t r;
    while ((r = read(fd, buf, sizeof(buf))) != 0)
        if (r > 0)
            out.append(buf, size_t(r));
        else if (errno != EINTR)
            break;
    close(fd);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    return ChildResult(out, status);
}

int RunCommand(const std::vector<std::string>& args, const std::string& out_file, unsigned seconds)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    if (!out_file.empty())
    {
        posix_spawn_file_actions_addopen(&fa, 1, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&fa, 1, 2);
    }
    pid_t pid;
    const int r = argv[0] ? posix_spawnp(&pid, argv[0], &fa, nullptr, argv.data(), environ) : EINVAL;
    posix_spawn_file_actions_destroy(&fa);
    if (r != 0)
        return -1;
    int status = 0;
    for (unsigned waited = 0; waited < seconds * 100; waited++)
    {
        const pid_t w = waitpid(pid, &status, WNOHANG);
        if (w == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (w < 0 && errno != EINTR)
            return -1;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    return -1;
}

namespace
{
// No test may wait on a real box: boxes nobody records go to standard error.
void UnrecordedPopup(char kind, const char* title, const char* text)
{
    fprintf(stderr, "[box %d] %s: %s\n", kind, title ? title : "", text ? text : "");
}
char UnrecordedOkCancel(char kind, const char* title, const char* text)
{
    UnrecordedPopup(kind, title, text);
    return 0;
}
const bool boxes_replaced = []
{
    eng_popup_function = UnrecordedPopup;
    eng_ok_cancel_popup_function = UnrecordedOkCancel;
    return true;
}();

EngPopupFunction saved_popup_function;
void Record(char kind, const char* title, const char* text)
{
    PopupRecorder::Popups().push_back({kind, title ? title : "", text ? text : ""});
}
} // namespace

PopupRecorder::PopupRecorder()
{
    saved_popup_function = eng_popup_function;
    eng_popup_function = Record;
    Popups().clear();
}

PopupRecorder::~PopupRecorder()
{
    eng_popup_function = saved_popup_function;
}

std::vector<Popup>& PopupRecorder::Popups()
{
    static std::vector<Popup> popups;
    return popups;
}

ScopedEnv::ScopedEnv(const char* n, const char* value) : name(n)
{
    const char* o = getenv(n);
    had = o != nullptr;
    if (had)
        old = o;
    if (value)
        setenv(n, value, 1);
    else
        unsetenv(n);
}

ScopedEnv::~ScopedEnv()
{
    if (had)
        setenv(name.c_str(), old.c_str(), 1);
    else
        unsetenv(name.c_str());
}

int LogCount(const std::string& text)
{
    int n = 0;
    for (int i = 0; i < DebugGetNumMessages(); i++)
    {
        _DebugMsg* m = DebugGetMessage(i);
        if (m && std::string(m->text).find(text) != std::string::npos)
            n++;
    }
    return n;
}

bool Logged(const std::string& text)
{
    return LogCount(text) > 0;
}

std::string LastLogLine()
{
    _DebugMsg* m = DebugGetMessage(DebugGetNumMessages() - 1);
    return m ? m->text : "";
}

void LogTest::SetUp()
{
    DebugResetForTests();
    ASSERT_TRUE(DebugSetLogFilename(LogPath().c_str(), 1));
    DebugClearLog();
}

void LogTest::TearDown()
{
    DebugResetForTests();
}

} // namespace vztest
