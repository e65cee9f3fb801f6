// The messages through which the launcher drives the add-in's hidden control window;
// the launcher and the DLL both read them from here.
#pragma once

#include <cstdint>

namespace keywright {

constexpr std::uint32_t kMsgAttach = 0x8000;            // lParam: the editor's main window
constexpr std::uint32_t kMsgGotoSharedText = 0x8001;    // go to the location in the shared text
constexpr std::uint32_t kMsgPreviewSharedText = 0x8002; // preview the file in the shared text

} // namespace keywright
