#pragma once

// The codes Error ends the program with, each with its message line.
namespace ErrorCode {
enum : int {
    Exit = 0,              // "Exited normally": the normal end
    SdlFailed = 1,         // "SDL error:" and SDL's own message
    NoMemory = 2,          // "Not enought memory"
    NoDescriptor = 3,      // "No free descriptors left"
    NoSprite = 4,          // "Can`t find sprite:" and the file that is missing
    TtfInitFailed = 5,     // "Can`t init TTF engine:" and SDL's message
    FontLoadFailed = 6,    // "Can`t load font:" and SDL's message
    TextRenderFailed = 7,  // "Can`t render text:" and SDL's message
    SpriteLoadFailed = 8,  // "Error while loading sprite:" and SDL's message
    FileSystemFailed = 9,  // "Error while loading file system from" the configured root
    NoConfigFile = 10,     // "Can`t find config file."
};
}  // namespace ErrorCode

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
