// The one check of every end-to-end test that a window is drawn on the screen: its
// client area is not one flat colour, and every label and button in it that has a
// caption shows text there.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

constexpr DWORD kPaintTimeoutMs = 30000;

// What a window must show besides being painted: colours of its own drawing
// (0x00RRGGBB), such as the background of the viewer's found passages; and how long the
// pictures are taken for (a check that is meant to fail need not wait the whole time).
struct PaintedExpectation {
    std::vector<DWORD> colours;
    DWORD timeoutMs = kPaintTimeoutMs;
};

// Whether the window's client area, as the screen shows it, is painted: it holds at
// least three colours, and inside each visible, enabled static or button below it
// with a non-empty caption there are pixels of the text colour. The window is moved
// by a pixel and back first, so that it is exposed even without a window manager; the
// picture is taken again until it passes or the expectation's time has passed, and the last
// one is written to `bitmapPath` (a .bmp file) when given. With `expected`, every
// colour it names must show in the client area too. `detail` says what was seen,
// naming the captions that showed no text and the colours that did not show.
bool LooksPainted(HWND window, std::string* detail, const char* bitmapPath = nullptr,
                  const PaintedExpectation& expected = {});

} // namespace e2e
