// The painted-window check. The picture comes from the screen's device context, the
// way any other program would see the window; a caption counts as shown when, inside
// its control, enough pixels stand out darkly from the control's own background
// (text of any theme's colour does; light frames and flat fills do not).
#include "PaintedCheck.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "E2eChecks.h"

namespace e2e {
namespace {

// A pixel is text when it is at least this much darker than the background.
constexpr int kTextContrast = 112;
// Pixels that make a caption shown: a single glyph has more.
constexpr int kTextPixels = 4;
// Frames of controls lie in this band along their edges.
constexpr int kFrameInset = 3;
// The box of a check box or radio button, beside its caption.
constexpr int kCheckBoxWidth = 16;
// The caption of a group box lies in its top band; below it are other controls.
constexpr int kGroupCaptionHeight = 16;
constexpr std::size_t kNamedMisses = 4;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels; // 0x00RRGGBB, top row first
    BITMAPINFOHEADER header{};

    DWORD At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF;
    }
};

// The screen's pixels in `r` (screen coordinates).
Picture TakePicture(const RECT& r) {
    Picture picture;
    picture.width = r.right - r.left;
    picture.height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, 0);
    GetDIBits(memory, bitmap, 0, picture.height, picture.pixels.data(), &info, DIB_RGB_COLORS);
    picture.header = info.bmiHeader;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

// How many colours (up to three) the picture holds.
std::size_t Colours(const Picture& picture) {
    std::vector<DWORD> colours;
    for (DWORD pixel : picture.pixels) {
        pixel &= 0xFFFFFF;
        bool known = false;
        for (DWORD colour : colours)
            known = known || colour == pixel;
        if (!known)
            colours.push_back(pixel);
        if (colours.size() >= 3)
            break;
    }
    return colours.size();
}

int Luminance(DWORD pixel) {
    const int red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
    return (red * 30 + green * 59 + blue * 11) / 100;
}

// Whether the part `area` of the picture (clipped to it) shows text: pixels darker by
// kTextContrast than its most frequent colour.
bool ShowsText(const Picture& picture, RECT area) {
    area.left = std::max(area.left, LONG{0});
    area.top = std::max(area.top, LONG{0});
    area.right = std::min(area.right, static_cast<LONG>(picture.width));
    area.bottom = std::min(area.bottom, static_cast<LONG>(picture.height));
    if (area.right <= area.left || area.bottom <= area.top)
        return false;
    std::map<DWORD, int> counts;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
            ++counts[picture.At(x, y)];
    DWORD background = 0;
    int most = 0;
    for (const auto& [colour, count] : counts)
        if (count > most) {
            most = count;
            background = colour;
        }
    const int limit = Luminance(background) - kTextContrast;
    int dark = 0;
    for (const auto& [colour, count] : counts)
        if (Luminance(colour) <= limit)
            dark += count;
    return dark >= kTextPixels;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Whether the caption has anything to draw once mnemonic marks are left out.
bool HasVisibleText(const std::string& caption) {
    for (char c : caption)
        if (c != '&' && c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return true;
    return false;
}

// Where in a control its caption is drawn, in the control's client coordinates; false
// for a control that draws no caption text of its own.
bool CaptionArea(HWND control, RECT* area) {
    const std::string name = ClassOf(control);
    const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    GetClientRect(control, area);
    if (lstrcmpiA(name.c_str(), "Static") == 0) {
        const LONG_PTR type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
            type != SS_LEFTNOWORDWRAP)
            return false;
        InflateRect(area, -1, -1);
        return true;
    }
    if (lstrcmpiA(name.c_str(), "Button") != 0 || (style & (BS_ICON | BS_BITMAP)))
        return false;
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        InflateRect(area, -kFrameInset, -kFrameInset);
        return true;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        // The box is on the left unless the caption is.
        if (style & BS_LEFTTEXT)
            area->right -= kCheckBoxWidth;
        else
            area->left += kCheckBoxWidth;
        return true;
    case BS_GROUPBOX:
        area->bottom = std::min(area->bottom, area->top + kGroupCaptionHeight);
        area->left += kFrameInset;
        return true;
    default:
        return false;
    }
}

struct Caption {
    std::string text;
    RECT area;    // in the picture's coordinates
    bool covered; // another window lies over its middle
};

struct CaptionSearch {
    HWND root;
    POINT origin; // the picture's top left corner on the screen
    std::vector<Caption> captions;
};

// A control counts when it is visible and enabled (disabled text is drawn grey).
BOOL CALLBACK CollectCaption(HWND control, LPARAM parameter) {
    auto* search = reinterpret_cast<CaptionSearch*>(parameter);
    RECT area{};
    if (!IsWindowVisible(control) || !IsWindowEnabled(control) || !CaptionArea(control, &area))
        return TRUE;
    const std::string text = WindowText(control);
    if (!HasVisibleText(text))
        return TRUE;
    RECT whole{};
    GetWindowRect(control, &whole);
    POINT middle{(whole.left + whole.right) / 2, (whole.top + whole.bottom) / 2};
    const bool covered = GetAncestor(WindowFromPoint(middle), GA_ROOT) != search->root;
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&area), 2);
    OffsetRect(&area, -search->origin.x, -search->origin.y);
    search->captions.push_back({text, area, covered});
    return TRUE;
}

