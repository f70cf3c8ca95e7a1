// The engine clock and the five main loops.
#include "EngMainLoop.h"

#include <cmath>
#include <ctime>

#include "EngDevice.h"
#include "EngDebug.h"
#include "EngProgram.h"

namespace
{
double MonotonicSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

void PlatformSleep(double seconds)
{
    if (seconds <= 0)
        return;
    timespec ts;
    ts.tv_sec = time_t(seconds);
    ts.tv_nsec = long((seconds - double(ts.tv_sec)) * 1e9);
    while (nanosleep(&ts, &ts) != 0)
    {
    }
}

char clock_started = 0;
double clock_start_second = 0;
} // namespace

double (*eng_main_raw_clock)() = MonotonicSeconds;
void (*eng_main_sleep_func)(double seconds) = PlatformSleep;

void EngMainResetClockForTests()
{
    clock_started = 0;
}

double EngMainGetCurrentTimeWithoutUpdatingGlobalCurrentTime()
{
    double now = eng_main_raw_clock();
    if (!clock_started)
    {
        clock_start_second = std::floor(now);
        clock_started = 1;
    }
    return now - clock_start_second;
}

double EngMainUpdateCurrentTime()
{
    eng_main_current_time = EngMainGetCurrentTimeWithoutUpdatingGlobalCurrentTime();
    return eng_main_current_time;
}

char EngProgram::DoMinimizedSleep(char for_tick, char for_render)
{
    if (!sleep_when_minimized || !window || !window->IsMinimized())
        return 0;
    if (minimized_sleep_cb)
        minimized_sleep_cb(for_tick, for_render, minimized_sleep_user_data);
    else
        eng_main_sleep_func(0.05);
    return 1;
}

void EngProgram::DoTick()
{
    if (exiting || sleeping || DoMinimizedSleep(1, 0))
        return;
    TickCB();
    if (post_tick_cb)
        post_tick_cb();
}

void EngProgram::DoRender()
{
    DoRender2();
}

void EngProgram::DoRender2()
{
    if (!eng_main_device || sleeping || exiting || DoMinimizedSleep(0, 1))
        return;
    RenderCB();
    if (eng_main_device)
        eng_main_device->SwapBuffers();
    FullLoopCalcFrameRate();
}

void EngProgram::DoTickAndRender()
{
    if (exiting || sleeping || DoMinimizedSleep(1, 1))
        return;
    if (TickCB())
        RenderCB();
    if (post_tick_cb)
        post_tick_cb();
    if (eng_main_device)
    {
        eng_main_device->SwapBuffers();
        FullLoopCalcFrameRate();
    }
}

void EngProgram::DoTickNoRender()
{
    if (exiting || sleeping || DoMinimizedSleep(1, 1))
        return;
    TickCB();
    if (post_tick_cb)
        post_tick_cb();
    FullLoopCalcFrameRate();
}

char EngProgram::GetEvents()
{
    if (exiting)
        return 0;
    return window ? window->GetWindowEvents() : 0;
}

void EngProgram::CollectEvents()
{
    if (!exiting && eng_main_window)
        eng_main_window->GetWindowEvents();
}

void EngProgram::RenderNeeded()
{
    if (main_loop_type == ENG_LOOP_RENDER_WHEN_NEEDED)
        render_needed = 1;
}

void EngProgram::FullLoopCalcFrameRate()
{
    if (main_loop_type != ENG_LOOP_FULL)
        return;
    if (last_frame_time == 0)
    {
        last_frame_time = eng_main_current_time;
        return;
    }
    float d = float(eng_main_current_time - last_frame_time);
    if (d == 0)
        return;
    float period = d;
    if (frame_time_averaging)
    {
        const float* r = recent_frame_periods;
        if (r[0] > 0)
            period = (r[0] + r[1] + r[2] + r[3] + d) / 5.0f;
        else if (r[1] > 0)
            period = (r[1] + r[2] + r[3] + d) / 4.0f;
        else if (r[2] > 0)
            period = (r[2] + r[3] + d) / 3.0f;
        else if (r[3] > 0)
            period = (r[3] + d) / 2.0f;
    }
    eng_main_frames_per_second = period;
    if (d > 0.0001f)
    {
        recent_frame_periods[0] = recent_frame_periods[1];
        recent_frame_periods[1] = recent_frame_periods[2];
        recent_frame_periods[2] = recent_frame_periods[3];
        recent_frame_periods[3] = period;
        last_frame_time = eng_main_current_time;
    }
    eng_main_frame_rate = period != 0 ? 1.0f / period : 1000.0f;
}

void EngProgram::ConstantFrameRateLoopSetConstantFrameRate(float rate)
{
    if (main_loop_type != ENG_LOOP_CONSTANT_FRAME_RATE && main_loop_type != ENG_LOOP_FULL_RENDER)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Constant frame rates not setup");
        return;
    }
    if (rate > 0)
        constant_frame_rate = rate;
    eng_main_frame_rate = constant_frame_rate;
    eng_main_frames_per_second = 1.0f / constant_frame_rate;
}

