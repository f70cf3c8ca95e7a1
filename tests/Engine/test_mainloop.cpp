// The main loops against a virtual clock and a scripted event source. The
// real-time figures are bench/mainloop's.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "EngDevice.h"
#include "EngDebug.h"
#include "EngMainLoop.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "support/TestSupport.h"

namespace
{

double virtual_now;
// How much longer than asked each sleep lasts, as a real sleep does.
double sleep_overshoot;
std::vector<double> sleeps;
std::function<void(EngWindow*)> script;
int event_calls;

double VirtualClock()
{
    return virtual_now;
}

void VirtualSleep(double s)
{
    sleeps.push_back(s);
    virtual_now += s + sleep_overshoot;
}

char ScriptedEvents(EngWindow* w)
{
    event_calls++;
    if (script)
        script(w);
    return 0;
}

class LoopProgram : public EngProgram
{
public:
    char TickCB() override
    {
        ticks++;
        trace += "T";
        if (on_tick)
            on_tick(ticks);
        if (ticks >= stop_after)
            SetExitingFlag();
        return 1;
    }
    void RenderCB() override
    {
        trace += "R";
        virtual_now += render_cost;
    }
    char InputCB(_EngDesktopInputType type, EngInputParm1, EngInputParm2) override
    {
        if (type == ENG_INPUT_MOUSE_MOVE)
            trace += "M";
        return 0;
    }
    int ticks = 0;
    int stop_after = 3;
    double render_cost = 0;
    std::string trace;
    std::function<void(int)> on_tick;
};

class Loop : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        saved_clock = eng_main_raw_clock;
        saved_sleep = eng_main_sleep_func;
        virtual_now = 100.0;
        sleep_overshoot = 0;
        sleeps.clear();
        script = nullptr;
        event_calls = 0;
        eng_main_raw_clock = VirtualClock;
        eng_main_sleep_func = VirtualSleep;
        EngMainResetClockForTests();
        eng_window_event_source = ScriptedEvents;
        eng_main_window = &window;
    }
    void TearDown() override
    {
        eng_main_window = nullptr;
        eng_window_event_source = nullptr;
        eng_main_device = nullptr;
        eng_main_raw_clock = saved_clock;
        eng_main_sleep_func = saved_sleep;
        EngMainResetClockForTests();
        LogTest::TearDown();
    }
    double (*saved_clock)();
    void (*saved_sleep)(double);
    LoopProgram program;
    EngWindow window{&program, "loop"};
};

TEST_F(Loop, ClockStartsWithinTheFirstSecondAndCountsOn)
{
    virtual_now = 250.75;
    EngMainResetClockForTests();
    EXPECT_DOUBLE_EQ(EngMainUpdateCurrentTime(), 0.75);
    virtual_now = 252.5;
    EXPECT_DOUBLE_EQ(EngMainUpdateCurrentTime(), 2.5);
    EXPECT_DOUBLE_EQ(eng_main_current_time, 2.5);
}

TEST_F(Loop, PassesWaitForTheDeadlineUnlessLate)
{
    struct Case
    {
        const char* name;
        double tick_cost;
        int min_sleep;
        size_t sleeps_per_pass_min, sleeps_per_pass_max;
    };
    const Case cases[] = {
        {"on time", 0.005, 0, 11, 12},
        {"late", 0.030, 0, 0, 0},
        {"late with minimum", 0.030, 3, 3, 3},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LoopProgram p;
        EngWindow w(&p, "w");
        eng_main_window = &w;
        sleeps.clear();
        std::vector<size_t> at_tick;
        p.ConstantFrameRateLoopSetMinimumSleepAmount(c.min_sleep);
        p.stop_after = 4;
        p.on_tick = [&](int)
        {
            at_tick.push_back(sleeps.size());
            virtual_now += c.tick_cost;
        };
        p.RunMainLoop();
        ASSERT_EQ(at_tick.size(), 4u);
        for (size_t i = 1; i < at_tick.size(); i++)
        {
            size_t n = at_tick[i] - at_tick[i - 1];
            EXPECT_GE(n, c.sleeps_per_pass_min);
            EXPECT_LE(n, c.sleeps_per_pass_max);
        }
        eng_main_window = nullptr;
    }
}

