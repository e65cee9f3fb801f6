// The "Date:" header's text, and the seam through which the builder reads the local
// time, the time zone and the seed of its random letters.
#pragma once

#include <cstdint>
#include <string>

namespace keywright {

struct MailLocalTime {
    int year = 1970;
    int month = 1;     // 1 to 12
    int dayOfWeek = 4; // 0 Sunday to 6 Saturday
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Which of the zone's two biases applies now; Unknown for a zone without daylight
// saving time.
enum class ZoneState { Unknown, Standard, Daylight };

// The system's time-zone information: biases in minutes, UTC minus local time.
struct MailTimeZone {
    long bias = 0;
    long standardBias = 0;
    long daylightBias = 0;
    ZoneState state = ZoneState::Unknown;
};

class MailTimeSource {
public:
    virtual ~MailTimeSource() = default;
    virtual MailLocalTime LocalNow() = 0;
    // False when the system cannot say; the date then goes without an offset.
    virtual bool TimeZone(MailTimeZone* zone) = 0;
    // Seconds since 1970, the seed of the message's random letters.
    virtual std::uint32_t SecondsNow() = 0;
};

// "Sun, 7 Mar 2004 09:05:01 +0100": local time and, with a zone, its offset from UTC
// (a zone at UTC itself is written -0000).
std::string FormatMailDate(const MailLocalTime& time, const MailTimeZone* zone);

} // namespace keywright
