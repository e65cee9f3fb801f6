// A viewer window for tests: records what it is told and plays the control, whose
// text a test may make differ from what it was given, as a real control's does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "viewer/ViewerUi.h"

namespace sorbex {

class CViewerUiRecorder : public CViewerUi {
public:
    std::vector<std::string> calls;
    std::string content;
    bool contentIsRtf = false;
    std::u32string outside; // the characters given with the content
    bool picturesLoad = true;
    CViewPlace place;
    // What the control makes of a content; by default it keeps it as it is.
    std::function<std::string(const std::string& content, bool rtf)> render;

    void ActivateViewer(const std::string& title) override { calls.push_back("activate " + title); }
    bool ShowPicture(const std::string& path) override {
        calls.push_back("picture " + path + (picturesLoad ? "" : " failed"));
        return picturesLoad;
    }
    void SetRedraw(bool on) override { calls.push_back(on ? "redraw on" : "redraw off"); }
    void SetDefaultFont(const CControlFont& font) override {
        calls.push_back("font " + font.faceName + " " + std::to_string(font.points));
    }
    void SetContent(const std::string& text, bool rtf, const std::u32string& characters) override {
        content = text;
        contentIsRtf = rtf;
        outside = characters;
        calls.push_back(std::string("content ") + (rtf ? "rtf" : "text"));
    }
    std::string ContentText() override { return render ? render(content, contentIsRtf) : content; }
    void MarkPassage(long start, long end) override { calls.push_back(Range("mark", start, end)); }
    void SelectPassage(long start, long end) override {
        calls.push_back(Range("select", start, end));
    }
    CViewPlace Place() override { return place; }
    void SetPlace(const CViewPlace& to) override {
        place = to;
        calls.push_back("place " + std::to_string(to.x) + "," + std::to_string(to.y));
    }

    // The control's text in [start, end) of each mark, in order.
    std::vector<std::string> MarkedTexts() { return Texts("mark "); }
    std::vector<std::string> SelectedTexts() { return Texts("select "); }

private:
    static std::string Range(const char* what, long start, long end) {
        return std::string(what) + " " + std::to_string(start) + "-" + std::to_string(end);
    }
    std::vector<std::string> Texts(const std::string& prefix) {
        const std::string text = ContentText();
        std::vector<std::string> texts;
        for (const std::string& call : calls) {
            if (call.compare(0, prefix.size(), prefix) != 0)
                continue;
            const std::size_t dash = call.find('-', prefix.size());
            const std::size_t start = std::stoul(call.substr(prefix.size(), dash - prefix.size()));
            const std::size_t end = std::stoul(call.substr(dash + 1));
            texts.push_back(text.substr(start, end - start));
        }
        return texts;
    }
};

} // namespace sorbex
