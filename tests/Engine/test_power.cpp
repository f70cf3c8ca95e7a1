// Sleep and wake messages reaching the program.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "EngDebug.h"
#include "EngMainLoop.h"
#include "EngPower.h"
#include "EngProgram.h"
#include "Engine/FakeSystemBus.h"
#include "support/TestSupport.h"

namespace
{

class SleepRecorder : public EngProgram
{
public:
    void ComputerSleepingCB(char s) override { calls += s ? "sleep " : "wake "; }
    std::string calls;
};

class Power : public vztest::LogTest
{
};

using Clock = std::chrono::steady_clock;

// A program whose start stops quietly once the power registration is done.
class StoppingProgram : public EngProgram
{
public:
    char PreCreateWindowCB(_EngCreateWindowParms*) override { return -1; }
};

const char* const kNoBusLine = "Sleep and wake are not followed: no system bus for logind (";

TEST_F(Power, SleepAndWakeReachTheProgramOnceEach)
{
    void (*saved)(double) = eng_main_sleep_func;
    eng_main_sleep_func = [](double) {};
    SleepRecorder program;
    EngPowerEventsSetRegisteredForTests(1);

    EngPowerEventsCB_LNX(ENG_POWER_CAN_SYSTEM_SLEEP);
    EngPowerEventsCB_LNX(ENG_POWER_SYSTEM_WILL_SLEEP);
    EngPowerEventsCB_LNX(ENG_POWER_SYSTEM_WILL_SLEEP);
    EXPECT_EQ(program.calls, "sleep ");
    EXPECT_TRUE(program.IsComputerSleeping());
    EXPECT_EQ(vztest::LogCount("System already sleeping."), 1);

    EngPowerEventsCB_LNX(ENG_POWER_SYSTEM_HAS_POWERED_ON);
    EngPowerEventsCB_LNX(ENG_POWER_SYSTEM_HAS_POWERED_ON);
    EXPECT_EQ(program.calls, "sleep wake ");
    EXPECT_FALSE(program.IsComputerSleeping());
    EXPECT_EQ(vztest::LogCount("System is not sleeping."), 1);

    EngPowerEventsSetRegisteredForTests(0);
    EngPowerEventsCB_LNX(ENG_POWER_SYSTEM_WILL_SLEEP);
    EXPECT_EQ(program.calls, "sleep wake ");
    EXPECT_EQ(vztest::LogCount("Not registered for notifications!"), 1);
    eng_main_sleep_func = saved;
}

// Every test that meets a bus does so in a child process of its own: GIO
// leaves threads behind (GLib's worker, GDBus's), and a fork while one of
// them holds a lock gives a child that waits on it for ever.
TEST_F(Power, NoSystemBusIsLoggedAsInformationNamingLogind)
{
    const std::string report = vztest::RunInChild(
        [&]() -> std::string
        {
            vztest::ScopedEnv bus("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + log_dir.File("no-bus")).c_str());
            const int r = EngPowerEventsRegisterForNotifications_LNX();
            return "result " + std::to_string(r) + ", registered " +
                   std::to_string(EngPowerEventsAreRegistered_LNX());
        });
    EXPECT_EQ(report, "result 0, registered 0");
    const std::string log = vztest::ReadFile(LogPath());
    EXPECT_EQ(log.find(" <ERROR> "), std::string::npos) << log;
    EXPECT_NE(log.find("logind"), std::string::npos) << log;
    EXPECT_NE(log.find("system bus"), std::string::npos) << log;
}

TEST_F(Power, ABusThatDoesNotAnswerDoesNotHoldUpTheStart)
{
    struct Case
    {
        const char* name;
        bool bus;
        vztest::FakeSystemBus::Answers answers;
    } cases[] = {
        {"no bus", false, vztest::FakeSystemBus::kNothing},
        {"takes the connection, says nothing", true, vztest::FakeSystemBus::kNothing},
        {"authenticates, then says nothing", true, vztest::FakeSystemBus::kAuthOnly},
        {"answers Hello, not the match rule", true, vztest::FakeSystemBus::kUpToHello},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string socket = log_dir.File("bus");
        const Clock::time_point start = Clock::now();
        std::string report = vztest::RunInChild(
            [&]() -> std::string
            {
                std::unique_ptr<vztest::FakeSystemBus> bus;
                if (c.bus)
                {
                    bus = std::make_unique<vztest::FakeSystemBus>(socket, c.answers);
                    if (!bus->Error().empty())
                        return bus->Error();
                }
                vztest::ScopedEnv address("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + socket).c_str());
                StoppingProgram program;
                _EngCreateWindowParms parms = {};
                const int r = program.CreateMainWindowAndDevice("Power", nullptr, &parms);
                return "result " + std::to_string(r) + ", registered " +
                       std::to_string(EngPowerEventsAreRegistered_LNX()) + ", no-bus line " +
                       std::to_string(vztest::LogCount(kNoBusLine)) + ", errors " +
                       std::to_string(vztest::LogCount("<ERROR>"));
            });
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        EXPECT_EQ(report, "result -1, registered 0, no-bus line 1, errors 0");
        // A generous bound: the registration gives up after about 2 s.
        EXPECT_LT(took, 15.0);
    }
}

TEST_F(Power, SleepAndWakeArriveFromABusThatAnswers)
{
    const std::string socket = log_dir.File("bus");
    std::string report = vztest::RunInChild(
        [&]() -> std::string
        {
            eng_main_sleep_func = [](double) {};
            vztest::FakeSystemBus bus(socket, vztest::FakeSystemBus::kLogind);
            if (!bus.Error().empty())
                return bus.Error();
            vztest::ScopedEnv address("DBUS_SYSTEM_BUS_ADDRESS", bus.Address().c_str());
            SleepRecorder program;
            if (!EngPowerEventsRegisterForNotifications_LNX())
                return "not registered";
            // The main loop's passes deliver the signals; the bus hangs up after
            // them, and passes after that leave the program running.
            const Clock::time_point start = Clock::now();
            while (program.calls != "sleep wake " && Clock::now() - start < std::chrono::seconds(20))
            {
                EngPowerEventsPoll_LNX();
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            for (int i = 0; i < 100; i++)
            {
                EngPowerEventsPoll_LNX();
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            std::string r = program.calls + "| already sleeping " +
                            std::to_string(vztest::LogCount("System already sleeping.")) + ", registered " +
                            std::to_string(EngPowerEventsAreRegistered_LNX());
            EngPowerEventsDeregisterNotifications_LNX();
            return r + ", errors " + std::to_string(vztest::LogCount("<ERROR>"));
        });
    // The sleep signal addressed to the program alone by another sender is not
    // the login manager's, and is not followed.
    EXPECT_EQ(report, "sleep wake | already sleeping 0, registered 1, errors 0");
}

} // namespace
