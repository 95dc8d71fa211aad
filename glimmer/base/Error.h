#pragma once

// The only orderly way out of the engine: writes the code's message line to the
// trace (and, for codes other than 0, to standard error), stops the timer,
// closes the file system, shuts SDL down and exits. Exit status: 0 for code 0,
// the code itself for 1 to 10, 1 for any other code.
[[noreturn]] void Error(int code);

// The message line Error writes for a code, without the leading
// "INFO MESSAGE:\t"; empty for codes without a message.
const char* ErrorMessageText(int code);

// True while the frame loop is inside SDL's event polling, where SDL may call
// the event filters (and so Error) with its event locks held.
extern bool InsideEventPolling;