TEST_F(Loop, OnTimePassesKeepTheFramePeriodWithoutCatchingUp)
{
    const double period = 1.0 / 60.0;
    struct Case
    {
        const char* name;
        double overshoot;
        int late_pass; // this pass's tick takes 40 ms (0: none)
    };
    const Case cases[] = {
        {"exact sleeps", 0, 0},
        {"sleeps overshoot 0.1 ms", 0.0001, 0},
        {"sleeps overshoot 0.6 ms", 0.0006, 0},
        {"one late pass", 0.0001, 10},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LoopProgram p;
        EngWindow w(&p, "w");
        eng_main_window = &w;
        sleeps.clear();
        sleep_overshoot = c.overshoot;
        std::vector<double> starts;
        p.stop_after = 40;
        p.on_tick = [&](int tick)
        {
            starts.push_back(virtual_now);
            virtual_now += 0.003;
            if (tick == c.late_pass)
                virtual_now += 0.040;
        };
        p.RunMainLoop();
        ASSERT_EQ(starts.size(), 40u);
        for (double s : sleeps)
            EXPECT_LE(s, 0.001 + 1e-12);
        double on_time_sum = 0;
        int on_time = 0;
        for (size_t i = 1; i < starts.size(); i++)
        {
            const double d = starts[i] - starts[i - 1];
            if (int(i) == c.late_pass)
                continue;
            // No pass is cut short to make up for an earlier one.
            EXPECT_GE(d, period - 0.0011) << "pass " << i;
            // The first pass follows no deadline: its sleep's overshoot stays.
            if (i == 1)
                continue;
            on_time_sum += d;
            on_time++;
        }
        EXPECT_NEAR(on_time_sum / on_time, period, 1e-5);
        eng_main_window = nullptr;
    }
}

TEST_F(Loop, InputDuringTheWaitEndsItAndStartsTheNextPass)
{
    double input_at = -1;
    program.stop_after = 2;
    std::vector<double> tick_times;
    program.on_tick = [&](int) { tick_times.push_back(virtual_now); };
    script = [&](EngWindow* w)
    {
        if (input_at < 0 && program.ticks == 1 && virtual_now >= tick_times[0] + 0.004)
        {
            input_at = virtual_now;
            w->MsgsMouseMove(10, 20);
        }
    };
    program.RunMainLoop();
    ASSERT_EQ(tick_times.size(), 2u);
    EXPECT_EQ(program.trace, "TMT");
    // The second pass began right after the input, not at the deadline.
    EXPECT_NEAR(tick_times[1], input_at, 1e-9);
    EXPECT_LT(tick_times[1] - tick_times[0], 1.0 / 60.0 - 0.005);
}

TEST_F(Loop, WithoutImmediateResponseEventsAreTakenOncePerPass)
{
    program.ConstantFrameRateLoopImmediateResponseToInput(0);
    program.stop_after = 5;
    program.RunMainLoop();
    EXPECT_EQ(event_calls, 5);
    EXPECT_GT(sleeps.size(), 40u);
}

TEST_F(Loop, MeasuredFrameIsPublished)
{
    program.stop_after = 2;
    program.on_tick = [](int) { virtual_now += 0.025; };
    program.RunMainLoop();
    EXPECT_NEAR(eng_main_frames_per_second, 0.025, 1e-6);
    EXPECT_NEAR(eng_main_frame_rate, 40.0, 1e-3);
}

