// The constant-frame-rate main loop run for real for 10 s, with the game's
// tick and render replaced by a fixed render cost (busy CPU, 2 ms unless given
// in ms as the first argument). Prints the frame period's mean, p50, p99 and
// maximum, the shortest period (a catch-up burst would show there) and the
// CPU seconds used.
// Usage: bench/bench_mainloop [render ms] [seconds]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "EngDevice.h"
#include "EngProgram.h"
#include "EngWindow.h"

namespace
{

double Seconds(clockid_t clock)
{
    timespec ts;
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

class BenchProgram : public EngProgram
{
public:
    char TickCB() override
    {
        const double now = Seconds(CLOCK_MONOTONIC);
        starts.push_back(now);
        if (now - starts.front() >= run_seconds)
            SetExitingFlag();
        return 1;
    }
    void RenderCB() override
    {
        const double until = Seconds(CLOCK_MONOTONIC) + render_seconds;
        while (Seconds(CLOCK_MONOTONIC) < until)
        {
        }
    }
    double render_seconds = 0.002;
    double run_seconds = 10;
    std::vector<double> starts;
};

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    size_t i = size_t(p * double(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

} // namespace

int main(int argc, char** argv)
{
    BenchProgram program;
    if (argc > 1)
        program.render_seconds = atof(argv[1]) / 1000.0;
    if (argc > 2)
        program.run_seconds = atof(argv[2]);
    program.starts.reserve(size_t(program.run_seconds * 70) + 16);

    // A window without a platform window: events are asked for as in the
    // game, none arrive. A device object that was never created lets the
    // loop call RenderCB; its swap does nothing.
    EngWindow window(&program, "bench");
    eng_main_window = &window;
    EngDevice device(nullptr);
    eng_main_device = &device;

    const double cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    program.RunMainLoop();
    const double cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    eng_main_device = nullptr;
    eng_main_window = nullptr;

    std::vector<double> periods;
    for (size_t i = 1; i < program.starts.size(); i++)
        periods.push_back((program.starts[i] - program.starts[i - 1]) * 1000.0);
    if (periods.empty())
    {
        printf("no frames\n");
        return 1;
    }
    double sum = 0;
    for (double p : periods)
        sum += p;
    const double wall = program.starts.back() - program.starts.front();
    printf("render cost        %8.3f ms\n", program.render_seconds * 1000.0);
    printf("frames             %8zu in %.2f s (%.2f per second)\n", periods.size(), wall,
           double(periods.size()) / wall);
    printf("period mean        %8.3f ms (1/60 s = 16.667 ms)\n", sum / double(periods.size()));
    printf("period p50         %8.3f ms\n", Percentile(periods, 0.50));
    printf("period p99         %8.3f ms\n", Percentile(periods, 0.99));
    printf("period max         %8.3f ms\n", *std::max_element(periods.begin(), periods.end()));
    printf("period min         %8.3f ms\n", *std::min_element(periods.begin(), periods.end()));
    printf("CPU                %8.3f s (%.1f%% of one core; render stub %.1f%%)\n", cpu, 100.0 * cpu / wall,
           100.0 * program.render_seconds * double(periods.size()) / wall);
    return 0;
}
