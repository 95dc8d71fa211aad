#include "card/CardTime.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include "card/CardSettings.h"

time_t TargetTime = 0;
time_t CurrentTime = 0;

namespace {

const char* const BeforeTarget = "До Нового, %lld, года осталось %llu часов %u минут %u секунд";
const char* const SinceTarget = "С Начала , %lld, года прошло %llu часов %u минут %u секунд";

// Days from 1 January 1970 to the given date of the proleptic Gregorian
// calendar, counted in 400-year eras so that any year works.
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The year of the date that many days after 1 January 1970.
long long YearOfDays(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    return yearOfEra + era * 400 + (monthIndex >= 10 ? 1 : 0);
}

long long FloorDiv(long long a, long long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

// Local midnight of 1 January as the C library computes it, or -1.
time_t LibraryNewYear(long year) {
    if (year < INT_MIN + 1900L || year > INT_MAX) return static_cast<time_t>(-1);
    struct tm start = {};
    start.tm_year = static_cast<int>(year - 1900);
    start.tm_mday = 1;
    start.tm_isdst = -1;
    return std::mktime(&start);
}

// The year whose New Year the moment is: mktime may move a midnight that the
// zone skips into the evening before. Where the C library has no local time
// for the moment (Windows' ends with the year 3000), the calendar tells:
// every zone's midnight lies within 14 hours of Greenwich's.
long long NewYearOf(time_t target) {
    struct tm local;
    if (localtime_r(&target, &local)) return 1900LL + local.tm_year + (local.tm_mon == 11 ? 1 : 0);
    return YearOfDays(FloorDiv(static_cast<long long>(target) + 14 * 3600, 86400));
}

}  // namespace

time_t NewYearMoment(long year) {
    const time_t library = LibraryNewYear(year);
    if (library != static_cast<time_t>(-1) || year < -1000000000L || year > 1000000000L) return library;
    // Beyond the C library's range the zone keeps the offset it has at the
    // New Year of the nearest year the library can still compute.
    for (long proxy : {3000L, 2100L, 2037L, 1971L}) {
        const time_t near = LibraryNewYear(proxy);
        if (near == static_cast<time_t>(-1)) continue;
        const long long offset = static_cast<long long>(near) - DaysFromCivil(proxy, 1, 1) * 86400;
        return static_cast<time_t>(DaysFromCivil(year, 1, 1) * 86400 + offset);
    }
    return static_cast<time_t>(-1);
}

time_t NearestNewYear(time_t now) {
    struct tm local;
    if (!localtime_r(&now, &local)) return static_cast<time_t>(-1);
    const long year = 1900L + local.tm_year;
    const bool secondHalf = local.tm_mon > 6 || (local.tm_mon == 6 && local.tm_mday >= 2);
    if (secondHalf) {
        time_t coming = NewYearMoment(year + 1);
        if (coming != static_cast<time_t>(-1)) return coming;
    }
    return NewYearMoment(year);
}

time_t CardTargetAt(time_t now) {
    return NewYear == NewYearNearest ? NearestNewYear(now) : NewYearMoment(NewYear);
}

time_t CardTargetMoment() { return CardTargetAt(std::time(nullptr)); }

std::string CountdownTextAt(time_t target, time_t now) {
    double left = std::difftime(target, now);
    double whole = std::trunc(std::fabs(left));
    std::uint64_t n = whole < 9.0e15 ? static_cast<std::uint64_t>(whole) : 0;
    unsigned int seconds = static_cast<unsigned int>(n % 60);
    unsigned int minutes = static_cast<unsigned int>((n / 60) % 60);
    unsigned long long hours = n / 3600;
    char text[200];
    std::snprintf(text, sizeof text, left <= 0.0 ? SinceTarget : BeforeTarget, NewYearOf(target), hours, minutes,
                  seconds);
    return text;
}

std::string ClockTextAt(time_t now) {
    struct tm local;
    if (!localtime_r(&now, &local)) return std::string();
    // Written out rather than by asctime, whose layout differs between C
    // libraries (Windows' pads the day with a zero) and which gives up on
    // years of more than four digits.
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[64];
    std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %lld\n", days[local.tm_wday % 7],
                  months[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  1900LL + local.tm_year);
    std::string clock(text);
    if (!clock.empty()) clock.pop_back();
    return clock;
}
