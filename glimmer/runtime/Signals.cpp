#include "glimmer/runtime/Signals.h"

#include <csignal>
#include <ostream>

#include "glimmer/base/DebugLog.h"
#include "glimmer/base/Error.h"
#include "glimmer/base/Platform.h"

namespace {

// The number of the first stop request, 0 while none has come.
volatile std::sig_atomic_t StopSignal = 0;

// Only records the request: the frame loop ends the program on the main
// thread, where Error may shut SDL down. A second request means the loop did
// not get there; it then takes the signal's own way out.
extern "C" void OnStopSignal(int signal) {
    if (StopSignal != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    StopSignal = signal;
}

}  // namespace

void InstallStopSignals() {
    // Installed before SDL starts: SDL then keeps its own handlers out, which
    // would turn the request into a quit event that the loop discards.
    PlatformInstallStopHandler(OnStopSignal);
}

int StopRequested() { return StopSignal; }

void EndIfStopRequested() {
    if (StopSignal == 0) return;
    DebugLog << "INFO MESSAGE:\t" << "Stop requested by signal " << static_cast<int>(StopSignal) << std::endl;
    Error(ErrorCode::Exit);
}
