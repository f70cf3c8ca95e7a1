// Runs a test program from a folder an unprivileged user can enter, and drops root in its rows.
#include "support/Unprivileged.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "EngProgram.h"

extern char** environ;

namespace vztest
{

namespace
{
namespace fs = std::filesystem;

const uid_t kUser = 65534;
const gid_t kGroup = 65534;
// Names the folder to the program started again from it.
const char kSharedEnv[] = "VZ_TEST_SHARED_DIR";

// Set from other files' static initialisers, perhaps before this file's
// globals are made: kept in a function's static, made on first use.
struct Shared
{
    // The folder this program runs from, once it does, and the process that
    // removes it at exit (not its children).
    std::string folder;
    pid_t owner = 0;
    // Why there is no such folder, when making one failed, and whether that
    // is only the machine: no folder the user can enter, or ids refused.
    std::string none_why;
    bool none_skips = false;
};
Shared& TheShared()
{
    static Shared s;
    return s;
}

bool BecomeUser()
{
    return setgroups(0, nullptr) == 0 && setgid(kGroup) == 0 && setuid(kUser) == 0 && getuid() == kUser &&
           geteuid() == kUser;
}

// Asks a child that is the unprivileged user whether it can enter path: ""
// when it can, else why not, with *skips set when that is only the machine.
std::string UserCannotEnter(const std::string& path, bool* skips)
{
    fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0)
        _exit(!BecomeUser() ? 2 : access(path.c_str(), X_OK) != 0 ? 1 : 0);
    int status = 0;
    while (pid > 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    const int code = pid > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    *skips = code == 1 || code == 2;
    return code == 0   ? ""
           : code == 1 ? "it cannot enter " + path
           : code == 2 ? "setgroups, setgid or setuid refused"
                       : "no child";
}

std::string Failed(const std::string& what, int err)
{
    return what + ": " + strerror(err);
}

// A file the user may read: a hard link where it may read the original,
// else a copy of mode 0644.
std::string ShareFile(const std::string& from, const std::string& to, const struct stat& st)
{
    if ((st.st_mode & S_IROTH) && link(from.c_str(), to.c_str()) == 0)
        return "";
    std::error_code ec;
    if (!fs::copy_file(from, to, ec))
        return "copy " + from + ": " + ec.message();
    return chmod(to.c_str(), 0644) == 0 ? "" : Failed("chmod " + to, errno);
}

// The folder from, as a folder to of mode 0755 the user may read whole.
std::string ShareTree(const std::string& from, const std::string& to)
{
    if (mkdir(to.c_str(), 0755) != 0 || chmod(to.c_str(), 0755) != 0)
        return Failed("mkdir " + to, errno);
    std::error_code ec;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
    {
        const std::string src = it->path().string(), dst = to + "/" + it->path().filename().string();
        struct stat st;
        if (stat(src.c_str(), &st) != 0)
            return Failed("stat " + src, errno);
        const std::string why = S_ISDIR(st.st_mode)   ? ShareTree(src, dst)
                                : S_ISREG(st.st_mode) ? ShareFile(src, dst, st)
                                                      : "";
        if (!why.empty())
            return why;
    }
    return ec ? "read " + from + ": " + ec.message() : "";
}

// A fresh folder of mode 0755 under base that the user can enter; "" with
// why not added to why when there is none, and *skips cleared unless that is
// only the machine.
std::string MakeSharedFolder(const std::string& base, std::string* why, bool* skips)
{
    std::string tmpl = base + "/vztest-shared-XXXXXX";
    if (!mkdtemp(tmpl.data()))
    {
        *why += (why->empty() ? "" : "; ") + Failed("mkdtemp " + tmpl, errno);
        *skips = false;
        return "";
    }
    bool only_machine = false;
    const std::string cannot =
        chmod(tmpl.c_str(), 0755) == 0 ? UserCannotEnter(tmpl, &only_machine) : Failed("chmod", errno);
    if (cannot.empty())
        return tmpl;
    *why += (why->empty() ? "" : "; ") + cannot;
    *skips = *skips && only_machine;
    std::error_code ec;
    fs::remove_all(tmpl, ec);
    return "";
}

void RemoveShared()
{
    if (getpid() != TheShared().owner)
        return;
    std::error_code ec;
    fs::remove_all(TheShared().folder, ec);
}

// The program's own arguments.
std::vector<std::string> Arguments()
{
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::vector<std::string> args;
    for (std::string a; std::getline(in, a, '\0');)
        args.push_back(a);
    return args;
}

// Copies the program and its resources into folder and runs the copy in
// this process, with TMPDIR and VZ_RESOURCES_DIR inside the folder. Gives
// why not when it cannot.
std::string RunFrom(const std::string& folder, const std::string& exe)
{
    std::string resources;
    char found[PATH_MAX];
    if (EngProgramFindResourcesPath(found, sizeof(found)))
    {
        // Where the program looks first: beside itself.
        resources = folder + "/Resources";
        const std::string why = ShareTree(found, resources);
        if (!why.empty())
            return why;
    }
    const std::string copy = folder + exe.substr(exe.rfind('/'));
    if (link(exe.c_str(), copy.c_str()) != 0)
    {
        std::error_code ec;
        if (!fs::copy_file(exe, copy, ec))
            return "copy " + exe + ": " + ec.message();
        if (chmod(copy.c_str(), 0755) != 0)
            return Failed("chmod " + copy, errno);
    }
    const std::string tmp = folder + "/tmp";
    if (mkdir(tmp.c_str(), 01777) != 0 || chmod(tmp.c_str(), 01777) != 0)
        return Failed("mkdir " + tmp, errno);

    std::vector<std::string> env = {std::string(kSharedEnv) + "=" + folder, "TMPDIR=" + tmp};
    if (!resources.empty())
        env.push_back("VZ_RESOURCES_DIR=" + resources);
    for (char** e = environ; *e; e++)
    {
        const std::string kv = *e;
        const std::string name = kv.substr(0, kv.find('='));
        if (name != kSharedEnv && name != "TMPDIR" && !(name == "VZ_RESOURCES_DIR" && !resources.empty()))
            env.push_back(kv);
    }
    std::vector<std::string> args = Arguments();
    if (args.empty())
        return "no arguments in /proc/self/cmdline";
    std::vector<char*> argv, envp;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    fflush(nullptr);
    execve(copy.c_str(), argv.data(), envp.data());
    return Failed("exec " + copy, errno);
}
} // namespace

bool RunFromSharedCopy()
{
    Shared& shared = TheShared();
    if (geteuid() != 0)
        return false;
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0)
    {
        shared.none_why = Failed("readlink /proc/self/exe", errno);
        fprintf(stderr, "RunFromSharedCopy: %s\n", shared.none_why.c_str());
        return false;
    }
    const std::string exe(buf, size_t(n));
    // Started again from the copy: the folder goes at exit.
    if (const char* s = getenv(kSharedEnv))
    {
        const std::string folder = s;
        unsetenv(kSharedEnv);
        if (exe.rfind(folder + "/", 0) == 0)
        {
            shared.folder = folder;
            shared.owner = getpid();
            atexit(RemoveShared);
            return true;
        }
    }
    std::vector<std::string> bases;
    if (const char* t = getenv("TMPDIR"); t && *t)
        bases.push_back(fs::absolute(t).string());
    bases.push_back("/tmp");
    std::string why_not;
    bool skips = true;
    for (const std::string& base : bases)
    {
        const std::string folder = MakeSharedFolder(base, &why_not, &skips);
        if (folder.empty())
            continue;
        const std::string why = RunFrom(folder, exe);
        // Only a copy that could not start comes back.
        std::error_code ec;
        fs::remove_all(folder, ec);
        shared.none_why = why + " (in " + folder + ")";
        shared.none_skips = false;
        fprintf(stderr, "RunFromSharedCopy: %s\n", shared.none_why.c_str());
        return false;
    }
    shared.none_why = why_not;
    shared.none_skips = skips;
    fprintf(stderr, "RunFromSharedCopy: %s\n", shared.none_why.c_str());
    return false;
}

