// Fuzz target: the HTML reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/HtmlToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view html(reinterpret_cast<const char*>(data), size);
    const std::string text = sorbex::HtmlToText(html);
    // The text grows only through paragraph breaks after text: four bytes for the
    // three of "<p>" after at least one byte of text, or for the two of a "<p" that
    // the end of the input cuts off.
    if (text.size() > size + size / 4 + 2)
        std::abort();
    return 0;
}
