// The property bar: the definition pages "Search", "Replace" and "Examples" on a row of
// tabs, with the buttons that start and stop a search. It folds to its row of tabs while
// a search runs.
#pragma once

#include <windows.h>

#include <vector>

#include "app/CommandStates.h"
#include "app/DefinitionPages.h"
#include "app/FrameLayout.h"
#include "app/win32/ReplaceDefinitionPage.h"
#include "app/win32/SearchDefinitionPage.h"
#include "app/win32/SearchExamplePage.h"
#include "platform/win32/ui/Dialog.h"

namespace sorbex {

enum class CDefinitionPageKind { Search, Replace, Examples };

// What the bar tells the main window.
class CPropertyBarListener {
public:
    virtual ~CPropertyBarListener() = default;
    // Another page became the active one.
    virtual void DefinitionPageChanged() = 0;
    // A page tab was clicked while the bar is folded.
    virtual void UnfoldRequested() = 0;
};

class CPropertyBar : public kestrix::ui::Dialog {
public:
    CPropertyBar(CDefinitionState& state, CPropertyBarListener& listener)
        : listener_(listener), search_(state), replace_(state) {}

    // Creates the bar and its pages inside `frame`; commands of its buttons go there.
    HWND CreateIn(HINSTANCE instance, HWND frame);

    CDefinitionPageKind ActivePage() const { return active_; }
    void ActivatePage(CDefinitionPageKind page);
    // The frame starts to fold the bar (`folded`) or to unfold it. Until EndFold the bar's
    // window stands at the taller end of the fold and keeps its page shown, and the panes
    // below slide over it: a frame of the fold neither lays the bar out nor draws it.
    void StartFold(bool folded);
    // The fold reached its end: folded, the bar shows its page tabs alone.
    void EndFold();
    bool folded() const { return folded_; }
    // The tab control's rectangle in the bar's client area (for checks of the layout).
    RECT TabsRect() const;
    // The bar's buttons and their commands (Start and Stop), for the frame's command
    // states; EnableButton gives one of them its state.
    static std::vector<CCommandBinding> ButtonBindings();
    void EnableButton(int id, bool enabled) { EnableItem(id, enabled); }

    CSearchDefinitionPage& searchPage() { return search_; }
    CReplaceDefinitionPage& replacePage() { return replace_; }
    // The pages' options go back into the state that is written to the profile.
    void StoreOptions() const;

protected:
    bool OnInit() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnSize(UINT kind, int width, int height) override;

private:
    kestrix::ui::Dialog& Page(CDefinitionPageKind page);
    void Layout();
    CBarFold FoldState() const;

    CPropertyBarListener& listener_;
    HINSTANCE instance_ = nullptr;
    HWND frame_ = nullptr;
    CSearchDefinitionPage search_;
    CReplaceDefinitionPage replace_;
    CSearchExamplePage examples_;
    CDefinitionPageKind active_ = CDefinitionPageKind::Search;
    bool folded_ = false;
    bool moving_ = false;
    // The size and state the children were last laid out for: a size message that
    // changes neither leaves them alone.
    SIZE laidOut_{-1, -1};
    CBarFold laidOutFold_ = CBarFold::Open;
    int buttonWidth_ = 0;
    int buttonHeight_ = 0;
};

} // namespace sorbex
