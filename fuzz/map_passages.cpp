// Fuzz target: the viewer's passage mapping on arbitrary text pairs. It must end, stay
// within both texts, and carry every passage of a text over to the same text exactly.
//
// Input: a count byte (passages, at most 15), two bytes per passage (its start, modulo
// the plain text's length plus one), then the plain text, then optionally a NUL and
// the shown text; without a NUL the shown text is the plain text itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "viewer/PassageMapping.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::size_t count = data[0] % 16;
    if (size < 1 + 2 * count)
        return 0;
    const char* texts = reinterpret_cast<const char*>(data + 1 + 2 * count);
    const std::string_view rest(texts, size - 1 - 2 * count);
    const std::size_t nul = rest.find('\0');
    const std::string_view plain = rest.substr(0, nul);
    const std::string_view shown = nul == std::string_view::npos ? plain : rest.substr(nul + 1);

    std::vector<std::int32_t> starts(count);
    for (std::size_t j = 0; j < count; ++j)
        starts[j] = static_cast<std::int32_t>((data[1 + 2 * j] | data[2 + 2 * j] << 8) %
                                              (plain.size() + 1));
    std::sort(starts.begin(), starts.end());
    std::vector<std::int32_t> positions(count, -1);
    const bool mapped =
        sorbex::MapPassages(shown, plain, starts.data(), starts.size(), positions.data());

    if (nul == std::string_view::npos) {
        // The same text: a passage lands on its own start, or on the first byte after
        // it that is no line break; one in the line breaks at the end has no place.
        bool reachable = true;
        for (std::size_t j = 0; j < count; ++j) {
            std::size_t at = static_cast<std::size_t>(starts[j]);
            while (at < plain.size() && sorbex::IsLineBreakByte(plain[at]))
                ++at;
            if (at >= plain.size()) {
                reachable = false;
                continue;
            }
            if (positions[j] != static_cast<std::int32_t>(at))
                std::abort();
        }
        if (mapped != reachable)
            std::abort();
    }
    return 0;
}
