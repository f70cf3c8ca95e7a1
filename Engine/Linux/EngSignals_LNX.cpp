// Termination requests: SIGINT and SIGTERM set a flag and wake a pipe, which
// the main loop and the native dialogs watch.
#include "Linux/EngSignals_LNX.h"

#include <SDL2/SDL.h>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{
volatile sig_atomic_t requested = 0;
int wake_pipe[2] = {-1, -1};

void OnTerminationSignal(int sig)
{
    if (requested)
    {
        // Asked again: the program is stuck, end it the ordinary way.
        signal(sig, SIG_DFL);
        raise(sig);
        return;
    }
    requested = 1;
    if (wake_pipe[1] >= 0)
    {
        const char byte = 1;
        ssize_t ignored = write(wake_pipe[1], &byte, 1);
        (void)ignored;
    }
}
} // namespace

void EngSignalsInstall_LNX()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (wake_pipe[0] < 0 && pipe2(wake_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        wake_pipe[0] = wake_pipe[1] = -1;
    struct sigaction sa = {};
    sa.sa_handler = OnTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

char EngSignalsTerminationRequested_LNX()
{
    return requested ? 1 : 0;
}

int EngSignalsWakeFd_LNX()
{
    return wake_pipe[0];
}
