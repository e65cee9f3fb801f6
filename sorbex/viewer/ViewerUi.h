// What the file viewer asks of its window and of the formatted-text control in it.
#pragma once

#include <string>

#include "viewer/ViewerFont.h"

namespace sorbex {

// How far the control's view is scrolled, in its own units.
struct CViewPlace {
    long x = 0;
    long y = 0;
};

// The Windows viewer implements it over its frame and its rich-text control; tests
// record the calls. Positions count characters of ContentText().
class CViewerUi {
public:
    virtual ~CViewerUi() = default;

    // Brings the viewer's frame to the front, titled with `title` (the file's name).
    virtual void ActivateViewer(const std::string& title) = 0;
    // Replaces the content by the picture in the file `path`. False leaves the content
    // as it was.
    virtual bool ShowPicture(const std::string& path) = 0;
    // Off suspends redrawing; on resumes it and repaints the control.
    virtual void SetRedraw(bool on) = 0;
    virtual void SetDefaultFont(const CControlFont& font) = 0;
    // Replaces the whole content by `content`, read as an RTF document when `rtf` is
    // set and as plain text otherwise; an empty content empties the control. The
    // substitute bytes of a plain text show `outside`'s characters one after the other
    // (see ShownUnits); positions still count one per byte of `content`.
    virtual void SetContent(const std::string& content, bool rtf,
                            const std::u32string& outside) = 0;
    // The control's text as it holds it now: its lines, one after the other.
    virtual std::string ContentText() = 0;
    // Selects [start, end) and marks it as a found passage.
    virtual void MarkPassage(long start, long end) = 0;
    // Selects [start, end) and scrolls the line that holds it into view.
    virtual void SelectPassage(long start, long end) = 0;
    // Where the view is scrolled to, and scrolling it there again after a new content.
    virtual CViewPlace Place() = 0;
    virtual void SetPlace(const CViewPlace& place) = 0;
};

} // namespace sorbex
