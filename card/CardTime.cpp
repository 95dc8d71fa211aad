#include "card/CardTime.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

time_t TargetTime = 0;
time_t CurrentTime = 0;

namespace {

const char* const BeforeTarget = "До Нового, 2004, года осталось %u часов %u минут %u секунд";
const char* const SinceTarget = "С Начала , 2004, года прошло %u часов %u минут %u секунд";

}  // namespace

time_t CardTargetMoment() {
    struct tm start = {};
    start.tm_year = 104;
    start.tm_mon = 0;
    start.tm_mday = 1;
    start.tm_hour = 0;
    start.tm_min = 0;
    start.tm_sec = 0;
    start.tm_isdst = -1;
    return std::mktime(&start);
}

std::string CountdownTextAt(time_t target, time_t now) {
    double left = std::difftime(target, now);
    double whole = std::trunc(std::fabs(left));
    // Moments further away than a 32-bit count of seconds wrap like one.
    std::uint32_t n = whole < 9.0e15 ? static_cast<std::uint32_t>(static_cast<std::int64_t>(whole)) : 0;
    unsigned int seconds = n % 60;
    unsigned int minutes = (n / 60) % 60;
    unsigned int hours = n / 3600;
    char text[160];
    std::snprintf(text, sizeof text, left <= 0.0 ? SinceTarget : BeforeTarget, hours, minutes, seconds);
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
