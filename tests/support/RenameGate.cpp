// Renames of a child held in the kernel by a seccomp filter until the test answers them.
#include "support/RenameGate.h"
#include "support/SeccompArch.h"

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <vector>

namespace vztest
{

const char kNoRenameGate[] = "no rename gate: ";

namespace
{

// The calls that rename, and which of their arguments is the new path.
struct RenameCall
{
    int nr;
    int target_arg;
};
const RenameCall kRenameCalls[] = {
#ifdef __NR_rename
    {__NR_rename, 1},
#endif
    {__NR_renameat, 3},
    {__NR_renameat2, 3},
};

// Installs, on this process and the children it makes after, a filter that
// hands every rename of this architecture to a listener; its descriptor,
// or -1 with errno set.
int InstallRenameFilter()
{
    std::vector<sock_filter> prog = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kSeccompArch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
    };
    const size_t n = std::size(kRenameCalls);
    for (size_t i = 0; i < n; i++)
        prog.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, unsigned(kRenameCalls[i].nr), __u8(n - i), 0));
    prog.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    prog.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF));
    sock_fprog fprog = {static_cast<unsigned short>(prog.size()), prog.data()};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return -1;
    return int(syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_NEW_LISTENER, &fprog));
}

// The text at addr in the memory of process pid, up to its terminating zero.
std::string ReadChildText(pid_t pid, unsigned long long addr)
{
    const std::string mem = "/proc/" + std::to_string(pid) + "/mem";
    const int fd = open(mem.c_str(), O_RDONLY | O_CLOEXEC);
    std::string text;
    char buf[256];
    while (fd >= 0 && text.size() < PATH_MAX)
    {
        const ssize_t r = pread(fd, buf, sizeof(buf), off_t(addr + text.size()));
        if (r <= 0)
            break;
        if (const void* end = memchr(buf, 0, size_t(r)))
        {
            text.append(buf, size_t(static_cast<const char*>(end) - buf));
            break;
        }
        text.append(buf, size_t(r));
    }
    if (fd >= 0)
        close(fd);
    return text;
}

// Serves the gate in the process that holds the listener until the child
// that runs fn has ended.
std::string Serve(int listener, const std::function<std::string()>& fn,
                  const std::function<RenameAnswer(const std::string& target)>& decide, unsigned seconds)
{
    seccomp_notif_sizes sizes = {};
    if (syscall(SYS_seccomp, SECCOMP_GET_NOTIF_SIZES, 0, &sizes) != 0)
        return std::string(kNoRenameGate) + strerror(errno);
    std::vector<char> req_buf(std::max<size_t>(sizes.seccomp_notif, sizeof(seccomp_notif)));
    std::vector<char> resp_buf(std::max<size_t>(sizes.seccomp_notif_resp, sizeof(seccomp_notif_resp)));
    seccomp_notif* req = reinterpret_cast<seccomp_notif*>(req_buf.data());
    seccomp_notif_resp* resp = reinterpret_cast<seccomp_notif_resp*>(resp_buf.data());

    int fd = -1;
    const pid_t child = ForkReturning(
        [&]
        {
            close(listener);
            return fn();
        },
        seconds, &fd);
    if (child < 0)
        return GLibThreads().empty() ? "no child" : "not forked: GLib's threads run in this process (" + GLibThreads() + ")";
    std::string sent;
    bool killed = false, ended = false;
    while (!ended)
    {
        pollfd polled[2] = {{listener, POLLIN, 0}, {fd, POLLIN, 0}};
        if (poll(polled, 2, -1) < 0)
        {
            if (errno == EINTR)
                continue;
            break;
        }
        if (polled[0].revents & POLLIN)
        {
            std::fill(req_buf.begin(), req_buf.end(), 0);
            // A child killed meanwhile leaves nothing to receive.
            if (ioctl(listener, SECCOMP_IOCTL_NOTIF_RECV, req) == 0)
            {
                int arg = -1;
                for (const RenameCall& c : kRenameCalls)
                    if (c.nr == req->data.nr)
                        arg = c.target_arg;
                const std::string target = arg < 0 ? "" : ReadChildText(pid_t(req->pid), req->data.args[arg]);
                const RenameAnswer answer = decide(target);
                if (answer.kind == RenameAnswer::KILL)
                {
                    kill(child, SIGKILL);
                    killed = true;
                }
                else
                {
                    std::fill(resp_buf.begin(), resp_buf.end(), 0);
                    resp->id = req->id;
                    if (answer.kind == RenameAnswer::GO)
                        resp->flags = SECCOMP_USER_NOTIF_FLAG_CONTINUE;
                    else
                        resp->error = -answer.err;
                    ioctl(listener, SECCOMP_IOCTL_NOTIF_SEND, resp);
                }
            }
        }
        if (polled[1].revents & (POLLIN | POLLHUP | POLLERR))
        {
            char buf[4096];
            const ssize_t r = read(fd, buf, sizeof(buf));
            if (r > 0)
                sent.append(buf, size_t(r));
            else if (r == 0 || errno != EINTR)
                ended = true;
        }
    }
    close(fd);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR)
    {
    }
    if (killed && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        return "killed";
    return ChildResult(sent, status);
}

} // namespace

std::string RunWithRenameGate(const std::function<std::string()>& fn,
                              const std::function<RenameAnswer(const std::string& target)>& decide,
                              unsigned seconds)
{
    if (kSeccompArch == 0)
        return std::string(kNoRenameGate) + "no seccomp architecture known for this machine";
    // The filter goes on a process of its own, which answers for the child
    // it then starts: the test's process keeps renaming freely.
    return RunInChild(
        [&]
        {
            const int listener = InstallRenameFilter();
            if (listener < 0)
                return std::string(kNoRenameGate) + strerror(errno);
            const std::string got = Serve(listener, fn, decide, seconds);
            close(listener);
            return got;
        },
        seconds);
}

} // namespace vztest
