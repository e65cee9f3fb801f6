// Drag and drop through real OLE: the data object's formats and renderings, its
// enumerator, what a drag's result means, the pane's drop target, and the clipboard
// read by a second process.
#include "bookmarks/win32/DataObject.h"
#include "bookmarks/win32/DropSource.h"
#include "bookmarks/win32/DropTarget.h"
#include "bookmarks/win32/FormatEnumerator.h"

#include "bookmarks/BookmarkNames.h"
#include "host/win32/DataTransfer.h"
#include "platform/testing/TempTree.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

namespace keywright {
namespace {

constexpr char kLocation[] = "My Computer\\HKEY_CURRENT_USER\\Env:Pa%3Ath";

class TransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        fs = kestrix::MakeSystemFileSystem();
        environment.oleInitialized = true;
        environment.privateFormat = RegisterClipboardFormatW(kClipboardFormatName);
        environment.fs = fs.get();
        environment.temporaryFiles = &temporaryFiles;
        environment.temporaryFolder = temporary.root();
        environment.show = [this](const std::string& text) { shown.push_back(text); };
        environment.trace = [this](const char* line) { traced += line; };
    }
    void TearDown() override { OleUninitialize(); }

    FORMATETC Format(UINT format, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT) {
        return FORMATETC{static_cast<CLIPFORMAT>(format), nullptr, aspect, -1, tymed};
    }

    kestrix::TempTree temporary;
    std::unique_ptr<kestrix::FileSystem> fs;
    TemporaryFiles temporaryFiles;
    TransferEnvironment environment;
    std::vector<std::string> shown;
    std::string traced;
};

std::string BlockBytes(HGLOBAL block) {
    std::string bytes(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
    GlobalUnlock(block);
    return bytes;
}

TEST_F(TransferTest, DataObjectOffersItsThreeFormats) {
    ComPtr<IDataObject> data(CMDataObject::Create({kLocation, ""}, environment));
    ASSERT_TRUE(data);
    struct Case {
        const char* name;
        FORMATETC format;
        HRESULT expected;
    } cases[] = {
        {"text", Format(CF_TEXT), S_OK},
        {"files", Format(CF_HDROP), S_OK},
        {"private", Format(environment.privateFormat), S_OK},
        {"several media", Format(CF_TEXT, TYMED_HGLOBAL | TYMED_ISTREAM), S_OK},
        {"wide text", Format(CF_UNICODETEXT), DV_E_FORMATETC},
        {"stream", Format(CF_TEXT, TYMED_ISTREAM), DV_E_FORMATETC},
        {"thumbnail", Format(CF_TEXT, TYMED_HGLOBAL, DVASPECT_THUMBNAIL), DV_E_FORMATETC},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, data->QueryGetData(&c.format));
        STGMEDIUM medium{};
        HRESULT got = data->GetData(&c.format, &medium);
        EXPECT_EQ(c.expected, got);
        if (got == S_OK) {
            EXPECT_EQ(static_cast<DWORD>(TYMED_HGLOBAL), medium.tymed);
            ReleaseStgMedium(&medium);
        }
    }
    FORMATETC text = Format(CF_TEXT), canonical{};
    EXPECT_EQ(DATA_S_SAMEFORMATETC, data->GetCanonicalFormatEtc(&text, &canonical));
    EXPECT_EQ(nullptr, canonical.ptd);
    EXPECT_EQ(CF_TEXT, canonical.cfFormat);
    STGMEDIUM medium{};
    EXPECT_EQ(DV_E_FORMATETC, data->GetDataHere(&text, &medium));
    EXPECT_EQ(DV_E_FORMATETC, data->SetData(&text, &medium, FALSE));
    DWORD connection = 0;
    EXPECT_EQ(E_NOTIMPL, data->DAdvise(&text, 0, nullptr, &connection));
    EXPECT_EQ(E_NOTIMPL, data->DUnadvise(0));
    EXPECT_NE(std::string::npos, traced.find("In CMDataObject::QueryGetData\r\n"));
    EXPECT_NE(std::string::npos, traced.find("In CMDataObject::render_text\r\n"));
}