void EngProgram::FullLoopDoSleep()
{
    if (full_loop_tick_sleep)
        eng_main_sleep_func(full_loop_tick_sleep / 1e6);
}

void EngProgram::EventDrivenLoopSetupDoingActionsOnKeyAndMouseEvents(char do_tick, char do_render,
                                                                     char on_mouse_move)
{
    if (do_render && !do_tick)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "do_tick must be specified also");
        do_tick = 1;
    }
    event_do_tick = do_tick;
    event_do_render = do_render;
    event_timer_on_mouse_move = on_mouse_move;
}

void EngProgram::EventDrivenLoopDoTimerActionOnNextTick()
{
    if (main_loop_type == ENG_LOOP_EVENT_DRIVEN)
        timer_passes = 2;
}

void EngProgram::EventDrivenLoopDoTimerActionsForAWhile()
{
    if (main_loop_type == ENG_LOOP_EVENT_DRIVEN)
        timer_actions_until = eng_main_current_time + 10.0;
}

void EngProgram::EventDrivenLoopDoTimerActionNow(char is_mouse_move)
{
    if (main_loop_type == ENG_LOOP_EVENT_DRIVEN)
    {
        if (!is_mouse_move || event_timer_on_mouse_move)
            timer_passes = 1;
    }
    else if (main_loop_type == ENG_LOOP_CONSTANT_FRAME_RATE)
    {
        if (immediate_response_to_input)
            input_arrived = 1;
    }
}

void EngProgram::EventDrivenLoopDoSleep()
{
    if (main_loop_type == ENG_LOOP_EVENT_DRIVEN && event_tick_sleep)
        eng_main_sleep_func(event_tick_sleep / 1e6);
}

void EngProgram::RenderWhenNeededLoopSetTickSleepAmounts(int after_render_ms, int not_rendering_ms)
{
    rwn_sleep_after_render = (after_render_ms > 0 ? after_render_ms : 0) * 1000;
    rwn_sleep_not_rendering = (not_rendering_ms > 0 ? not_rendering_ms : 0) * 1000;
}

void EngProgram::RenderWhenNeededLoopDoSleep(char rendered)
{
    if (main_loop_type != ENG_LOOP_RENDER_WHEN_NEEDED || !event_tick_sleep)
        return;
    int us = rendered ? rwn_sleep_after_render : rwn_sleep_not_rendering;
    if (us > 0)
        eng_main_sleep_func(us / 1e6);
}

char EngProgram::RunMainLoop()
{
    if (main_loop_type < 0 || main_loop_type > ENG_LOOP_RENDER_WHEN_NEEDED)
        return 0;
    in_main_loop = 1;
    char r = 0;
    switch (main_loop_type)
    {
    case ENG_LOOP_CONSTANT_FRAME_RATE:
        r = RunConstantFrameRateLoop();
        break;
    case ENG_LOOP_FULL_RENDER:
        r = RunFullRenderLoop();
        break;
    case ENG_LOOP_EVENT_DRIVEN:
        r = RunEventDrivenLoop();
        break;
    case ENG_LOOP_FULL:
        r = RunFullLoop();
        break;
    default:
        r = RunRenderWhenNeededLoop();
        break;
    }
    in_main_loop = 0;
    return r;
}

char EngProgram::RunConstantFrameRateLoop()
{
    // The deadline the last pass slept to, or -1 when it did not end there.
    double slept_to = -1;
    do
    {
        if (!eng_main_program)
        {
            DebugInfo("Exiting as no eng_main_program.");
            exiting = 1;
            break;
        }
        double now = EngMainUpdateCurrentTime();
        // A pass that waited for its deadline is followed from that deadline,
        // so that the sleep's overshoot does not lengthen the period; a pass
        // that was late or cut short by input is followed from now, so that
        // nothing is caught up.
        double start = slept_to >= 0 ? slept_to : now;
        slept_to = -1;
        double deadline = start + 1.0 / constant_frame_rate;
        CollectEvents();
        if (!exiting)
        {
            if (eng_main_program)
                DoTick();
            if (eng_main_program)
                DoRender2();
        }

        EngMainUpdateCurrentTime();
        int waits = 0;
        char input_ended_wait = 0;
        if (immediate_response_to_input && input_arrived)
        {
            input_arrived = 0;
            input_ended_wait = 1;
        }
        const double step = long_tick_sleep ? 0.01 : 0.001;
        // Within a microsecond counts as reached.
        while (!input_ended_wait &&
               (deadline - eng_main_current_time > 1e-6 ||
                (minimum_sleep_amount > 0 && waits < minimum_sleep_amount)) &&
               !exiting)
        {
            // The last step sleeps only what is left of the frame.
            const double left = deadline - eng_main_current_time;
            eng_main_sleep_func(left > 1e-6 && left < step ? left : step);
            if (immediate_response_to_input && !exiting)
                CollectEvents();
            EngMainUpdateCurrentTime();
            waits++;
            if (immediate_response_to_input && input_arrived)
            {
                input_arrived = 0;
                input_ended_wait = 1;
            }
        }
        if (!input_ended_wait)
            input_arrived = 0;
        if (waits > 0 && !input_ended_wait && !exiting && eng_main_current_time - deadline < step)
            slept_to = deadline;

        if (adjust_frame_rate && eng_main_current_time >= next_adaptation)
        {
            int average = (waits + recent_waits[0] + recent_waits[1] + recent_waits[2]) / 4;
            recent_waits[0] = recent_waits[1];
            recent_waits[1] = recent_waits[2];
            recent_waits[2] = waits;
            if (average > 8)
            {
                if (constant_frame_rate < 240)
                    constant_frame_rate += 3;
            }
            else if (average >= 5)
            {
                if (constant_frame_rate < 120)
                    constant_frame_rate += 3;
            }
            else if (average <= 0)
            {
                if (constant_frame_rate > 60)
                    constant_frame_rate -= 3;
            }
            next_adaptation = eng_main_current_time + 0.1;
        }

        float frame = float(eng_main_current_time - start);
        eng_main_frames_per_second = frame;
        if (frame > 0)
            eng_main_frame_rate = 1.0f / frame;
    } while (!exiting);
    return 0;
}

