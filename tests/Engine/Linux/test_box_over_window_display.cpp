// A box that a program on the engine shows over its own window, full screen
// on a display without a window manager and on one with, and in a window
// under one: the box stands over the window and takes the keyboard, the keys
// typed at it stay its own, the program is neither deactivated nor given a
// key while it is up, and once it is closed the program is in front, active
// and drawing. A loss of the focus to another program while the box is up
// has its full effect once the box is gone. The program runs as a separate
// process; the test types at the box through the X server's test extension,
// as a player would.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TestSupport.h"
#include "support/XTestInput.h"

extern char** environ;

namespace
{

using Clock = std::chrono::steady_clock;

int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

// The test's own connection; windows may go while they are looked at.
Display* X()
{
    static Display* d = []
    {
        Display* d = XOpenDisplay(nullptr);
        XSetErrorHandler(IgnoreXError);
        return d;
    }();
    return d;
}

// Polls until done() or the seconds have passed; whether done() came true.
bool WaitFor(double seconds, const std::function<bool()>& done)
{
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (!done())
    {
        if (Clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

Atom A(const char* name)
{
    return XInternAtom(X(), name, False);
}

std::vector<unsigned long> Property(Window w, const char* name, Atom type)
{
    Atom got_type;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(X(), w, A(name), 0, 64, False, type, &got_type, &format, &n, &after, &data) ==
            Success &&
        data && format == 32)
        values.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + n);
    if (data)
        XFree(data);
    return values;
}

bool Viewable(Window w)
{
    XWindowAttributes a;
    return XGetWindowAttributes(X(), w, &a) && a.map_state == IsViewable;
}

// w's ancestor that is a child of the root (a window manager's frame, or w).
Window TopLevel(Window w)
{
    for (int depth = 0; w && depth < 64; depth++)
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned n = 0;
        if (!XQueryTree(X(), w, &root, &parent, &children, &n))
            return 0;
        if (children)
            XFree(children);
        if (parent == root)
            return w;
        w = parent;
    }
    return 0;
}

bool Inside(Window w, Window top)
{
    for (int depth = 0; w && depth < 64; depth++)
    {
        if (w == top)
            return true;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned n = 0;
        if (!XQueryTree(X(), w, &root, &parent, &children, &n))
            return false;
        if (children)
            XFree(children);
        if (parent == root)
            return false;
        w = parent;
    }
    return false;
}

// The viewable window titled title other than the program's own, or 0.
Window FindTitled(Window under, const std::string& title, Window not_this)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(X(), under, &root, &parent, &children, &n))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < n && !found; i++)
    {
        char* name = nullptr;
        if (children[i] != not_this && XFetchName(X(), children[i], &name) && name && title == name &&
            Viewable(children[i]))
            found = children[i];
        if (name)
            XFree(name);
        if (!found)
            found = FindTitled(children[i], title, not_this);
    }
    if (children)
        XFree(children);
    return found;
}

bool HasKeyboard(Window w)
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(X(), &focus, &revert);
    return focus != None && focus != PointerRoot && Inside(focus, w);
}

// Whether the stacking order has a's top-level window above b's.
bool StackedAbove(Window a, Window b)
{
    const Window ta = TopLevel(a), tb = TopLevel(b);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    if (!ta || !tb || !XQueryTree(X(), DefaultRootWindow(X()), &root, &parent, &children, &n))
        return false;
    int ia = -1, ib = -1;
    for (unsigned i = 0; i < n; i++)
    {
        if (children[i] == ta)
            ia = int(i);
        if (children[i] == tb)
            ib = int(i);
    }
    if (children)
        XFree(children);
    return ia > ib && ib >= 0;
}

// Clicks the middle of w.
void Click(Window w)
{
    XWindowAttributes a = {};
    Window child = 0;
    int x = 0, y = 0;
    XGetWindowAttributes(X(), w, &a);
    XTranslateCoordinates(X(), w, DefaultRootWindow(X()), a.width / 2, a.height / 2, &x, &y, &child);
    vztest::XTestClickAt(X(), x, y);
}

void Type(KeySym key)
{
    vztest::XTestType(X(), key);
}