// Writes the picture as a 24-bit bitmap file, for whoever looks at a test's results.
// Not 32 bits: the screen leaves the fourth byte of each pixel as the drawing left it,
// and viewers read that byte as opacity, which hides whatever was drawn with zero there
// (text among it) and makes a fully painted window look empty.
void SaveBitmap(const char* path, const Picture& picture) {
    const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t{3};
    BITMAPINFOHEADER header = picture.header;
    header.biBitCount = 24;
    header.biSizeImage = static_cast<DWORD>(stride * picture.height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + header.biSizeImage);
    FILE* out = std::fopen(path, "wb");
    if (!out)
        return;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::vector<unsigned char> row(stride, 0);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const DWORD pixel = picture.At(x, y);
            row[x * 3] = static_cast<unsigned char>(pixel);
            row[x * 3 + 1] = static_cast<unsigned char>(pixel >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(pixel >> 16);
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    std::fclose(out);
}

// The colours of `wanted` that no pixel of the picture has.
std::vector<DWORD> MissingColours(const Picture& picture, const std::vector<DWORD>& wanted) {
    std::vector<DWORD> missing;
    for (DWORD colour : wanted) {
        colour &= 0xFFFFFF;
        const bool shown =
            std::any_of(picture.pixels.begin(), picture.pixels.end(),
                        [colour](DWORD pixel) { return (pixel & 0xFFFFFF) == colour; });
        if (!shown)
            missing.push_back(colour);
    }
    return missing;
}

std::string Hex(DWORD colour) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06lX", static_cast<unsigned long>(colour));
    return text;
}

} // namespace

bool LooksPainted(HWND window, std::string* detail, const char* bitmapPath,
                  const PaintedExpectation& expected) {
    RECT r{};
    if (!IsWindowVisible(window) || !GetWindowRect(window, &r) || r.right <= r.left ||
        r.bottom <= r.top) {
        *detail = "not visible";
        return false;
    }
    // Without a window manager a new window can stay unexposed until it moves.
    const UINT keep = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    POINT place{r.left, r.top};
    if (HWND parent = GetAncestor(window, GA_PARENT); parent && parent != GetDesktopWindow())
        ScreenToClient(parent, &place);
    SetWindowPos(window, nullptr, place.x + 1, place.y, 0, 0, keep);
    SetWindowPos(window, nullptr, place.x, place.y, 0, 0, keep);
    // The client area only: the frame and title bar are drawn even for a window that
    // never painted itself.
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (client.right <= client.left || client.bottom <= client.top) {
        *detail = "no client area";
        return false;
    }
    Picture picture;
    std::size_t colours = 0;
    CaptionSearch search{GetAncestor(window, GA_ROOT), {client.left, client.top}, {}};
    std::vector<std::string> blank;
    std::vector<DWORD> missing;
    std::size_t covered = 0;
    // The window's own process paints it; the picture is taken until it shows. Other
    // tests' windows share the display: the window is raised before each picture, and
    // a caption that something still covers counts as not shown.
    const bool painted = WaitFor(expected.timeoutMs, [&] {
        SetWindowPos(search.root, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        search.captions.clear();
        EnumChildWindows(window, CollectCaption, reinterpret_cast<LPARAM>(&search));
        picture = TakePicture(client);
        colours = Colours(picture);
        blank.clear();
        covered = 0;
        for (const Caption& caption : search.captions)
            if (caption.covered || !ShowsText(picture, caption.area)) {
                blank.push_back(caption.text);
                covered += caption.covered ? 1 : 0;
            }
        missing = MissingColours(picture, expected.colours);
        return colours >= 3 && blank.empty() && missing.empty();
    });
    if (bitmapPath)
        SaveBitmap(bitmapPath, picture);
    *detail = std::to_string(picture.width) + "x" + std::to_string(picture.height) +
              " client area, " + std::to_string(colours) + (colours >= 3 ? "+" : "") +
              " colours, text in " + std::to_string(search.captions.size() - blank.size()) +
              " of " + std::to_string(search.captions.size()) + " captions";
    if (!blank.empty()) {
        *detail += "; none in";
        for (std::size_t i = 0; i < blank.size() && i < kNamedMisses; ++i)
            *detail += " \"" + blank[i] + "\"";
        if (blank.size() > kNamedMisses)
            *detail += " ...";
        if (covered)
            *detail += " (" + std::to_string(covered) + " covered by other windows)";
    }
    if (!missing.empty()) {
        *detail += "; colours not shown:";
        for (DWORD colour : missing)
            *detail += " " + Hex(colour);
    }
    return painted;
}

} // namespace e2e
