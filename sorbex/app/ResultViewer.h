// What shows a result's file to the main window: the file viewer's window, holding the
// viewer model, plugs in behind this interface.
#pragma once

#include <cstddef>
#include <string>

#include "search/FileFindDoc.h"

namespace sorbex {

class CResultViewer {
public:
    virtual ~CResultViewer() = default;

    // Shows result `index` of `page` with its passage selected, loading the file when
    // it is not the one shown. False when the file could not be shown.
    virtual bool ShowResult(const CFileFindDoc& page, std::size_t index) = 0;
    // Result `index` was written to its file with a length change of `delta`: the
    // viewer's copy of the text changes the same way.
    virtual void ResultReplaced(const CFileFindDoc& page, std::size_t index, int delta) = 0;
    // The file shown ("" for none): what "&Open in registered Application" opens.
    virtual std::string ShownFile() const = 0;
    // Shows nothing any more (the page or the document went away).
    virtual void Clear() = 0;
    // The options were confirmed: a viewer that shows text takes their font now.
    virtual void OptionsChanged() {}
    // The page setup changed: a print preview that is open lays its text out anew.
    virtual void PageSetupChanged() {}
};

// Until the viewer window is there, a result is "shown" by being selected in its page;
// this keeps which file that was.
class CResultPageOnlyViewer : public CResultViewer {
public:
    bool ShowResult(const CFileFindDoc& page, std::size_t index) override;
    void ResultReplaced(const CFileFindDoc&, std::size_t, int) override {}
    std::string ShownFile() const override { return shown_; }
    void Clear() override { shown_.clear(); }

private:
    std::string shown_;
};

// What showing a result does.
enum class CShowAction {
    ShowInViewer,
    OpenInApplication, // a directory entry, or the viewer is switched off
    StartReplacement,  // a replace page's result not replaced yet
};

CShowAction ShowActionFor(const CSearchResult& result, bool replacePage, bool dontUseFileViewer);

// The shell's answer to opening a file with its registered application: above 32 is
// success; 31 (no application is associated) shows string 10037; other failures show
// nothing. Returns the string to show, or 0.
unsigned MessageForOpenResult(long shellResult);

} // namespace sorbex