// A press and release of key sent straight to w, past the keyboard focus.
void SendKey(Window w, KeySym key)
{
    XEvent e = {};
    e.xkey.type = KeyPress;
    e.xkey.display = X();
    e.xkey.window = w;
    e.xkey.root = DefaultRootWindow(X());
    e.xkey.time = CurrentTime;
    e.xkey.same_screen = True;
    e.xkey.keycode = XKeysymToKeycode(X(), key);
    XSendEvent(X(), w, True, KeyPressMask, &e);
    e.xkey.type = KeyRelease;
    XSendEvent(X(), w, True, KeyReleaseMask, &e);
    XSync(X(), False);
}

// What a window manager's close button sends.
void AskToClose(Window w)
{
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = A("WM_PROTOCOLS");
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(A("WM_DELETE_WINDOW"));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(X(), w, False, NoEventMask, &e);
    XSync(X(), False);
}

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, int out_fd)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out_fd >= 0)
        posix_spawn_file_actions_adddup2(&actions, out_fd, STDOUT_FILENO);
    std::vector<char*> argv, envp;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (char** e = environ; *e; e++)
        envp.push_back(*e);
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
    {
        ADD_FAILURE() << "could not start " << args[0] << ": " << strerror(rc);
        return -1;
    }
    return pid;
}

// Ends the process (asked, then made to) and collects it; its exit status,
// or -1 when it did not exit by itself.
int Reap(pid_t pid, double seconds)
{
    int status = 0;
    const bool ended = WaitFor(seconds, [&] { return waitpid(pid, &status, WNOHANG) == pid; });
    if (!ended)
    {
        kill(pid, SIGTERM);
        if (!WaitFor(10, [&] { return waitpid(pid, &status, WNOHANG) == pid; }))
        {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A window manager names itself on the root window once it manages.
bool WindowManagerRunning()
{
    return !Property(DefaultRootWindow(X()), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty();
}

// A window manager of the test's own on the test's display, while it lives.
class WindowManager
{
public:
    WindowManager()
    {
        const std::string home = dir.Path();
        const std::vector<std::string> env = {"HOME=" + home, "XDG_CONFIG_HOME=" + home,
                                              "XDG_CACHE_HOME=" + home, "XDG_DATA_HOME=" + home};
        pid = Spawn({"openbox", "--sm-disable"}, env, -1);
        ready = pid > 0 && WaitFor(vztest::kHangSeconds, WindowManagerRunning);
    }
    ~WindowManager()
    {
        if (pid > 0)
        {
            kill(pid, SIGTERM);
            Reap(pid, 10);
        }
        WaitFor(10, [] { return !WindowManagerRunning(); });
    }
    bool Ready() const { return ready; }

private:
    vztest::TempDir dir;
    pid_t pid = -1;
    bool ready = false;
};

// The program's standard output, line by line as it comes.
class Output
{
public:
    explicit Output(int fd) : fd(fd) {}
    ~Output() { close(fd); }
    // Reads until a line after the last one found begins with prefix: that
    // line, or "" when the seconds pass first.
    std::string WaitForLine(const std::string& prefix, double seconds)
    {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        for (;;)
        {
            size_t nl;
            while ((nl = text.find('\n', pos)) != std::string::npos)
            {
                const std::string line = text.substr(pos, nl - pos);
                pos = nl + 1;
                if (line.rfind(prefix, 0) == 0)
                    return line;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0 || !ReadSome(int(left)))
                return "";
        }
    }
    // Whether a whole line, after the last one found, is line; read for as
    // long as the seconds allow. The place of the last line found stays.
    bool Saw(const std::string& line, double seconds)
    {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        for (;;)
        {
            if (("\n" + text.substr(pos)).find("\n" + line + "\n") != std::string::npos)
                return true;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0 || !ReadSome(int(left)))
                return false;
        }
    }
    // Everything read, after whatever is still to come within the seconds.
    const std::string& All(double seconds)
    {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        for (;;)
        {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0 || !ReadSome(int(left)))
                return text;
        }
    }

private:
    bool ReadSome(int ms)
    {
        pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, ms) <= 0)
            return false;
        char buf[4096];
        const ssize_t n = read(fd, buf, sizeof(buf));
        if (n <= 0)
            return false;
        text.append(buf, size_t(n));
        return true;
    }
    int fd;
    std::string text;
    size_t pos = 0;
};

