// Fuzz target: detecting and decoding arbitrary bytes as each file encoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/TextEncoding.h"

namespace {

// The characters the decoded text stands for: its bytes in the code page, with the
// substitutes put back.
std::u32string CharactersOf(const std::string& text,
                            const std::vector<sorbex::COutsideCharacter>& outside) {
    std::u32string characters = sorbex::Cp1252Characters(text);
    for (const sorbex::COutsideCharacter& entry : outside) {
        if (entry.offset >= characters.size() || text[entry.offset] != sorbex::kSubstituteByte)
            std::abort();
        characters[entry.offset] = entry.character;
    }
    return characters;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const sorbex::CEncodingChoice choice :
         {sorbex::CEncodingChoice::Auto, sorbex::CEncodingChoice::Ansi,
          sorbex::CEncodingChoice::Utf8, sorbex::CEncodingChoice::Utf16Le,
          sorbex::CEncodingChoice::Utf16Be}) {
        const sorbex::CDetectedEncoding detected = sorbex::DetectEncoding(bytes, choice, size & 1);
        std::string text;
        std::vector<sorbex::COutsideCharacter> outside;
        std::vector<std::uint32_t> offsets;
        sorbex::DecodeText(bytes, detected, text, &outside, &offsets);
        // Every character has its bytes: the offsets climb from the end of the mark to
        // the end of the file, one more than there are characters.
        if (offsets.size() != text.size() + 1 || offsets.back() != size ||
            offsets.front() != (text.empty() ? size : detected.bomLength))
            std::abort();
        for (std::size_t i = 1; i < offsets.size(); ++i) {
            if (offsets[i] <= offsets[i - 1] || offsets[i] - offsets[i - 1] > 4)
                std::abort();
        }
        // The loader's one-pass detection and decoding agree with the two steps.
        std::string loaded(bytes);
        std::vector<sorbex::COutsideCharacter> loadedOutside;
        const sorbex::CDetectedEncoding once =
            sorbex::DecodeFileBytes(loaded, choice, size & 1, &loadedOutside);
        if (once.encoding != detected.encoding || once.bomLength != detected.bomLength ||
            loaded != (detected.encoding == sorbex::CTextEncoding::Ansi ? std::string(bytes) : text) ||
            loadedOutside.size() != outside.size())
            std::abort();
        for (std::size_t k = 0; k < outside.size(); ++k) {
            if (loadedOutside[k].offset != outside[k].offset ||
                loadedOutside[k].character != outside[k].character)
                std::abort();
        }
        // Whatever decoded without a stand-in for broken bytes writes back as it was.
        const std::u32string characters = CharactersOf(text, outside);
        if (characters.find(U'\uFFFD') != std::u32string::npos)
            continue;
        std::string encoded;
        if (!sorbex::EncodeCharacters(characters, detected.encoding, encoded))
            std::abort();
        if (bytes.substr(detected.bomLength) != encoded)
            std::abort();
        // Decoding without the side tables gives the same text.
        std::string plain;
        sorbex::DecodeText(bytes, detected, plain);
        if (plain != text)
            std::abort();
    }
    return 0;
}
