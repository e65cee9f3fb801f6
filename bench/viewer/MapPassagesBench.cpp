// mappassagesbench: how long MapPassages takes to carry 1,000 passages of a 20 MB
// plain text over to a shown text that differs from it every few hundred bytes (CR LF
// for LF throughout, and a byte changed, a few bytes more or a few bytes fewer between
// every two stretches of 100 to 500 equal bytes). Prints the median of the runs and
// checks that every passage landed on its own bytes.
//
// Usage: mappassagesbench [megabytes=20] [passages=1000] [runs=5]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "viewer/PassageMapping.h"

namespace {

// A fixed generator, so that every run and every machine maps the same texts.
class Random {
public:
    std::uint32_t Next(std::uint32_t bound) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<std::uint32_t>(state_ % bound);
    }

private:
    std::uint64_t state_ = 0x2545F4914F6CDD1Dull;
};

struct Texts {
    std::string plain;
    std::string shown;
    std::vector<std::int32_t> starts;
    std::vector<std::int32_t> expected;
};

Texts Make(std::size_t size, std::size_t passages) {
    Random random;
    Texts t;
    t.plain.reserve(size);
    t.shown.reserve(size + size / 16);
    const char* const letters = "etaoinshrdlucmfwypvbgkjqxz";
    const char* const marks = "0123456789#*+[]{}";
    const std::size_t stretches = size / 300;
    const std::size_t every = std::max<std::size_t>(1, stretches / passages);
    std::size_t stretch = 0;
    while (t.plain.size() < size) {
        // The edit that separates this stretch from the one before.
        switch (random.Next(3)) {
        case 0:
            t.plain += '?';
            t.shown += '\x93';
            break;
        case 1:
            for (std::uint32_t n = 1 + random.Next(8); n > 0; --n)
                t.shown += marks[random.Next(17)];
            break;
        default:
            for (std::uint32_t n = 1 + random.Next(8); n > 0; --n)
                t.plain += marks[random.Next(17)];
            break;
        }
        const std::uint32_t length = 100 + random.Next(401);
        const std::uint32_t passageAt =
            stretch++ % every == 0 && t.starts.size() < passages ? random.Next(length) : length;
        for (std::uint32_t i = 0; i < length; ++i) {
            char c = random.Next(6) == 0 ? ' ' : letters[random.Next(26)];
            if (random.Next(70) == 0)
                c = '\n';
            if (i == passageAt) {
                c = 'p';
                t.starts.push_back(static_cast<std::int32_t>(t.plain.size()));
                t.expected.push_back(static_cast<std::int32_t>(t.shown.size()));
            }
            t.plain += c;
            if (c == '\n')
                t.shown += '\r';
            t.shown += c;
        }
    }
    return t;
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20;
    const std::size_t passages = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    const Texts t = Make(megabytes << 20, passages);
    std::printf("plain text %zu bytes, shown text %zu bytes, %zu passages\n", t.plain.size(),
                t.shown.size(), t.starts.size());

    std::vector<double> seconds;
    std::vector<std::int32_t> positions(t.starts.size());
    bool mapped = false;
    for (int run = 0; run < runs; ++run) {
        std::fill(positions.begin(), positions.end(), -1);
        const auto begin = std::chrono::steady_clock::now();
        mapped = sorbex::MapPassages(t.shown, t.plain, t.starts.data(), t.starts.size(),
                                     positions.data());
        const auto end = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(end - begin).count());
    }
    std::sort(seconds.begin(), seconds.end());
    const double median = seconds[seconds.size() / 2];
    std::size_t right = 0;
    for (std::size_t j = 0; j < positions.size(); ++j)
        right += positions[j] == t.expected[j];
    std::printf("MapPassages: median %.3f s of %d runs (fastest %.3f s), %.0f MB/s\n", median, runs,
                seconds.front(), static_cast<double>(t.plain.size()) / median / 1e6);
    std::printf("mapped: %s, on their own bytes: %zu of %zu\n", mapped ? "all" : "not all", right,
                positions.size());
    return mapped && right == positions.size() ? 0 : 1;
}
