#pragma once

#include <ctime>
#include <string>

// The countdown's target and the clock and countdown texts.

// The countdown's target: local midnight at the start of 1 January 2004.
extern time_t TargetTime;
// The time of the frame being drawn.
extern time_t CurrentTime;

// Local midnight at the start of 1 January 2004 (daylight saving left to the
// C library).
time_t CardTargetMoment();

// The countdown text (UTF-8) at the moment now: hours, minutes and seconds
// left until target, or passed since it from the target on.
std::string CountdownTextAt(time_t target, time_t now);

// The clock text: asctime of the local time without its line feed.
std::string ClockTextAt(time_t now);
