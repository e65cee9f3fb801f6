// Formatting, parsing and centring of saved window positions.
#include "settings/WindowPosition.h"

#include "settings/DecimalConversion.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace keywright {

std::string FormatWindowPosition(const ScreenRect& rect) {
    char text[64];
    std::snprintf(text, sizeof text, "%d %d %d %d", rect.left, rect.top, rect.right, rect.bottom);
    return text;
}

bool ParseFourNumbers(const char* text, int numbers[4]) {
    if (text == nullptr)
        return false;
    const char* p = text;
    for (int i = 0; i < 4; ++i) {
        // Fields are split at single spaces; each is read from at most 15 characters.
        const char* end = std::strchr(p, ' ');
        std::size_t length = end ? static_cast<std::size_t>(end - p) : std::strlen(p);
        if (length == 0)
            return false;
        char field[16] = {};
        std::memcpy(field, p, length < 15 ? length : 15);
        numbers[i] = DecimalToInt(field);
        if (i < 3) {
            if (end == nullptr)
                return false;
            p = end + 1;
        }
    }
    return true;
}

bool ParseWindowPosition(const char* text, ScreenRect* rect) {
    int numbers[4] = {};
    if (rect == nullptr || !ParseFourNumbers(text, numbers))
        return false;
    ScreenRect parsed{numbers[0], numbers[1], numbers[2], numbers[3]};
    if (parsed.right <= parsed.left || parsed.bottom <= parsed.top)
        return false;
    *rect = parsed;
    return true;
}

std::string FormatWindowPlace(const ScreenRect& rect) {
    // In 64 bits, so that far-off coordinates cannot overflow the differences.
    return FormatWindowPosition({rect.left, rect.top,
                                 static_cast<int>(static_cast<long long>(rect.right) - rect.left),
                                 static_cast<int>(static_cast<long long>(rect.bottom) - rect.top)});
}

bool ParseWindowPlace(const char* text, ScreenRect* rect) {
    int n[4] = {};
    if (rect == nullptr || !ParseFourNumbers(text, n) || n[2] <= 0 || n[3] <= 0)
        return false;
    const long long right = static_cast<long long>(n[0]) + n[2];
    const long long bottom = static_cast<long long>(n[1]) + n[3];
    if (right > 2147483647LL || bottom > 2147483647LL)
        return false;
    *rect = ScreenRect{n[0], n[1], static_cast<int>(right), static_cast<int>(bottom)};
    return true;
}

bool ShowsOnScreen(const ScreenRect& screen, const ScreenRect& window) {
    // In 64 bits, like the centring: saved texts may hold any int.
    const long long shownWidth = static_cast<long long>(std::min(screen.right, window.right)) -
                                 std::max(screen.left, window.left);
    const long long shownHeight = static_cast<long long>(std::min(screen.bottom, window.bottom)) -
                                  std::max(screen.top, window.top);
    return shownWidth >= kMinimumShown && shownHeight >= kMinimumShown;
}

ScreenRect CentreOver(const ScreenRect& owner, const ScreenRect& window) {
    // In 64 bits, so that far-off coordinates cannot overflow the sums.
    long long width = static_cast<long long>(window.right) - window.left;
    long long height = static_cast<long long>(window.bottom) - window.top;
    long long left = owner.left + ((static_cast<long long>(owner.right) - owner.left) - width) / 2;
    long long top = owner.top + ((static_cast<long long>(owner.bottom) - owner.top) - height) / 2;
    return ScreenRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + width),
                      static_cast<int>(top + height)};
}

} // namespace keywright