// The keys, activations and minimisings the program reported between the
// box and its "FRAMES" line.
std::string GivenDuringTheBox(const std::string& out)
{
    const size_t from = out.find("\nBOX\n"), to = out.find("\nFRAMES ");
    if (from == std::string::npos)
        return "no BOX line";
    std::istringstream lines(out.substr(from, to == std::string::npos ? std::string::npos : to - from));
    std::string given;
    for (std::string line; std::getline(lines, line);)
        for (const char* kind : {"KEY ", "ACTIVATED ", "MINIMISED "})
            if (line.rfind(kind, 0) == 0)
                given += (given.empty() ? "" : ", ") + line;
    return given;
}

// A window manager's own window that it gives the focus to for a moment, as
// some do when a window they have focused goes, before they give it on: one
// pixel, off the screen, not managed.
Window WindowManagersOwn()
{
    static Window w = []
    {
        XSetWindowAttributes a = {};
        a.override_redirect = True;
        Window own = XCreateWindow(X(), DefaultRootWindow(X()), -100, -100, 1, 1, 0, CopyFromParent,
                                   InputOnly, CopyFromParent, CWOverrideRedirect, &a);
        XMapWindow(X(), own);
        XSync(X(), False);
        return own;
    }();
    return w;
}

// The focus goes by the window manager's own window back to w, at once.
void HandFocusAroundTo(Window w)
{
    XSetInputFocus(X(), WindowManagersOwn(), RevertToPointerRoot, CurrentTime);
    XSetInputFocus(X(), w, RevertToPointerRoot, CurrentTime);
    XSync(X(), False);
}

