// Encoding and decoding of location parts: round trips, bad escapes, the buffer
// limit and the space escape.
#include "host/LocationEncoding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace keywright {
namespace {

TEST(LocationEncoding, DecodesWhatItEncodesAndStopsAtABadEscape) {
    enum Kind { kRoundTrip, kDecodeOnly, kBadEscape };
    struct Case {
        std::string plain;
        std::string encoded;
        Kind kind;
    } cases[] = {
        {"Software\\Classes", "Software\\Classes", kRoundTrip},
        {"a:b%c", "a%3Ab%%c", kRoundTrip},
        {"C:\\Temp 100%", "C%3A\\Temp 100%%", kRoundTrip},
        {"%3A", "%%3A", kRoundTrip},
        {"caf\xE9/\"x\"", "caf\xE9/\"x\"", kRoundTrip},
        {"::", "%3A%3a", kDecodeOnly},
        {"Ab\xC3\xA9", "%41b%C3%A9", kDecodeOnly},
        // A bad escape keeps what was decoded before it.
        {"Value", "Value%4", kBadEscape},
        {"100", "100%", kBadEscape},
        {"a", "a%zz b", kBadEscape},
        {"x:", "x%3A%", kBadEscape},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoded);
        if (c.kind == kRoundTrip) {
            EXPECT_EQ(c.encoded, EncodeSpecialChars(c.plain));
        }
        std::string text = c.encoded;
        EXPECT_EQ(c.kind != kBadEscape, DecodeSpecialChars(text));
        EXPECT_EQ(c.plain, text);
        std::vector<char> buffer(c.encoded.begin(), c.encoded.end());
        buffer.push_back('\0');
        EXPECT_EQ(c.kind != kBadEscape, DecodeSpecialChars(buffer.size(), buffer.data()));
        EXPECT_EQ(c.plain, std::string(buffer.data()));
    }
}

TEST(LocationEncoding, InPlaceEncodingRespectsTheBuffer) {
    struct Case {
        const char* text;
        std::size_t capacity;
        const char* result; // null: does not fit, text unchanged, message 2094
    } cases[] = {{"a:b", 6, "a%3Ab"}, {"a:b", 5, nullptr}, {"%%", 5, "%%%%"}, {"%%", 4, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.capacity));
        char buffer[16] = {};
        std::strcpy(buffer, c.text);
        std::vector<std::string> shown;
        EXPECT_EQ(c.result != nullptr,
                  EncodeSpecialChars(c.capacity, buffer,
                                     [&](const std::string& t) { shown.push_back(t); }));
        EXPECT_STREQ(c.result ? c.result : c.text, buffer);
        EXPECT_EQ(c.result ? 0u : 1u, shown.size());
    }
}

TEST(LocationEncoding, SpaceEscapeBecomesOneSpace) {
    struct Case {
        const char* text;
        const char* result;
    } cases[] = {
        {"My__space__Key", "My Key"}, {"__space____space__", "  "}, {"___space__x", "_ x"},
        {"__space_", "__space_"},     {"__SPACE__", "__SPACE__"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.result, ReplaceSpaceEscape(c.text));
    }
}

} // namespace
} // namespace keywright
