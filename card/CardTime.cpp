#include "card/CardTime.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "card/CardSettings.h"

time_t TargetTime = 0;
time_t CurrentTime = 0;

namespace {

const char* const BeforeTarget = "До Нового, %lld, года осталось %llu часов %u минут %u секунд";
const char* const SinceTarget = "С Начала , %lld, года прошло %llu часов %u минут %u секунд";

// The year whose New Year the moment is: mktime may move a midnight that the
// zone skips into the evening before.
long long NewYearOf(time_t target) {
    struct tm local;
    if (!localtime_r(&target, &local)) return 0;
    return 1900LL + local.tm_year + (local.tm_mon == 11 ? 1 : 0);
}

}  // namespace

time_t NewYearMoment(long year) {
    if (year < INT_MIN + 1900L || year > INT_MAX) return static_cast<time_t>(-1);
    struct tm start = {};
    start.tm_year = static_cast<int>(year - 1900);
    start.tm_mon = 0;
    start.tm_mday = 1;
    start.tm_hour = 0;
    start.tm_min = 0;
    start.tm_sec = 0;
    start.tm_isdst = -1;
    return std::mktime(&start);
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
    char text[64];
    if (!asctime_r(&local, text)) {
        // asctime gives up on years of more than four digits; same layout.
        static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
        static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %lld\n", days[local.tm_wday % 7],
                      months[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                      1900LL + local.tm_year);
    }
    std::string clock(text);
    if (!clock.empty()) clock.pop_back();
    return clock;
}
