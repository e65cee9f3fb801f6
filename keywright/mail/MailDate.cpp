// The date text of a message's "Date:" line.
#include "mail/MailDate.h"

#include <cstdio>
#include <cstdlib>

namespace keywright {

namespace {

constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A name from a table, or "" for a number the system should never give.
template <std::size_t N> const char* NameAt(const char* const (&names)[N], int index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? names[index] : "";
}

} // namespace

std::string FormatMailDate(const MailLocalTime& time, const MailTimeZone* zone) {
    char text[1000];
    int n = std::snprintf(text, sizeof text, "%s, %d %s %d %02d:%02d:%02d",
                          NameAt(kWeekdays, time.dayOfWeek), time.day,
                          NameAt(kMonths, time.month - 1), time.year, time.hour, time.minute,
                          time.second);
    std::string result(text, n > 0 ? static_cast<std::size_t>(n) : 0);
    if (zone) {
        long bias = zone->bias;
        if (zone->state == ZoneState::Standard)
            bias += zone->standardBias;
        else if (zone->state == ZoneState::Daylight)
            bias += zone->daylightBias;
        // The bias is UTC minus local time, so a zone east of UTC has a negative one.
        const long minutes = std::labs(bias);
        std::snprintf(text, sizeof text, " %c%02ld%02ld", bias < 0 ? '+' : '-', minutes / 60,
                      minutes % 60);
        result += text;
    }
    return result;
}

} // namespace keywright