TEST_F(Loop, FullRenderCatchesUpAtMostTenTicksPerRender)
{
    EngDevice device(nullptr);
    eng_main_device = &device;
    program.SetMainLoopType(ENG_LOOP_FULL_RENDER);
    program.render_cost = 0.002;
    program.stop_after = 40;
    program.on_tick = [](int tick)
    {
        virtual_now += 0.001;
        if (tick == 3)
            virtual_now += 1.0; // a stall of one second
    };
    program.RunMainLoop();
    size_t longest = 0, run = 0;
    for (char c : program.trace)
    {
        run = c == 'T' ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    EXPECT_EQ(longest, 10u) << program.trace;
    EXPECT_NE(program.trace.find("R"), std::string::npos);
}

// Runs p's loop until seconds of the virtual clock have passed, each tick
// taking tick_cost; gives the number of passes.
int RunFor(LoopProgram& p, double seconds, double tick_cost)
{
    const double end = virtual_now + seconds;
    p.stop_after = 1 << 30;
    p.on_tick = [&p, end, tick_cost](int)
    {
        virtual_now += tick_cost;
        if (virtual_now >= end)
            p.SetExitingFlag();
    };
    p.RunMainLoop();
    return p.ticks;
}

TEST_F(Loop, PassesASecondFollowTheFrameRate)
{
    struct Case
    {
        const char* name;
        float rate; // 0: the default
        double overshoot;
        int passes; // in 2 s
    };
    const Case cases[] = {
        {"default", 0, 0, 120},
        {"default, sleeps overshoot 0.3 ms", 0, 0.0003, 120},
        {"30 a second", 30, 0.0003, 60},
        {"100 a second", 100, 0.0003, 200},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LoopProgram p;
        EngWindow w(&p, "w");
        eng_main_window = &w;
        if (c.rate > 0)
            p.ConstantFrameRateLoopSetConstantFrameRate(c.rate);
        sleep_overshoot = c.overshoot;
        EXPECT_NEAR(RunFor(p, 2.0, 0.002), c.passes, 1);
        eng_main_window = nullptr;
    }
}

TEST_F(Loop, FrameRateAdaptsToTheWaitsOfEachPass)
{
    struct Case
    {
        const char* name;
        float start;
        double tick_cost;
        int min_sleep;
        float rate; // after 10 s
    };
    const Case cases[] = {
        // Nine or more waits of 1 ms raise the rate by 3, five to eight up to 120.
        {"time to spare", 60, 0.001, 0, 120},
        {"at least ten waits a pass", 60, 0.001, 10, 240},
        {"one to four waits a pass", 90, 0.008, 0, 90},
        {"no time to spare", 90, 0.020, 0, 60},
        {"no time to spare at 60", 60, 0.020, 0, 60},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LoopProgram p;
        EngWindow w(&p, "w");
        eng_main_window = &w;
        p.ConstantFrameRateLoopAdjustFrameRateForHighPerformanceWithoutHogging();
        p.ConstantFrameRateLoopSetConstantFrameRate(c.start);
        p.ConstantFrameRateLoopSetMinimumSleepAmount(c.min_sleep);
        RunFor(p, 10.0, c.tick_cost);
        EXPECT_EQ(p.GetConstantFrameRate(), c.rate);
        eng_main_window = nullptr;
    }
}

TEST_F(Loop, FullLoopAveragesTheFramePeriodOverFiveFrames)
{
    // Frames of 10 and 30 ms in turn. Averaged, each period is the mean of
    // this frame and up to four earlier periods (themselves averaged).
    struct Case
    {
        char averaging;
        int frames;
        double period;
    };
    const Case cases[] = {
        {0, 6, 0.030},     // the last frame alone
        {1, 1, 0.010},     // nothing earlier
        {1, 2, 0.020},     // (10 + 30) / 2
        {1, 3, 0.040 / 3}, // (10 + 20 + 10) / 3
        {1, 4, 0.055 / 3}, // (10 + 20 + 13.33 + 30) / 4
        {1, 5, 0.043 / 3}, // (10 + 20 + 13.33 + 18.33 + 10) / 5
        {1, 6, 0.0192},    // (20 + 13.33 + 18.33 + 14.33 + 30) / 5: the oldest has gone
    };
    EngDevice device(nullptr);
    eng_main_device = &device;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "averaging " << int(c.averaging) << ", " << c.frames << " frames");
        virtual_now = 100.5;
        EngMainResetClockForTests();
        LoopProgram p;
        EngWindow w(&p, "w");
        eng_main_window = &w;
        p.SetMainLoopType(ENG_LOOP_FULL);
        p.SetFrameTimeAveraging(c.averaging);
        // The first pass starts the count; each pass's frame ends at the next.
        p.stop_after = c.frames + 1;
        p.on_tick = [](int tick) { virtual_now += tick % 2 ? 0.010 : 0.030; };
        p.RunMainLoop();
        EXPECT_NEAR(eng_main_frames_per_second, c.period, 1e-6);
        EXPECT_NEAR(eng_main_frame_rate, 1 / c.period, 1e-2);
        eng_main_window = nullptr;
    }
}

} // namespace