TEST_F(TransferTest, EnumeratorWalksTheFormatsInOrder) {
    ComPtr<IDataObject> data(CMDataObject::Create({kLocation, ""}, environment));
    ComPtr<IEnumFORMATETC> formats;
    ASSERT_EQ(S_OK, data->EnumFormatEtc(DATADIR_GET, formats.Receive()));
    FORMATETC got[4] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, formats->Next(4, got, &fetched));
    ASSERT_EQ(3u, fetched);
    EXPECT_EQ(CF_TEXT, got[0].cfFormat);
    EXPECT_EQ(CF_HDROP, got[1].cfFormat);
    EXPECT_EQ(environment.privateFormat, got[2].cfFormat);
    for (const FORMATETC& f : got)
        if (f.cfFormat) {
            EXPECT_EQ(static_cast<DWORD>(DVASPECT_CONTENT), f.dwAspect);
            EXPECT_EQ(-1, f.lindex);
            EXPECT_EQ(static_cast<DWORD>(TYMED_HGLOBAL), f.tymed);
        }
    EXPECT_EQ(S_OK, formats->Reset());
    EXPECT_EQ(S_OK, formats->Skip(1));
    ComPtr<IEnumFORMATETC> clone;
    ASSERT_EQ(S_OK, formats->Clone(clone.Receive()));
    EXPECT_EQ(S_OK, clone->Next(1, got, nullptr));
    EXPECT_EQ(CF_HDROP, got[0].cfFormat) << "a clone starts where its original is";
    EXPECT_EQ(S_FALSE, formats->Skip(5));
    EXPECT_EQ(S_FALSE, formats->Next(1, got, &fetched));
    EXPECT_EQ(0u, fetched);
    ComPtr<IEnumFORMATETC> none;
    EXPECT_EQ(E_FAIL, data->EnumFormatEtc(DATADIR_SET, none.Receive()));
}

TEST_F(TransferTest, TextIsTheWholeListAndFilesADropFilesBlock) {
    ComPtr<IDataObject> data(CMDataObject::Create({kLocation, "Mine.url"}, environment));
    FORMATETC text = Format(CF_TEXT);
    STGMEDIUM medium{};
    ASSERT_EQ(S_OK, data->GetData(&text, &medium));
    EXPECT_EQ(0u, BlockBytes(medium.hGlobal).find(std::string(kLocation) + '\0' + "Mine.url" + '\0'));
    ReleaseStgMedium(&medium);

    FORMATETC files = Format(CF_HDROP);
    ASSERT_EQ(S_OK, data->GetData(&files, &medium));
    const std::string path = temporary.Path("Mine.url");
    std::string block = BlockBytes(medium.hGlobal);
    ASSERT_EQ(path.size() + 22, block.size());
    DROPFILES header;
    std::memcpy(&header, block.data(), sizeof header);
    EXPECT_EQ(20u, header.pFiles);
    EXPECT_FALSE(header.fWide);
    EXPECT_EQ(0, header.pt.x);
    EXPECT_EQ(path + std::string(2, '\0'), block.substr(20));
    auto drop = static_cast<HDROP>(medium.hGlobal);
    EXPECT_EQ(1u, DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0));
    ReleaseStgMedium(&medium);
    EXPECT_EQ(UrlFileText(kLocation), temporary.Read("Mine.url"));

    // A second rendering writes the file again but records it once.
    ASSERT_EQ(S_OK, data->GetData(&files, &medium));
    ReleaseStgMedium(&medium);
    ASSERT_EQ(1u, temporaryFiles.paths().size());
    temporaryFiles.DeleteAll(*fs);
    EXPECT_EQ("", temporary.Read("Mine.url"));
    EXPECT_TRUE(shown.empty());

    // A folder that cannot be written fails the rendering with the file's message.
    environment.temporaryFolder = temporary.Path("missing");
    ComPtr<IDataObject> failing(CMDataObject::Create({kLocation, ""}, environment));
    EXPECT_TRUE(FAILED(failing->GetData(&files, &medium)));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(0u, shown[0].find("CreateURLFile():Failed to Create "));
}

TEST(DragOutcome, OnlyADropThatTookSomethingCountsAsDropped) {
    struct Case {
        HRESULT result;
        DWORD effect;
        DragOutcome expected;
    } cases[] = {
        {DRAGDROP_S_DROP, DROPEFFECT_COPY, DragOutcome::Dropped},
        {S_OK, DROPEFFECT_COPY, DragOutcome::Dropped},
        {DRAGDROP_S_DROP, DROPEFFECT_MOVE, DragOutcome::Dropped},
        // The receiver refused: nothing was taken, so the source must stay.
        {DRAGDROP_S_DROP, DROPEFFECT_NONE, DragOutcome::Cancelled},
        {DRAGDROP_S_CANCEL, DROPEFFECT_NONE, DragOutcome::Cancelled},
        {E_OUTOFMEMORY, DROPEFFECT_NONE, DragOutcome::NotPossible},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        EXPECT_EQ(c.expected, OutcomeOfDrag(c.result, c.effect));
    }
    ComPtr<IDropSource> source(CMDropSource::Create());
    EXPECT_EQ(DRAGDROP_S_CANCEL, source->QueryContinueDrag(TRUE, MK_LBUTTON));
    EXPECT_EQ(DRAGDROP_S_DROP, source->QueryContinueDrag(FALSE, 0));
    EXPECT_EQ(S_OK, source->QueryContinueDrag(FALSE, MK_LBUTTON));
    EXPECT_EQ(DRAGDROP_S_USEDEFAULTCURSORS, source->GiveFeedback(DROPEFFECT_COPY));
}

