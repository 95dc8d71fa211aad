#pragma once

// SIGINT and SIGTERM only record a request to stop; the frame loop then ends
// the program through Error(0) on the main thread. GlimmerInitEngine installs
// the handlers before SDL starts. A second request while the first waits
// ends the process at once, by the signal's default action.
void InstallStopSignals();
// The signal number of the pending request, 0 when none came.
int StopRequested();
// Error(0) when a request came; returns otherwise.
void EndIfStopRequested();