char EngProgram::RunFullRenderLoop()
{
    double t = EngMainUpdateCurrentTime();
    do
    {
        if (!eng_main_program)
        {
            DebugInfo("Exiting as no eng_main_program. (FullRender)");
            exiting = 1;
            break;
        }
        EngMainUpdateCurrentTime();
        for (int i = 0; i < 10 && eng_main_current_time > t; i++)
        {
            if (eng_main_window)
                eng_main_window->GetWindowEvents();
            if (!exiting)
                DoTick();
            t += eng_main_frames_per_second;
            EngMainUpdateCurrentTime();
            if (exiting)
                break;
        }
        DoRender2();
        if (full_loop_tick_sleep)
            FullLoopDoSleep();
    } while (!exiting);
    return 0;
}

char EngProgram::RunEventDrivenLoop()
{
    double next_timer = 0;
    do
    {
        if (!eng_main_program)
        {
            DebugInfo("Exiting as no eng_main_program. (EventDriven)");
            exiting = 1;
            break;
        }
        EngMainUpdateCurrentTime();
        CollectEvents();
        char active = timer_passes != 0 || next_timer > eng_main_current_time ||
                      (timer_actions_until != 0 && timer_actions_until > eng_main_current_time);
        if (active)
        {
            eng_main_frame_rate = event_full_frame_rate;
            if (eng_main_frame_rate != 0)
                eng_main_frames_per_second = 1.0f / eng_main_frame_rate;
            double frame_end = eng_main_current_time + eng_main_frames_per_second;
            if (!exiting)
            {
                if (event_do_tick)
                    DoTick();
                if (event_do_render)
                    DoRender2();
            }
            if (timer_actions_until == 0)
            {
                while (eng_main_current_time < frame_end && !exiting)
                {
                    eng_main_sleep_func(0.001);
                    EngMainUpdateCurrentTime();
                }
            }
            if (timer_passes != 0)
                next_timer = eng_main_current_time + event_timer_period;
            if (timer_passes > 0)
                timer_passes--;
            if (timer_actions_until != 0 && eng_main_current_time >= timer_actions_until)
                timer_actions_until = 0;
        }
        else
        {
            if (!eng_main_program)
            {
                DebugInfo("Exiting as no eng_main_program. (EventDriven B)");
                exiting = 1;
                break;
            }
            if (event_tick_sleep)
                eng_main_sleep_func(event_tick_sleep / 1e6);
            if (event_sleeping_cb)
                event_sleeping_cb();
        }
    } while (!exiting);
    return 1;
}

char EngProgram::RunFullLoop()
{
    do
    {
        if (!eng_main_program)
        {
            DebugInfo("Exiting as no eng_main_program. (Full)");
            exiting = 1;
            break;
        }
        EngMainUpdateCurrentTime();
        CollectEvents();
        if (exiting)
            break;
        DoTickAndRender();
        if (full_loop_tick_sleep)
            FullLoopDoSleep();
    } while (!exiting);
    return 1;
}

char EngProgram::RunRenderWhenNeededLoop()
{
    do
    {
        if (!eng_main_program)
        {
            DebugInfo("Exiting as no eng_main_program. (RenderWhenNeeded)");
            exiting = 1;
            break;
        }
        EngMainUpdateCurrentTime();
        CollectEvents();
        if (render_needed)
        {
            render_needed = 0;
            eng_main_frame_rate = rwn_frame_rate;
            if (eng_main_frame_rate != 0)
                eng_main_frames_per_second = 1.0f / eng_main_frame_rate;
            if (exiting)
                break;
            DoTick();
            DoRender2();
            RenderWhenNeededLoopDoSleep(1);
        }
        else
        {
            if (!eng_main_program)
            {
                DebugInfo("Exiting as no eng_main_program. (RenderWhenNeeded B)");
                exiting = 1;
                break;
            }
            if (rwn_tick_when_not_rendering)
                DoTick();
            if (rwn_not_rendering_cb)
                rwn_not_rendering_cb();
            RenderWhenNeededLoopDoSleep(0);
        }
    } while (!exiting);
    return 1;
}
