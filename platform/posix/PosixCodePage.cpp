// The program's code page where no system names one: Windows-1252.
#include "platform/Cp1252.h"
#include "platform/ProgramCodePage.h"

namespace kestrix {

std::string CodePageFromUtf16(std::u16string_view text) {
    return Cp1252FromUtf16(text);
}

} // namespace kestrix