// The window manager is asked to activate w, as when the player clicks it in
// a task bar; whether w then has the keyboard.
bool Activate(Window w)
{
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = A("_NET_ACTIVE_WINDOW");
    e.xclient.format = 32;
    e.xclient.data.l[0] = 2; // from the player, through a pager
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(X(), DefaultRootWindow(X()), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XSync(X(), False);
    return WaitFor(vztest::kHangSeconds, [&] { return HasKeyboard(w); });
}

// Another program's window, which takes the keyboard as it would when the
// player clicks it in a task bar.
class OtherProgram
{
public:
    OtherProgram()
    {
        w = XCreateSimpleWindow(X(), DefaultRootWindow(X()), 0, 0, 200, 150, 0, 0, 0);
        XStoreName(X(), w, "Other Program");
        XMapRaised(X(), w);
        XSync(X(), False);
    }
    ~OtherProgram()
    {
        XDestroyWindow(X(), w);
        XSync(X(), False);
    }
    Window XWindow() const { return w; }
    bool TakeFocus()
    {
        return WaitFor(vztest::kHangSeconds, [&] { return Viewable(w); }) && Activate(w);
    }

private:
    Window w = 0;
};

struct Case
{
    const char* name;
    const char* kind;            // the program's argument
    const char* title;           // the box's title
    std::vector<KeySym> closing; // typed after 7 and u: the box goes
    const char* answer;          // a line the program prints once the box is closed, or null
};

// The program, started as the player starts the game, with a click on its
// dialog; its standard output, and its window once it is up.
struct Program
{
    pid_t pid = -1;
    std::unique_ptr<Output> out;
    Window window = 0;

    ~Program()
    {
        if (pid > 0)
            Reap(pid, 0);
    }
    // Its exit status, once it ended within the seconds; -1 when it was made to.
    int End(double seconds)
    {
        const int status = Reap(pid, seconds);
        pid = -1;
        return status;
    }
};

class BoxOverWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(X(), nullptr);
        int event_base, error_base, major, minor;
        ASSERT_TRUE(XTestQueryExtension(X(), &event_base, &error_base, &major, &minor));
    }

    void Start(Program* p, const char* kind, bool windowed)
    {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        std::vector<std::string> args = {VZ_BOX_PROGRAM, kind, windowed ? "window" : "full",
                                         dir.File("log.txt")};
        if (!strcmp(kind, "interface"))
            args.push_back(std::string(getenv("VZ_SOURCE_DIR")) + "/tests/Engine/Linux/data/Settings.ui");
        p->pid = Spawn(args, {}, fds[1]);
        close(fds[1]);
        p->out = std::make_unique<Output>(fds[0]);
        ASSERT_GT(p->pid, 0);

        // Clicked again should a click come before the dialog can take it.
        std::string window_line;
        for (int click = 0; click < 12 && window_line.empty(); click++)
        {
            Window start = 0;
            if (WaitFor(120,
                        [&] { return (start = FindTitled(DefaultRootWindow(X()), "Box Program", 0)) != 0; }))
                Click(start);
            window_line = p->out->WaitForLine("WINDOW ", 10);
        }
        ASSERT_NE(window_line, "") << p->out->All(0);
        p->window = Window(std::stoul(window_line.substr(7)));
    }

    // The box once it is on the screen, over the window, with the keyboard.
    Window ShownBox(Program* p, const char* title)
    {
        if (p->out->WaitForLine("BOX", vztest::kHangSeconds) == "")
        {
            ADD_FAILURE() << "no box was shown: " << p->out->All(0);
            return 0;
        }
        Window box = 0;
        if (!WaitFor(vztest::kHangSeconds,
                     [&] { return (box = FindTitled(DefaultRootWindow(X()), title, p->window)) != 0; }))
        {
            ADD_FAILURE() << "no box titled " << title << " appeared";
            return 0;
        }
        Window transient = 0;
        EXPECT_TRUE(XGetTransientForHint(X(), box, &transient) && transient == p->window)
            << "the box is not transient for the program's window";
        EXPECT_TRUE(WaitFor(vztest::kHangSeconds, [&] { return HasKeyboard(box); }))
            << "the box never got the keyboard";
        EXPECT_TRUE(StackedAbove(box, p->window)) << "the box is under the program's window";
        return box;
    }

    // Run with the window manager handing the focus around once the box has
    // gone: the program's own box is no deactivation all the same.
    void Run(const Case& c, bool with_wm, bool windowed, bool hand_focus_around = false)
    {
        Program p;
        ASSERT_NO_FATAL_FAILURE(Start(&p, c.kind, windowed));
        Output& out = *p.out;
        const Window game = p.window;
        const Window box = ShownBox(&p, c.title);
        ASSERT_NE(box, Window(0));

        // A key that reaches the program's window while the box is up is the
        // box's time: SDL takes it, and the program must not get it.
        SendKey(game, XK_x);
        Type(XK_7);
        Type(XK_u);
        for (KeySym key : c.closing)
            Type(key);
        if (out.WaitForLine("CLOSED", vztest::kHangSeconds) == "")
        {
            ADD_FAILURE() << "the box's key did not close it";
            AskToClose(box);
            ASSERT_NE(out.WaitForLine("CLOSED", 30), "") << out.All(0);
        }
        if (c.answer)
        {
            EXPECT_NE(out.All(0).find(std::string("\n") + c.answer + "\n"), std::string::npos) << out.All(0);
        }
        if (hand_focus_around)
        {
            WaitFor(vztest::kHangSeconds, [&] { return !Viewable(box) && HasKeyboard(game); });
            HandFocusAroundTo(game);
        }

        // The program draws on after the box, in front and active.
        const std::string frames = out.WaitForLine("FRAMES ", vztest::kHangSeconds);
        EXPECT_EQ(frames, "FRAMES 60 ACTIVE 1 MINIMISED 0") << "no frames after the box closed";
        EXPECT_TRUE(Viewable(game));
        EXPECT_TRUE(WaitFor(vztest::kHangSeconds, [&] { return HasKeyboard(game); }))
            << "the program's window lost the keyboard";
        const std::vector<unsigned long> wm_state = Property(game, "WM_STATE", A("WM_STATE"));
        EXPECT_FALSE(!wm_state.empty() && wm_state[0] == IconicState) << "the program's window is iconic";
        if (with_wm)
        {
            const std::vector<unsigned long> active =
                Property(DefaultRootWindow(X()), "_NET_ACTIVE_WINDOW", XA_WINDOW);
            EXPECT_TRUE(!active.empty() && active[0] == game) << "the program's window is not the active one";
        }
        if (!windowed)
        {
            if (with_wm)
            {
                const std::vector<unsigned long> state = Property(game, "_NET_WM_STATE", XA_ATOM);
                EXPECT_NE(std::find(state.begin(), state.end(), A("_NET_WM_STATE_FULLSCREEN")), state.end())
                    << "the program's window is no longer full screen";
            }
            XWindowAttributes a = {};
            XGetWindowAttributes(X(), game, &a);
            EXPECT_EQ(a.width, DisplayWidth(X(), DefaultScreen(X())));
            EXPECT_EQ(a.height, DisplayHeight(X(), DefaultScreen(X())));
        }

        // It has the keyboard: the next key is its own, and ends it.
        Type(XK_k);
        const bool ends = out.WaitForLine("KEY 75", vztest::kHangSeconds) != "";
        EXPECT_TRUE(ends) << "the program did not get the key typed at it";
        // The bound only stops a hang: on a loaded machine the end of a
        // full-screen program with its leak check can take a minute.
        EXPECT_EQ(p.End(ends ? 300 : 0), ends ? 0 : -1) << out.All(0);
        EXPECT_EQ(GivenDuringTheBox(out.All(5)), "") << "the box's time reached the program";
    }

    vztest::TempDir dir;
};

