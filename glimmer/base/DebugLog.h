#pragma once

#include <ostream>

// The engine's in-memory trace: 2048 characters, then every further insertion
// is silently dropped. Built on first use by any translation unit that
// includes this header, so globals whose constructors trace may rely on it.
extern std::ostream& DebugLog;

// What the trace buffer holds so far (zero-terminated).
const char* DebugLogText();

// Empties the trace buffer and clears the stream's failure state (tools, tests).
void DebugLogReset();

constexpr unsigned int DebugLogCapacity = 2048;

class DebugLogInit {
public:
    DebugLogInit();
};
static DebugLogInit debugLogInitOfThisUnit;
