// A second program, built on the engine's libraries with no main() of its own,
// starts and ends as the engine's main() says: a quiet stop in InitCB ends with
// status 0, a failure with -1 and the log-file box, a good start opens the
// window, runs the loop and saves before the device goes; installed, it
// takes the resources folder of its own name.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

extern char** environ;

namespace
{

struct ProgramRun
{
    int status = -2; // exit status; -2 when it did not exit normally
    std::string calls, popups, resources, output;
};

// Starts the program (path, in the folder cwd when given), reads what it
// prints until it ends.
ProgramRun RunSecondProgram(const std::string& mode, const std::string& log,
                            std::string path = VZ_SECOND_PROGRAM, const std::string& cwd = "")
{
    ProgramRun run;
    int fds[2];
    if (pipe(fds) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    if (!cwd.empty())
        posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    char* argv[] = {&path[0], const_cast<char*>(mode.c_str()), const_cast<char*>(log.c_str()), nullptr};
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0)
    {
        close(fds[0]);
        ADD_FAILURE() << "could not start " << path << ": " << strerror(rc);
        return run;
    }
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof(buf))) != 0)
        if (n > 0)
            run.output.append(buf, size_t(n));
        else if (errno != EINTR)
            break;
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    if (WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);)
    {
        if (line.rfind("RESOURCES ", 0) == 0)
            run.resources = line.substr(10);
        std::string& list = line.rfind("CALL ", 0) == 0 ? run.calls : run.popups;
        if (line.rfind("CALL ", 0) == 0 || line.rfind("POPUP ", 0) == 0)
            list += (list.empty() ? "" : ", ") + line.substr(line.find(' ') + 1);
    }
    return run;
}

TEST(SecondProgram, StartsAndEndsAsTheEnginesMainSays)
{
    struct Case
    {
        const char* mode;
        int status;
        const char* calls;
        const char* popups;
        const char* logged; // a line the run must log, or null
    } cases[] = {
        {"quiet", 0, "InitCB, ExitCB", "", nullptr},
        {"fail", 255, "InitCB, ExitCB", "Error Running Program", "Init returned 0,  Exit -1."},
        {"run", 0,
         "InitCB, PreCreateWindowCB, PreDeviceInitCB, CreateGraphicsObjectsCB, PostDeviceInitCB, TickCB x3, "
         "PreDeviceExitCB, ExitCB",
         "", nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.mode);
        vztest::TempDir dir;
        ProgramRun run = RunSecondProgram(c.mode, dir.File("log.txt"));
        EXPECT_EQ(run.status, c.status) << run.output;
        EXPECT_EQ(run.calls, c.calls) << run.output;
        EXPECT_EQ(run.popups, c.popups) << run.output;
        if (c.logged)
            EXPECT_NE(run.output.find(c.logged), std::string::npos) << run.output;
        else
            EXPECT_EQ(run.output.find("<ERROR>"), std::string::npos) << run.output;
    }
}

// Installed under a prefix, a program on the engine takes the resources
// folder of its own name, "<prefix>/share/<name>/Resources", not the game's;
// one beside the program (a build tree) comes first.
TEST(SecondProgram, TakesTheResourcesFolderOfItsOwnName)
{
    const struct
    {
        const char* name;
        std::vector<std::string> folders; // made under the prefix
        const char* found;                // under the prefix; null: none, the start fails
    } cases[] = {
        {"otherprog", {"share/otherprog/Resources", "share/vizavu/Resources"}, "share/otherprog/Resources"},
        {"otherprog", {"share/vizavu/Resources"}, nullptr},
        {"vizavu", {"share/otherprog/Resources", "share/vizavu/Resources"}, "share/vizavu/Resources"},
        {"otherprog", {"bin/Resources", "share/otherprog/Resources"}, "bin/Resources"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.name) + " with " + c.folders[0]);
        vztest::TempDir prefix;
        std::filesystem::create_directories(prefix.File("bin"));
        for (const std::string& f : c.folders)
            std::filesystem::create_directories(prefix.File(f));
        const std::string exe = prefix.File("bin/") + c.name;
        if (link(VZ_SECOND_PROGRAM, exe.c_str()) != 0)
        {
            ASSERT_TRUE(std::filesystem::copy_file(VZ_SECOND_PROGRAM, exe)) << exe;
        }
        // Run from a folder without "Resources", the last place looked at.
        ProgramRun run = RunSecondProgram("quiet", prefix.File("log.txt"), exe, prefix.Path());
        if (c.found)
        {
            EXPECT_EQ(run.status, 0) << run.output;
            EXPECT_EQ(run.resources, std::filesystem::canonical(prefix.File(c.found)).string()) << run.output;
        }
        else
        {
            EXPECT_EQ(run.status, 255) << run.output;
            EXPECT_EQ(run.popups, "Error") << run.output;
            EXPECT_NE(run.output.find("Could not get resources path"), std::string::npos) << run.output;
        }
    }
}

} // namespace
