// Sleep and wake messages reaching the program.
#include <gtest/gtest.h>

#include <string>

#include "EngDebug.h"
#include "EngMainLoop.h"
#include "EngPower.h"
#include "EngProgram.h"
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

TEST_F(Power, NoSystemBusIsLoggedAsInformationNamingLogind)
{
    vztest::ScopedEnv bus("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + log_dir.File("no-bus")).c_str());
    EXPECT_EQ(EngPowerEventsRegisterForNotifications_LNX(), 0);
    EXPECT_FALSE(EngPowerEventsAreRegistered_LNX());
    const std::string log = vztest::ReadFile(LogPath());
    EXPECT_EQ(log.find(" <ERROR> "), std::string::npos) << log;
    EXPECT_NE(log.find("logind"), std::string::npos) << log;
    EXPECT_NE(log.find("system bus"), std::string::npos) << log;
}

} // namespace