const Case kCases[] = {
    {"the message box", "message", "Box Over The Game", {XK_Return}, nullptr},
    {"the log's warning box", "log", "Warning", {XK_Escape}, nullptr},
    {"a question", "question", "Box Over The Game", {XK_Return}, "ANSWER 1"},
    // Typed into its entry; Tab goes on to its first button.
    {"a dialog from an interface file", "interface", "Settings", {XK_Tab, XK_Return}, "TYPED 7u dlg.cancel"},
    {"a dialog kit window", "kit", "Box Program", {XK_Return}, "TYPED close"},
};

TEST_F(BoxOverWindow, WithoutAWindowManager)
{
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Run(c, false, false);
    }
}

TEST_F(BoxOverWindow, WithAWindowManager)
{
    WindowManager wm;
    ASSERT_TRUE(wm.Ready()) << "openbox did not start (scripts/install-deps.sh installs it)";
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Run(c, true, false);
    }
}

TEST_F(BoxOverWindow, InAWindowUnderAWindowManager)
{
    WindowManager wm;
    ASSERT_TRUE(wm.Ready()) << "openbox did not start (scripts/install-deps.sh installs it)";
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Run(c, true, true);
        SCOPED_TRACE("the window manager hands the focus around after the box");
        Run(c, true, true, true);
    }
}

// Full screen under a window manager, another program takes the focus: the
// program is deactivated and minimised, at once without a box, and once the
// box is closed when the loss came while its box was up.
TEST_F(BoxOverWindow, ALossToAnotherProgramWhileTheBoxIsUpTakesEffectOnceTheBoxIsGone)
{
    WindowManager wm;
    ASSERT_TRUE(wm.Ready()) << "openbox did not start (scripts/install-deps.sh installs it)";
    const struct
    {
        const char* name;
        const char* kind;
        const char* title; // the box's, or null for none
    } rows[] = {
        {"no box", "none", nullptr},
        {"the message box", "message", "Box Over The Game"},
        {"a dialog kit window", "kit", "Box Program"},
    };
    for (const auto& r : rows)
    {
        SCOPED_TRACE(r.name);
        Program p;
        ASSERT_NO_FATAL_FAILURE(Start(&p, r.kind, false));
        Output& out = *p.out;
        std::unique_ptr<OtherProgram> other;
        if (r.title)
        {
            const Window box = ShownBox(&p, r.title);
            ASSERT_NE(box, Window(0));
            other = std::make_unique<OtherProgram>();
            ASSERT_TRUE(other->TakeFocus()) << "the other program never got the keyboard";
            AskToClose(box);
            ASSERT_NE(out.WaitForLine("CLOSED", vztest::kHangSeconds), "") << out.All(0);
        }
        else
        {
            ASSERT_NE(out.WaitForLine("CLOSED", vztest::kHangSeconds), "") << out.All(0);
            ASSERT_TRUE(WaitFor(vztest::kHangSeconds, [&] { return HasKeyboard(p.window); }));
            other = std::make_unique<OtherProgram>();
            ASSERT_TRUE(other->TakeFocus()) << "the other program never got the keyboard";
        }
        EXPECT_TRUE(out.Saw("ACTIVATED 0", vztest::kHangSeconds)) << out.All(0);
        EXPECT_TRUE(out.Saw("MINIMISED 1", vztest::kHangSeconds)) << out.All(0);
        EXPECT_TRUE(WaitFor(vztest::kHangSeconds,
                            [&]
                            {
                                const std::vector<unsigned long> s =
                                    Property(p.window, "WM_STATE", A("WM_STATE"));
                                return !s.empty() && s[0] == IconicState;
                            }))
            << "the program's window is not iconic";
        kill(p.pid, SIGTERM);
        EXPECT_EQ(p.End(300), 0) << out.All(0);
    }
}

