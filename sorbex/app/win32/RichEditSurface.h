// A result page's text in the system's RichEdit control: the surface the portable page
// view draws on.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "app/ResultPageView.h"

namespace sorbex {

// The newest RichEdit that both Windows (since XP) and Wine provide.
constexpr wchar_t kRichEditClass[] = L"RICHEDIT50W";
// Loads its library once per process; false when the system lacks it.
bool LoadRichEdit();

class CRichEditSurface : public CPageSurface {
public:
    explicit CRichEditSurface(HWND edit = nullptr);
    void Attach(HWND edit);
    HWND edit() const { return edit_; }
    // Called after each change of the text (a print preview of it lays it out anew).
    void OnChanged(std::function<void()> changed) { changed_ = std::move(changed); }

    void Clear() override;
    void Append(const CRichTextBuilder& text) override;
    std::size_t Length() override;
    std::size_t FindCounterMark(std::size_t from) override;
    void Replace(std::size_t from, std::size_t to, const CRichTextBuilder& text) override;
    void Select(std::size_t from, std::size_t to) override;
    void Refresh(bool followEnd) override;
    std::size_t LinesShown() override;

    // The text of [from, to), for tests and for copying.
    std::wstring TextRange(std::size_t from, std::size_t to);
    // The character under a point of the control's client area.
    std::size_t PositionAt(POINT point);

private:
    // While it lives, the control neither draws nor tells its parent of changes.
    class Quiet {
    public:
        explicit Quiet(HWND edit);
        ~Quiet();
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        HWND edit_;
        LPARAM events_;
    };

    // Puts an RTF document in place of the selection.
    void StreamIn(const std::string& rtf);

    HWND edit_ = nullptr;
    std::function<void()> changed_;
};

} // namespace sorbex
