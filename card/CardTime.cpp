#include "card/CardTime.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include "card/CardLanguage.h"
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

std::string Count(const char* text, unsigned long long n) {
    return FillPlaceholders(text, {{"{n}", std::to_string(n)}});
}

std::string SpokenCountdown(bool since, long long year, unsigned long long hours, unsigned int minutes,
                            unsigned int seconds) {
    // TRANSLATORS: "until" counts down to the New Year, "since" counts the
    // time after it; the words may take another case in each. {n} is the number.
    const std::string h = Count(since ? TranslatedPlural("since", "{n} hour", "{n} hours", hours)
                                      : TranslatedPlural("until", "{n} hour", "{n} hours", hours),
                                hours);
    const std::string m = Count(since ? TranslatedPlural("since", "{n} minute", "{n} minutes", minutes)
                                      : TranslatedPlural("until", "{n} minute", "{n} minutes", minutes),
                                minutes);
    const std::string s = Count(since ? TranslatedPlural("since", "{n} second", "{n} seconds", seconds)
                                      : TranslatedPlural("until", "{n} second", "{n} seconds", seconds),
                                seconds);
    // TRANSLATORS: hours, minutes and seconds as one phrase.
    const std::string time = FillPlaceholders(Translated("countdown", "{hours} {minutes} {seconds}"),
                                              {{"{hours}", h}, {"{minutes}", m}, {"{seconds}", s}});
    // TRANSLATORS: {time} is the phrase above, {year} the New Year's year.
    const char* sentence = since ? Translated("countdown", "{time} since New Year {year}")
                                 : Translated("countdown", "{time} until New Year {year}");
    return FillPlaceholders(sentence, {{"{time}", time}, {"{year}", std::to_string(year)}});
}

std::string TwoDigits(int value, bool padded) {
    return (padded && value >= 0 && value < 10 ? "0" : "") + std::to_string(value);
}

// The clock's format: strftime's %A %B %d %e %m %Y %H %I %M %S %p and %%,
// with "-" after the % for numbers without padding; the names come from the
// catalog, not from the C library's locale data, which few machines have.
std::string SpokenClock(const struct tm& local) {
    static const char* const days[] = {
        NC_("weekday", "Sunday"),   NC_("weekday", "Monday"), NC_("weekday", "Tuesday"),
        NC_("weekday", "Wednesday"), NC_("weekday", "Thursday"), NC_("weekday", "Friday"),
        NC_("weekday", "Saturday")};
    static const char* const months[] = {
        NC_("month in a date", "January"), NC_("month in a date", "February"), NC_("month in a date", "March"),
        NC_("month in a date", "April"),   NC_("month in a date", "May"),      NC_("month in a date", "June"),
        NC_("month in a date", "July"),    NC_("month in a date", "August"),   NC_("month in a date", "September"),
        NC_("month in a date", "October"), NC_("month in a date", "November"), NC_("month in a date", "December")};
    // TRANSLATORS: the clock, in the way dates and times are written in your
    // language: %A weekday, %B month (as written in a date), %d day, %m month,
    // %Y year, %H hour 00-23, %I hour 01-12 with %p for AM/PM, %M minute,
    // %S second; %-d, %-H and so on drop the leading zero.
    // xgettext:no-c-format
    const char* everyDay = Translated("clock", "%A, %B %-d, %Y %-I:%M:%S %p");
    // TRANSLATORS: the same for the first day of a month (French: 1er).
    // xgettext:no-c-format
    const char* firstDay = Translated("clock on the first of a month", "%A, %B %-d, %Y %-I:%M:%S %p");
    const char* format = local.tm_mday == 1 ? firstDay : everyDay;
    const int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    std::string text;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            text += *p;
            continue;
        }
        const bool padded = p[1] != '-';
        const char directive = padded ? p[1] : p[2];
        if (directive == '\0') {
            text += p;
            break;
        }
        p += padded ? 1 : 2;
        switch (directive) {
        case 'A': text += Translated("weekday", days[((local.tm_wday % 7) + 7) % 7]); break;
        case 'B': text += Translated("month in a date", months[((local.tm_mon % 12) + 12) % 12]); break;
        case 'd': text += TwoDigits(local.tm_mday, padded); break;
        case 'e': text += (local.tm_mday < 10 && padded ? " " : "") + std::to_string(local.tm_mday); break;
        case 'm': text += TwoDigits(local.tm_mon + 1, padded); break;
        case 'Y': text += std::to_string(1900LL + local.tm_year); break;
        case 'H': text += TwoDigits(local.tm_hour, padded); break;
        case 'I': text += TwoDigits(hour12, padded); break;
        case 'M': text += TwoDigits(local.tm_min, padded); break;
        case 'S': text += TwoDigits(local.tm_sec, padded); break;
        case 'p': text += local.tm_hour < 12 ? Translated("clock", "AM") : Translated("clock", "PM"); break;
        case '%': text += '%'; break;
        default: text += std::string(padded ? "%" : "%-") + directive;
        }
    }
    return text;
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
    if (!SpokenLanguage.empty()) return SpokenCountdown(left <= 0.0, NewYearOf(target), hours, minutes, seconds);
    char text[200];
    std::snprintf(text, sizeof text, left <= 0.0 ? SinceTarget : BeforeTarget, NewYearOf(target), hours, minutes,
                  seconds);
    return text;
}

std::string ClockTextAt(time_t now) {
    struct tm local;
    if (!localtime_r(&now, &local)) return std::string();
    if (!SpokenLanguage.empty()) return SpokenClock(local);
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