// In a window under a window manager, the player types the key that closes
// the box and clicks another program's window in the same instant: the
// focus stays where the click put it, and the program is deactivated; it
// neither takes the keyboard back nor stays active.
TEST_F(BoxOverWindow, AClickOnAnotherProgramAsTheBoxClosesKeepsTheFocusThere)
{
    WindowManager wm;
    ASSERT_TRUE(wm.Ready()) << "openbox did not start (scripts/install-deps.sh installs it)";
    const struct
    {
        const char* name;
        const char* kind;
        const char* title;
    } rows[] = {
        {"the message box", "message", "Box Over The Game"},
        {"a dialog kit window", "kit", "Box Program"},
        {"a dialog from an interface file", "interface", "Settings"},
    };
    for (const auto& r : rows)
    {
        SCOPED_TRACE(r.name);
        Program p;
        ASSERT_NO_FATAL_FAILURE(Start(&p, r.kind, true));
        Output& out = *p.out;
        const Window box = ShownBox(&p, r.title);
        ASSERT_NE(box, Window(0));
        // In the top left corner, clear of the program's window and its box
        // in the middle of the screen; the box keeps the keyboard.
        OtherProgram other;
        ASSERT_TRUE(WaitFor(vztest::kHangSeconds, [&] { return Viewable(other.XWindow()); }));
        XMoveWindow(X(), other.XWindow(), 0, 0);
        XSync(X(), False);
        if (!WaitFor(1, [&] { return HasKeyboard(box); }))
        {
            ASSERT_TRUE(Activate(box)) << "the box did not get the keyboard back";
        }

        // The key, then the click, in one request batch.
        XWindowAttributes a = {};
        Window child = 0;
        int x = 0, y = 0;
        XGetWindowAttributes(X(), other.XWindow(), &a);
        XTranslateCoordinates(X(), other.XWindow(), DefaultRootWindow(X()), a.width / 2, a.height / 2, &x, &y,
                              &child);
        // The dialog from the file closes on its first button.
        if (!strcmp(r.kind, "interface"))
            Type(XK_Tab);
        const KeyCode ret = XKeysymToKeycode(X(), XK_Return);
        XTestFakeKeyEvent(X(), ret, True, CurrentTime);
        XTestFakeKeyEvent(X(), ret, False, CurrentTime);
        XTestFakeMotionEvent(X(), DefaultScreen(X()), x, y, CurrentTime);
        XTestFakeButtonEvent(X(), 1, True, CurrentTime);
        XTestFakeButtonEvent(X(), 1, False, CurrentTime);
        XSync(X(), False);
        ASSERT_NE(out.WaitForLine("CLOSED", vztest::kHangSeconds), "") << out.All(0);

        EXPECT_TRUE(out.Saw("ACTIVATED 0", vztest::kHangSeconds)) << out.All(0);
        // Whatever the program does after the box, it does within its 60
        // frames; the focus is looked at until then, and a while after.
        EXPECT_NE(out.WaitForLine("FRAMES ", vztest::kHangSeconds), "") << out.All(0);
        const bool taken = WaitFor(2, [&] { return !HasKeyboard(other.XWindow()) || HasKeyboard(p.window); });
        EXPECT_FALSE(taken) << "the program took the keyboard from the program clicked";
        const std::string all = out.All(0);
        EXPECT_EQ(all.rfind("\nACTIVATED "), all.rfind("\nACTIVATED 0\n"))
            << "the program is active: " << all;
        kill(p.pid, SIGTERM);
        EXPECT_EQ(p.End(300), 0) << out.All(0);
    }
}

} // namespace
