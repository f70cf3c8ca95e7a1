// Termination requests (SIGINT, SIGTERM) for the program's own quit paths.
#pragma once

// Installs the handlers and keeps SDL from installing its own; call before
// SDL starts. A second request while the first is pending ends the process
// at once, as if no handler were installed.
void EngSignalsInstall_LNX();
// 1 once a termination request has arrived.
char EngSignalsTerminationRequested_LNX();
// Becomes readable when a request arrives; -1 before EngSignalsInstall_LNX.
int EngSignalsWakeFd_LNX();