const char kCannotDropRoot[] = "cannot become an unprivileged user";

std::string DropRoot()
{
    if (geteuid() != 0)
        return "";
    const std::string& shared = TheShared().folder;
    const std::string& none_why = TheShared().none_why;
    if (shared.empty())
        return none_why.empty() ? "this program does not run where the unprivileged user can reach it "
                                  "(vztest::RunFromSharedCopy() is not called)"
               : TheShared().none_skips
                   ? std::string(kCannotDropRoot) + " (" + none_why + ")"
                   : "this program could not be run from a copy the unprivileged user can reach (" + none_why +
                         ")";
    // The X server's cookie may lie where only root can read it.
    if (const char* auth = getenv("XAUTHORITY"); auth && access(auth, R_OK) == 0)
    {
        std::ifstream in(auth, std::ios::binary);
        std::stringstream cookie;
        cookie << in.rdbuf();
        const std::string own = shared + "/Xauthority-" + std::to_string(getpid());
        const int fd = open(own.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        const std::string data = cookie.str();
        const bool ok = fd >= 0 && write(fd, data.data(), data.size()) == ssize_t(data.size()) &&
                        fchown(fd, kUser, kGroup) == 0;
        const int err = errno;
        if (fd >= 0)
            close(fd);
        if (!ok)
            return Failed("cannot hand the X cookie to the unprivileged user", err);
        setenv("XAUTHORITY", own.c_str(), 1);
    }
    if (chdir(shared.c_str()) != 0)
        return Failed("chdir " + shared, errno);
    if (!BecomeUser())
        return std::string(kCannotDropRoot) + " (" + strerror(errno) + ")";
    return "";
}

bool NotRunRows::Noted(const std::string& got, const std::string& row)
{
    if (got.rfind(kCannotDropRoot, 0) != 0)
        return false;
    names += " " + row + ";";
    const std::string why = got.substr(strlen(kCannotDropRoot));
    if (reasons.find(why) == std::string::npos)
        reasons += why;
    return true;
}

std::string NotRunRows::Why() const
{
    return std::string("root ") + kCannotDropRoot + reasons +
           " and writes into any file, so these did not run:" + names;
}

} // namespace vztest
