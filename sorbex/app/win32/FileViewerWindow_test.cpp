// Tests under Wine of the file viewer's window behind the real main window, both in this
// process: steps through a page show each file with its passages marked and the current
// one selected, in plain text, RTF (formatted, or as its source without the internal
// filter), HTML and pictures.
#include "app/win32/FileViewerWindow.h"

#include <richedit.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "app/win32/FileViewerWindowIds.h"
#include "app/win32/FrameHarness.h"
#include "app/win32/MainFrame.h"
#include "app/win32/PrintPreviewWindowIds.h"
#include "app/win32/SorbexIds.h"
#include "app/win32/WideText.h"
#include "platform/win32/ui/UiTesting.h"

namespace sorbex {
namespace {

constexpr COLORREF kMarked = RGB(255, 255, 0);

// A picture of 2 x 2 pixels in the 24-bit form of a ".bmp" file.
std::string TinyBitmap() {
    const unsigned char bytes[] = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,           // file header
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,       // size, width, height, bits
        0, 0, 0, 0, 16, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 255, 0, 255, 0, 0, 0,                             // two rows of two pixels,
        255, 0, 0, 255, 255, 255, 0, 0};                        // padded to four bytes
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

class FileViewerWindowTest : public ::testing::Test, protected CFrameHarness {
protected:
    void Open() {
        frame_ = std::make_unique<CMainFrame>(context);
        ASSERT_NE(nullptr, frame_->Open(SW_SHOWNORMAL, ""));
        viewer_ = std::make_unique<CFileViewerWindow>(context.instance, frame_->hwnd(), *fs,
                                                      profile, nullptr);
        frame_->SetFileViewer(viewer_.get());
    }

    void TearDown() override {
        if (frame_)
            frame_->SetFileViewer(nullptr);
        viewer_.reset();
        frame_.reset();
    }

    void Search(const std::string& expression, const std::string& mask) {
        RunFrameSearch(*frame_, tree.root(), expression, mask);
    }

    LRESULT Command(WORD id) { return SendFrameCommand(*frame_, id); }

    CFileFindDoc& Page() { return *frame_->document().CurrentPage(); }

    // Whether the viewer's menu offers "&Print..." now.
    bool PrintOffered() {
        const HMENU file = GetSubMenu(GetMenu(viewer_->hwnd()), 0);
        SendMessageW(viewer_->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
        return !(GetMenuState(file, ID_VIEWER_PRINT, MF_BYCOMMAND) & MF_GRAYED);
    }

    // The messages posted so far, handled.
    void Pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    std::wstring Title() { return kestrix::ui::WindowText(viewer_->hwnd()); }

    // The control's text with every paragraph end as one CR, as positions count.
    std::wstring Shown() {
        GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE | GTL_USECRLF, 1200};
        const LRESULT count = SendMessageW(viewer_->edit(), EM_GETTEXTLENGTHEX,
                                           reinterpret_cast<WPARAM>(&length), 0);
        std::wstring text(static_cast<std::size_t>(count) + 1, L'\0');
        GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_DEFAULT, 1200,
                      nullptr, nullptr};
        const LRESULT copied = SendMessageW(viewer_->edit(), EM_GETTEXTEX,
                                            reinterpret_cast<WPARAM>(&get),
                                            reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<std::size_t>(copied));
        return text;
    }

    std::wstring Range(long from, long to) {
        return Shown().substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    }

