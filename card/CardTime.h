#pragma once

#include <ctime>
#include <string>

// The countdown's target and the clock and countdown texts.

// The countdown's target: local midnight at the start of 1 January of the
// NewYear setting's year, or of the New Year nearest to the frame shown.
extern time_t TargetTime;
// The time of the frame being drawn.
extern time_t CurrentTime;

// Local midnight at the start of 1 January of the year (daylight saving left
// to the C library); (time_t)-1 when the C library cannot represent it.
time_t NewYearMoment(long year);

// The New Year midnight nearest to now by the calendar: before 2 July the one
// that began now's year, from 2 July on the coming one.
time_t NearestNewYear(time_t now);

// The target the NewYear setting names at the moment now.
time_t CardTargetAt(time_t now);

// The target the NewYear setting names at time(NULL).
time_t CardTargetMoment();

// The countdown text (UTF-8) at the moment now: hours, minutes and seconds
// left until target, or passed since it from the target on; both name the
// target's year.
std::string CountdownTextAt(time_t target, time_t now);

// The clock text: asctime of the local time without its line feed.
std::string ClockTextAt(time_t now);