TEST_F(TransferTest, ADragWithoutOleIsNotPossible) {
    environment.oleInitialized = false;
    EXPECT_EQ(DragOutcome::NotPossible, StartDrag(environment, {kLocation, ""}));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("OleInitialize failed", shown[0]);
}

// A drag that ends at once, over no window that takes drops: the system reports a
// drop that nobody took, which must not count as dropped (the pane would delete the
// dragged bookmark).
TEST_F(TransferTest, ADropThatNobodyTookIsNoDrop) {
    EXPECT_EQ(DragOutcome::Cancelled, StartDrag(environment, {kLocation, "Mine.url"}));
    EXPECT_TRUE(shown.empty());
}

class RecordingHost : public DropTargetHost {
public:
    void HighlightAt(POINT screen) override {
        highlighted = true;
        last = screen;
    }
    void ClearHighlight() override { highlighted = false; }
    bool DropOnHighlight(const LocationList& list) override {
        dropped.push_back(list);
        return accept;
    }
    bool highlighted = false;
    POINT last{};
    bool accept = true;
    std::vector<LocationList> dropped;
};

// Data that only text receivers would take.
class TextOnlyData : public ComObject<IDataObject> {
public:
    static IDataObject* Create() { return new TextOnlyData(); }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
        if (f->cfFormat != CF_TEXT)
            return DV_E_FORMATETC;
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8);
        m->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
        return f->cfFormat == CF_TEXT ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
};

TEST_F(TransferTest, DropTargetTakesOnlyThePrivateFormat) {
    RecordingHost host;
    ComPtr<IDropTarget> target(CMDropTarget::Create(host, environment.privateFormat));
    ComPtr<IDataObject> data(CMDataObject::Create({kLocation, "Mine.url"}, environment));
    const POINTL at{40, 50};

    struct Case {
        DWORD keys;
        DWORD allowed;
        DWORD expected;
    } enters[] = {
        {MK_LBUTTON, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {MK_LBUTTON, DROPEFFECT_COPY, DROPEFFECT_COPY}, // what our own drags allow
    };
    for (const Case& c : enters) {
        SCOPED_TRACE(c.expected);
        DWORD effect = c.allowed;
        EXPECT_EQ(S_OK, target->DragEnter(data.get(), c.keys, at, &effect));
        EXPECT_EQ(c.expected, effect);
        EXPECT_TRUE(host.highlighted);
        EXPECT_EQ(40, host.last.x);
        EXPECT_EQ(S_OK, target->DragLeave());
        EXPECT_FALSE(host.highlighted);
    }
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(data.get(), MK_LBUTTON, at, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, target->DragOver(MK_LBUTTON, POINTL{41, 51}, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    EXPECT_EQ(41, host.last.x);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, target->Drop(data.get(), 0, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    EXPECT_FALSE(host.highlighted);
    ASSERT_EQ(1u, host.dropped.size());
    EXPECT_EQ(kLocation, host.dropped[0].location);
    EXPECT_EQ("Mine.url", host.dropped[0].fileName);

    host.accept = false;
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(E_FAIL, target->Drop(data.get(), 0, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);

    ComPtr<IDataObject> text(TextOnlyData::Create());
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, target->DragEnter(text.get(), MK_LBUTTON, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, target->DragOver(MK_LBUTTON, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(E_FAIL, target->Drop(text.get(), 0, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    EXPECT_EQ(2u, host.dropped.size()) << "text alone never reaches the pane";
}

std::string ProbePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return ReplaceLastComponent(path, "keywright_clipboard_probe.exe");
}

// Runs the probe while this thread answers the clipboard's requests to render.
DWORD RunProbe(const std::string& location) {
    std::string command = "\"" + ProbePath() + "\" \"" + location + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 1000;
    CloseHandle(process.hThread);
    DWORD code = 1001;
    const DWORD deadline = GetTickCount() + 60000;
    while (GetTickCount() < deadline) {
        DWORD wait = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 1000, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) {
            GetExitCodeProcess(process.hProcess, &code);
            break;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (code == 1001)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return code;
}

TEST_F(TransferTest, AnotherProcessReadsTheClipboardAsTextAndAsAFile) {
    const std::string location = "My Computer\\HKEY_CURRENT_USER\\Software";
    ComPtr<IDataObject> data(CMDataObject::Create({location, ""}, environment));
    ASSERT_EQ(S_OK, OleSetClipboard(data.get()));
    EXPECT_EQ(0u, RunProbe(location)) << "see the probe's exit codes";
    EXPECT_EQ(S_OK, OleSetClipboard(nullptr));
    ASSERT_EQ(1u, temporaryFiles.paths().size());
    EXPECT_EQ(temporary.Path("HKEY_CURRENT_USER-Software.url"), temporaryFiles.paths()[0]);
    temporaryFiles.DeleteAll(*fs);
}

} // namespace
} // namespace keywright