    std::wstring Selected() {
        CHARRANGE range{};
        SendMessageW(viewer_->edit(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        return Range(range.cpMin, range.cpMax);
    }

    COLORREF BackgroundAt(long position) {
        SendMessageW(viewer_->edit(), EM_SETSEL, position, position + 1);
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        SendMessageW(viewer_->edit(), EM_GETCHARFORMAT, SCF_SELECTION,
                     reinterpret_cast<LPARAM>(&format));
        return (format.dwMask & CFM_BACKCOLOR) && !(format.dwEffects & CFE_AUTOBACKCOLOR)
                   ? format.crBackColor
                   : GetSysColor(COLOR_WINDOW);
    }

    // Every passage of the file shown is marked where the control shows its text.
    void ExpectPassagesMarked(const std::wstring& passage) {
        const CFileViewer& model = viewer_->model();
        ASSERT_FALSE(model.positions().empty());
        const std::wstring shown = Shown();
        for (std::size_t k = 0; k < model.positions().size(); ++k) {
            SCOPED_TRACE(k);
            const long at = model.positions()[k];
            EXPECT_EQ(passage, shown.substr(static_cast<std::size_t>(at), passage.size()));
            EXPECT_EQ(kMarked, BackgroundAt(at));
        }
    }

    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<CFileViewerWindow> viewer_;
};

TEST_F(FileViewerWindowTest, StepsShowEachPassageMarkedAndSelectedInItsFile) {
    tree.Write("Alpha.txt", "The grey cat sat.\r\nA grey dog ran.\n\nStill grey.\n");
    tree.Write("Beta.txt", "Blue sky over grey roofs.\n");
    Open();
    EXPECT_FALSE(frame_->enabled(CCommand::OpenInRegisteredApplication));
    Search("grey", "*.txt");
    ASSERT_EQ(4u, Page().results.size());

    Command(ID_NEXT_FILE);
    EXPECT_TRUE(IsWindowVisible(viewer_->hwnd()));
    EXPECT_EQ(L"Alpha.txt", Title());
    EXPECT_EQ(L"The grey cat sat.\rA grey dog ran.\r\rStill grey.\r", Shown());
    EXPECT_EQ(L"grey", Selected());
    ExpectPassagesMarked(L"grey");
    EXPECT_EQ(tree.Path("Alpha.txt"), viewer_->ShownFile());
    EXPECT_TRUE(frame_->enabled(CCommand::OpenInRegisteredApplication)) << "F9";

    // A step within the file selects only: what the control shows is not read again.
    tree.Write("Alpha.txt", "changed on disk\n");
    const struct {
        WORD command;
        long selectedFrom;
    } steps[] = {{ID_NEXT_RESULT, 20}, {ID_NEXT_RESULT, 41}, {ID_PREVIOUS_RESULT, 20}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.selectedFrom);
        Command(step.command);
        CHARRANGE range{};
        SendMessageW(viewer_->edit(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        EXPECT_EQ(step.selectedFrom, range.cpMin);
        EXPECT_EQ(L"grey", Selected());
        EXPECT_EQ(L"The grey cat sat.\rA grey dog ran.\r\rStill grey.\r", Shown());
    }

    // Another file is loaded.
    Command(ID_NEXT_FILE);
    EXPECT_EQ(L"Beta.txt", Title());
    EXPECT_EQ(L"Blue sky over grey roofs.\r", Shown());
    EXPECT_EQ(L"grey", Selected());

    // Closed, the viewer shows no file; the next step opens it again.
    SendMessageW(viewer_->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(viewer_->hwnd()));
    EXPECT_EQ("", viewer_->ShownFile());
    EXPECT_FALSE(frame_->enabled(CCommand::OpenInRegisteredApplication));
    Command(ID_PREVIOUS_FILE);
    EXPECT_TRUE(IsWindowVisible(viewer_->hwnd()));
    EXPECT_EQ(L"changed on disk\r", Shown()) << "loaded anew";
}

// A UTF-8 file's characters that the code page lacks are shown as themselves; one
// outside the BMP takes two of the control's positions, and the passage after it is
// still marked and selected where the control shows it.
TEST_F(FileViewerWindowTest, ADecodedFileShowsItsOwnCharactersWithItsPassageMarked) {
    tree.Write("Polish.txt", "Bia\xC5\x82ka \xF0\x9F\x98\x80 sah den H\xC3\xBCgel.\n");
    Open();
    Search("H\xFCgel", "*.txt");
    ASSERT_EQ(1u, Page().results.size());
    Command(ID_NEXT_FILE);
    EXPECT_EQ(L"Bia\u0142ka \U0001F600 sah den H\u00FCgel.\r", Shown());
    EXPECT_EQ(L"H\u00FCgel", Selected());
    const long hill = static_cast<long>(Shown().find(L"H\u00FCgel"));
    EXPECT_EQ(kMarked, BackgroundAt(hill));
    EXPECT_EQ(kMarked, BackgroundAt(hill + 4));
    EXPECT_NE(kMarked, BackgroundAt(hill - 2));
    EXPECT_NE(kMarked, BackgroundAt(hill + 5));
}

TEST_F(FileViewerWindowTest, RtfIsShownFormattedOrAsItsSourceAndHtmlAsItsText) {
    tree.Write("Letter.rtf",
               "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Dear \\b grey\\b0  friend,\\par "
               "the {\\i grey} hills\\par}");
    tree.Write("Page.html", "<html><head><title>T</title></head><body><p>A <b>grey</b> bird</p>"
                            "<p>on a grey roof</p></body></html>");
    Open();

    Search("grey", "*.rtf");
    ASSERT_EQ(2u, Page().results.size());
    Command(ID_NEXT_FILE);
    EXPECT_EQ(L"Letter.rtf", Title());
    EXPECT_EQ(std::wstring::npos, Shown().find(L"rtf1")) << "formatted: " << Narrow(Shown());
    EXPECT_EQ(L"grey", Selected());
    ExpectPassagesMarked(L"grey");

    // Without the internal filter the search saw the source, and the viewer shows it.
    profile.WriteInt("Options", "UseInternalFilter", 0);
    Search("grey", "*.rtf");
    ASSERT_EQ(2u, Page().results.size());
    Command(ID_NEXT_FILE);
    EXPECT_EQ(0u, Shown().find(L"{/rtf1\\ansi")) << Narrow(Shown());
    EXPECT_EQ(L"grey", Selected());
    ExpectPassagesMarked(L"grey");
    profile.WriteInt("Options", "UseInternalFilter", 1);

    Search("grey", "*.html");
    ASSERT_EQ(2u, Page().results.size());
    Command(ID_NEXT_FILE);
    EXPECT_EQ(L"Page.html", Title());
    EXPECT_EQ(std::wstring::npos, Shown().find(L"<p>")) << Narrow(Shown());
    EXPECT_NE(std::wstring::npos, Shown().find(L"A grey bird")) << Narrow(Shown());
    ExpectPassagesMarked(L"grey");
    Command(ID_NEXT_RESULT);
    EXPECT_EQ(L"grey", Selected());
}

TEST_F(FileViewerWindowTest, APictureListedByAnEmptyExpressionIsShownAsAPicture) {
    tree.Write("Dot.bmp", TinyBitmap());
    tree.Write("Notes.txt", "a note\n");
    Open();
    Search("", "*.bmp | *.txt");
    ASSERT_EQ(2u, Page().results.size());
    // Which entry the caret leaves current after a listing follows the control's
    // selection notices; step onto the bitmap from wherever it is.
    const int bitmap = Page().results[0].name == "Dot.bmp" ? 0 : 1;
    if (Page().current == bitmap)
        Command(bitmap == 0 ? ID_NEXT_FILE : ID_PREVIOUS_FILE);
    Command(Page().current < bitmap ? ID_NEXT_FILE : ID_PREVIOUS_FILE);
    EXPECT_EQ(L"Dot.bmp", Title());
    EXPECT_TRUE(viewer_->showsPicture());
    EXPECT_FALSE(IsWindowVisible(viewer_->edit()));
    EXPECT_EQ(tree.Path("Dot.bmp"), viewer_->ShownFile());
    EXPECT_FALSE(PrintOffered()) << "a picture is not printed";

    // The text of the next file takes the picture's place.
    Command(ID_NEXT_FILE);
    EXPECT_EQ(L"Notes.txt", Title());
    EXPECT_FALSE(viewer_->showsPicture());
    EXPECT_TRUE(IsWindowVisible(viewer_->edit()));
    EXPECT_EQ(L"a note\r", Shown());
    EXPECT_TRUE(PrintOffered());
}

TEST_F(FileViewerWindowTest, TheViewerFontOfTheOptionsIsTheControlsDefault) {
    tree.Write("Alpha.txt", "The grey cat.\n");
    Open();
    CViewerFont font;
    font.faceName = "Courier New";
    font.height = 140;
    font.style = kFontItalic;
    CAppSettings(profile).SetViewerFont(font);
    Search("grey", "*.txt");
    Command(ID_NEXT_FILE);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(viewer_->edit(), EM_SETSEL, 0, 3);
    SendMessageW(viewer_->edit(), EM_GETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(std::wstring(L"Courier New"), format.szFaceName);
    EXPECT_EQ(14 * 20, format.yHeight);
    EXPECT_TRUE(format.dwEffects & CFE_ITALIC);

    // Confirmed options reach the text shown at once.
    font.faceName = "Times New Roman";
    font.height = 120;
    font.style = 0;
    CAppSettings(profile).SetViewerFont(font);
    viewer_->OptionsChanged();
    SendMessageW(viewer_->edit(), EM_SETSEL, 0, 3);
    SendMessageW(viewer_->edit(), EM_GETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(std::wstring(L"Times New Roman"), format.szFaceName);
    EXPECT_EQ(12 * 20, format.yHeight);
    EXPECT_FALSE(format.dwEffects & CFE_ITALIC);
}

TEST_F(FileViewerWindowTest, EnterOnAResultLineShowsItsPassage) {
    tree.Write("Alpha.txt", "one grey\ntwo grey\n");
    Open();
    Search("grey", "*.txt");
    ASSERT_EQ(2u, Page().results.size());
    const HWND results = frame_->tabView().resultView();
    const long line = Page().results[1].viewPosition;
    SendMessageW(results, EM_SETSEL, line, line);
    SendMessageW(results, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(1, Page().current);
    EXPECT_EQ(L"Alpha.txt", Title());
    CHARRANGE range{};
    SendMessageW(viewer_->edit(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(13, range.cpMin) << "the second passage";
    EXPECT_EQ(L"grey", Selected());
}

// A replacement rewrites the file the viewer shows: it shows the new text where the user
// looked, with the passages still to replace marked and the replaced one not.
TEST_F(FileViewerWindowTest, AReplacementShowsTheRewrittenFileInPlace) {
    std::string filler;
    for (int line = 0; line < 120; ++line)
        filler += "filler line " + std::to_string(line) + "\n";
    tree.Write("Alpha.txt", filler + "grey cat, grey dog\n" + filler);
    Open();
    frame_->propertyBar().ActivatePage(CDefinitionPageKind::Replace);
    frame_->propertyBar().replacePage().SetValues({"azure", 0});
    dialogs.confirmations = {{CReplaceAnswer::Yes, false}, {CReplaceAnswer::No, false}};
    Search("grey", "*.txt");
    ASSERT_EQ(filler + "azure cat, grey dog\n" + filler, tree.Read("Alpha.txt"));
    Pump();

    const std::wstring shown = Shown();
    const std::size_t line = shown.find(L"azure cat, grey dog\r");
    ASSERT_NE(std::wstring::npos, line) << "the rewritten file is shown";
    const long azure = static_cast<long>(line);
    const long grey = azure + 11;
    // The walk writes a file once it has asked about all its passages; the viewer then
    // shows the rewritten file with the replaced passage selected.
    EXPECT_EQ(L"azure", Selected());
    EXPECT_EQ(kMarked, BackgroundAt(grey));
    EXPECT_NE(kMarked, BackgroundAt(azure)) << "a replaced passage is no found passage";

    // The view stays where it was when the file is read again.
    CFileFindDoc& page = Page();
    ASSERT_TRUE(viewer_->ShowResult(page, 0));
    POINT before{};
    SendMessageW(viewer_->edit(), EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&before));
    ASSERT_GT(before.y, 0);
    tree.Write("Alpha.txt", filler + "azure cat, grey dog\n" + filler + "appended\n");
    viewer_->ResultReplaced(page, 0, 0);
    Pump();
    POINT after{};
    SendMessageW(viewer_->edit(), EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&after));
    EXPECT_EQ(before.y, after.y);
    EXPECT_NE(std::wstring::npos, Shown().find(L"appended\r"));
    EXPECT_EQ(L"azure", Selected());
}

// Replacing every passage of a shown file rewrites it once and shows it once more, not
// once per passage.
TEST_F(FileViewerWindowTest, ReplacingManyPassagesOfAFileShowsItOnceMore) {
    tree.Write("Alpha.txt", "grey one\ngrey two\ngrey three\ngrey four\n");
    Open();
    frame_->propertyBar().ActivatePage(CDefinitionPageKind::Replace);
    frame_->propertyBar().replacePage().SetValues({"azure", 0});
    dialogs.confirmations = {{CReplaceAnswer::Yes, true}};
    Search("grey", "*.txt");
    ASSERT_EQ("azure one\nazure two\nazure three\nazure four\n", tree.Read("Alpha.txt"));
    Pump();
    EXPECT_EQ(2, viewer_->contentsSet()) << "shown for the first question, then rewritten";
    EXPECT_FALSE(viewer_->model().reloadDue());
    EXPECT_NE(std::wstring::npos, Shown().find(L"azure four\r"));
    EXPECT_EQ(L"azure", Selected());
}

// The viewer of a later session opens where the user left it, unless that place is on
// a monitor the user no longer has.
TEST_F(FileViewerWindowTest, TheViewerComesBackWhereTheUserLeftItOnTheScreen) {
    tree.Write("Alpha.txt", "grey\n");
    Open();
    Search("grey", "*.txt");
    const auto reopen = [this] {
        frame_->SetFileViewer(nullptr);
        viewer_ = std::make_unique<CFileViewerWindow>(context.instance, frame_->hwnd(), *fs,
                                                      profile, nullptr);
        frame_->SetFileViewer(viewer_.get());
        EXPECT_TRUE(viewer_->ShowResult(Page(), 0));
        RECT rect{};
        GetWindowRect(viewer_->hwnd(), &rect);
        return rect;
    };
    ASSERT_TRUE(viewer_->ShowResult(Page(), 0));
    MoveWindow(viewer_->hwnd(), 40, 50, 500, 400, TRUE);
    SendMessageW(viewer_->hwnd(), WM_CLOSE, 0, 0);

    const RECT back = reopen();
    EXPECT_EQ(40, back.left);
    EXPECT_EQ(50, back.top);
    EXPECT_EQ(540, back.right);
    EXPECT_EQ(450, back.bottom);

    // Closed first: a viewer open when it goes keeps its own place.
    SendMessageW(viewer_->hwnd(), WM_CLOSE, 0, 0);
    CWindowPlacementValue gone;
    gone.showCommand = SW_SHOWNORMAL;
    gone.left = 30000;
    gone.top = 200;
    gone.right = 30600;
    gone.bottom = 700;
    CAppSettings(profile).SetViewerWindowPlacement(gone);
    const RECT onScreen = reopen();
    EXPECT_EQ(600, onScreen.right - onScreen.left) << "its size is kept";
    EXPECT_LE(onScreen.right, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_GE(onScreen.left, 0);
    EXPECT_EQ(200, onScreen.top);

    // Open when the program ends, its place is kept too.
    MoveWindow(viewer_->hwnd(), 60, 70, 400, 300, TRUE);
    frame_->SetFileViewer(nullptr);
    viewer_.reset();
    CWindowPlacementValue kept;
    ASSERT_TRUE(CAppSettings(profile).ViewerWindowPlacement(kept));
    EXPECT_EQ(60, kept.left);
    EXPECT_EQ(370, kept.bottom);
}

// How many pixels of the sheets that `preview` draws in `width` x `height` are dark:
// those of the text, the sheets being white with a slate edge.
int DarkPixelsOnSheets(CPrintPreviewWindow& preview, int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    preview.Draw(memory, width, height);
    int dark = 0;
    for (const CPreviewRect& sheet : preview.model()->PageRects(
             width, height, preview.page().paperWidth, preview.page().paperHeight))
        for (int y = std::max(sheet.top + 1, 0); y < std::min(sheet.bottom - 1, height); ++y)
            for (int x = std::max(sheet.left + 1, 0); x < std::min(sheet.right - 1, width); ++x) {
                const COLORREF pixel = GetPixel(memory, x, y);
                if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 100)
                    ++dark;
            }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return dark;
}

// The preview shows the viewer's text on sheets of the page setup's paper, one or two
// at a time as the user last chose; without a printer the screen lays the text out.
TEST_F(FileViewerWindowTest, ThePrintPreviewDrawsThePagesOfTheShownText) {
    tree.Write("Alpha.txt", "grey\n");
    Open();
    Search("grey", "*.txt");
    ASSERT_TRUE(viewer_->ShowResult(Page(), 0));
    SendMessageW(viewer_->hwnd(), WM_COMMAND, MAKEWPARAM(ID_VIEWER_PREVIEW, 0), 0);
    CPrintPreviewWindow& preview = viewer_->preview();
    ASSERT_NE(nullptr, preview.model());
    EXPECT_TRUE(IsWindowVisible(preview.hwnd()));
    EXPECT_GE(preview.model()->pageCount(), 1u);
    EXPECT_EQ(1, preview.model()->pagesAtOnce());
    EXPECT_GT(preview.page().paperHeight, preview.page().paperWidth) << "portrait";

    // Drawn into memory: the sheets in white on the workspace colour.
    const auto drawn = [&](int width, int height, int x, int y) {
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        preview.Draw(memory, width, height);
        const COLORREF pixel = GetPixel(memory, x, y);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return pixel;
    };
    const std::vector<CPreviewRect> one = preview.model()->PageRects(
        400, 300, preview.page().paperWidth, preview.page().paperHeight);
    ASSERT_EQ(1u, one.size());
    EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE), drawn(400, 300, 2, 2));
    EXPECT_EQ(RGB(96, 96, 112), drawn(400, 300, one[0].left, one[0].top + 20))
        << "the sheet's edge";
    EXPECT_EQ(RGB(255, 255, 255), drawn(400, 300, one[0].left + 3, one[0].top + 3))
        << "its margin";

    // The text is on the sheet, and grows with the zoom (keys and menu alike).
    const int fit = DarkPixelsOnSheets(preview, 800, 1000);
    EXPECT_GT(fit, 0) << "the text is drawn on the sheet";
    SendMessageW(preview.hwnd(), WM_KEYDOWN, VK_ADD, 0);
    SendMessageW(preview.hwnd(), WM_COMMAND, MAKEWPARAM(ID_PREVIEW_ZOOM_IN, 0), 0);
    EXPECT_EQ(200, preview.model()->zoomPercent());
    EXPECT_GT(DarkPixelsOnSheets(preview, 800, 1000), fit);
    SendMessageW(preview.hwnd(), WM_KEYDOWN, VK_SUBTRACT, 0);
    SendMessageW(preview.hwnd(), WM_KEYDOWN, VK_SUBTRACT, 0);
    EXPECT_EQ(100, preview.model()->zoomPercent());

    // Many lines make many pages; another text shown is laid out anew before it is
    // drawn, the view kept where it can be.
    std::string lines;
    for (int line = 0; line < 400; ++line)
        lines += "grey line " + std::to_string(line) + "\n";
    tree.Write("Beta.txt", lines);
    Search("grey", "*.txt");
    ASSERT_TRUE(viewer_->ShowResult(Page(), 0));
    ASSERT_TRUE(viewer_->ShowResult(Page(), 1));
    EXPECT_GT(preview.model()->pageCount(), 2u) << viewer_->ShownFile();
    SendMessageW(preview.hwnd(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(1u, preview.model()->first());
    EXPECT_GT(DarkPixelsOnSheets(preview, 800, 1000), 0) << "the second page has text too";
    const int layouts = preview.layouts();
    preview.Refresh();
    preview.Refresh();
    preview.model();
    EXPECT_EQ(layouts + 1, preview.layouts()) << "laid out once, when it is drawn next";

    // Two pages at once are what the next preview shows, too.
    SendMessageW(preview.hwnd(), WM_COMMAND, MAKEWPARAM(ID_PREVIEW_TWO_PAGES, 0), 0);
    EXPECT_EQ(2, preview.model()->pagesAtOnce());
    EXPECT_EQ(2, CAppSettings(profile).PreviewPages());
    SendMessageW(preview.hwnd(), WM_COMMAND, MAKEWPARAM(ID_PREVIEW_CLOSE, 0), 0);
    EXPECT_FALSE(IsWindowVisible(preview.hwnd()));

    // A landscape page setup turns the sheets.
    CPageSetup setup;
    setup.orientation = kOrientationLandscape;
    CAppSettings(profile).SetPageSetup(setup);
    SendMessageW(viewer_->hwnd(), WM_COMMAND, MAKEWPARAM(ID_VIEWER_PREVIEW, 0), 0);
    EXPECT_GT(preview.page().paperWidth, preview.page().paperHeight);

    // The result page has its own preview, of the page's text.
    Command(ID_FILE_PRINT_PREVIEW);
    CPrintPreviewWindow& pagePreview = frame_->printPreview();
    ASSERT_NE(nullptr, pagePreview.model());
    EXPECT_TRUE(IsWindowVisible(pagePreview.hwnd()));
    EXPECT_EQ(2, pagePreview.model()->pagesAtOnce()) << "as the user chose last";
    // Two landscape sheets side by side: wide enough for the text to be legible.
    EXPECT_GT(DarkPixelsOnSheets(pagePreview, 2000, 1400), 0);

    // A new search changes the page's text: the open preview follows it.
    const int pageLayouts = pagePreview.layouts();
    Search("grey", "*.txt");
    pagePreview.model();
    EXPECT_GT(pagePreview.layouts(), pageLayouts);
}

// Ctrl+P prints the result page, and the page setup is in the main window's menu.
TEST_F(FileViewerWindowTest, PrintHasItsKeyAndPageSetupItsMenuItem) {
    Open();
    const HACCEL table = LoadAcceleratorsW(context.instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(nullptr, table);
    ACCEL keys[64] = {};
    const int count = CopyAcceleratorTableW(table, keys, 64);
    bool print = false;
    for (int k = 0; k < count; ++k)
        print = print || (keys[k].cmd == ID_FILE_PRINT && keys[k].key == 'P' &&
                          (keys[k].fVirt & FCONTROL) && (keys[k].fVirt & FVIRTKEY));
    EXPECT_TRUE(print) << "Ctrl+P";
    const HMENU file = GetSubMenu(GetMenu(frame_->hwnd()), 0);
    EXPECT_NE(static_cast<UINT>(-1), GetMenuState(file, ID_FILE_PAGE_SETUP, MF_BYCOMMAND));
}

} // namespace
} // namespace sorbex
