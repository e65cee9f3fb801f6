// A fixed random generator for the engine's tests, so that every platform and every
// run sees the same cases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sorbex {

class CRandom {
public:
    explicit CRandom(std::uint64_t seed) : state(seed) {}

    // A number below `bound` (splitmix64).
    std::size_t Next(std::size_t bound) {
        state += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<std::size_t>((z ^ (z >> 31)) % bound);
    }
    bool OneIn(std::size_t n) { return Next(n) == 0; }
    char Pick(const std::string& from) { return from[Next(from.size())]; }
    std::string Text(const std::string& alphabet, std::size_t length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text += Pick(alphabet);
        return text;
    }

private:
    std::uint64_t state;
};

} // namespace sorbex
