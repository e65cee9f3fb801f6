// The preview window: a registry file's keys in a tree and the selected key's values in
// a list, split by a bar that can be dragged; what it shows comes from PreviewRows and
// where it goes from PreviewLayout.
#include "preview/win32/PreviewWindow.h"

#include "host/win32/AddinMessageBox.h"
#include "host/win32/AddinMessages.h"
#include "host/win32/SplitterClass.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/ui/Dialog.h"
#include "platform/win32/ui/Gdi.h"
#include "preview/PreviewLayout.h"
#include "preview/PreviewRows.h"
#include "preview/RE4Reader.h"
#include "preview/win32/PreviewWindowIds.h"
#include "resources/KeywrightResources.h"
#include "settings/SettingsStore.h"
#include "strings/KeywrightStrings.h"

#include <commctrl.h>

#include <memory>
#include <optional>

namespace keywright {

namespace {

using kestrix::WideFromAnsi;

// The paint messages one progress report dispatches at most: a window whose handler
// never validates would otherwise keep the loop going.
constexpr int kPaintsPerReport = 64;
// The settings' defaults, for a store that cannot be read.
const PreviewRect kDefaultRect{5, 5, 600, 450};
constexpr std::uint32_t kDefaultColumnWidth = 100;
constexpr std::uint32_t kDefaultSplit = 250;
constexpr int kImageSize = 16; // the editor's small icons

// The rectangle of `child` in `parent`'s client coordinates.
RECT ChildRect(HWND child, HWND parent) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Place(HDWP& batch, HWND window, const PreviewRect& rect) {
    if (batch && window)
        batch = DeferWindowPos(batch, window, nullptr, rect.left, rect.top, rect.width(),
                               rect.height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

std::uint32_t ReadNumber(const PreviewHost& host, std::uint32_t setting, std::uint32_t fallback) {
    std::uint32_t value = fallback;
    if (host.settings)
        ReadSetting(*host.settings, setting, &value, sizeof value);
    return value;
}

void WriteNumber(const PreviewHost& host, std::uint32_t setting, int value) {
    const auto stored = static_cast<std::uint32_t>(value);
    if (host.settings)
        WriteSetting(*host.settings, setting, &stored, sizeof stored);
}

class PreviewWindow : public kestrix::ui::Dialog {
public:
    explicit PreviewWindow(PreviewHost host) : host_(std::move(host)) {}
    ~PreviewWindow() override {
        if (images_)
            ImageList_Destroy(images_);
    }

    // Empties the window and shows `path` (the tree, or a box saying where it is
    // broken) once the caller's message has returned: whoever handed the path over
    // (the launcher waits for its message) is not held up by a long file or the box.
    void Queue(const std::string& path);

protected:
    bool OnInit() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnSize(UINT kind, int width, int height) override;
    void OnDestroy() override;

private:
    static void Progress(std::uint32_t position, std::uint32_t size, void* context);
    void CreateImageList();
    void InsertColumns();
    void PlaceWindow();
    PreviewMeasures Measures() const;
    void LayOut(const PreviewPanes& panes);
    void ShowProgress(bool shown);
    void LoadQueued();
    void Empty();
    void InsertRoot();
    void Expanding(const NMTREEVIEWW& change);
    void FillList(const CRE4Key* key);
    void InvertLine(int x);
    void SaveState();

    PreviewHost host_;
    HWND tree_ = nullptr;
    HWND list_ = nullptr;
    HWND status_ = nullptr;
    HWND splitter_ = nullptr;
    HWND progress_ = nullptr;
    HIMAGELIST images_ = nullptr;
    std::unique_ptr<CRE4Tree> file_;
    ValueListReader values_;
    ProgressSteps steps_;
    // From the dialog template.
    int buttonWidth_ = 0;
    int buttonRightMargin_ = 0;
    int buttonTop_ = 0;
    int paneLeft_ = 0;
    int paneTop_ = 0;
    int splitPercent_ = kInitialSplitPercent;
    int splitPosition_ = 0;
    std::optional<int> dragLine_; // where the drag line is drawn while the bar is dragged
    // The file to load next. While one loads, the paint dispatch also takes messages
    // sent from other threads: a launcher's next file waits here until it is read.
    std::optional<std::string> nextPath_;
    bool loading_ = false;
};

bool PreviewWindow::OnInit() {
    tree_ = Item(KW_IDC_PREVIEW_TREE);
    list_ = Item(KW_IDC_PREVIEW_LIST);
    status_ = Item(KW_IDC_PREVIEW_STATUS);
    SetWindowTextW(hwnd(), WideFromAnsi(KeywrightString(kStrPreviewDialogTitle)).c_str());
    for (WPARAM size : {ICON_BIG, ICON_SMALL}) {
        const int pixels =
            size == ICON_BIG ? GetSystemMetrics(SM_CXICON) : GetSystemMetrics(SM_CXSMICON);
        HANDLE icon = LoadImageW(host_.ownInstance, MAKEINTRESOURCEW(KW_IDI_ADDIN), IMAGE_ICON,
                                 pixels, pixels, LR_SHARED);
        Send(WM_SETICON, size, reinterpret_cast<LPARAM>(icon));
    }
    // The bar's class belongs to the editor's module; without it the panes still split.
    splitter_ = CreateWindowExW(0, kSplitterClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                hwnd(), reinterpret_cast<HMENU>(KW_IDC_PREVIEW_SPLITTER),
                                host_.editorInstance, nullptr);
    progress_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD, 0, 0, 0, 0, status_,
                                reinterpret_cast<HMENU>(KW_IDC_PREVIEW_PROGRESS), host_.ownInstance,
                                nullptr);
    if (progress_) {
        const LONG_PTR exStyle = GetWindowLongPtrW(progress_, GWL_EXSTYLE);
        SetWindowLongPtrW(progress_, GWL_EXSTYLE, exStyle & ~WS_EX_STATICEDGE);
        SetWindowPos(progress_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    CreateImageList();
    InsertColumns();

    RECT client{};
    GetClientRect(hwnd(), &client);
    const RECT button = ChildRect(Item(IDOK), hwnd());
    buttonWidth_ = button.right - button.left;
    buttonRightMargin_ = client.right - button.right;
    buttonTop_ = button.top;
    const RECT tree = ChildRect(tree_, hwnd());
    paneLeft_ = tree.left;
    paneTop_ = tree.top;
    PlaceWindow();
    return true;
}

void PreviewWindow::CreateImageList() {
    images_ =
        ImageList_Create(kImageSize, kImageSize, ILC_COLOR32 | ILC_MASK, kPreviewImageCount, 0);
    if (!images_)
        return;
    for (int i = 0; i < kPreviewImageCount; ++i) {
        HICON icon = host_.icons
                         ? static_cast<HICON>(LoadImageW(host_.editorInstance,
                                                         MAKEINTRESOURCEW(host_.icons[i]),
                                                         IMAGE_ICON, kImageSize, kImageSize, 0))
                         : nullptr;
        // An editor without one of the icons keeps the indexes of the others: the
        // add-in's own icon stands in.
        if (!icon)
            icon = static_cast<HICON>(LoadImageW(host_.ownInstance, MAKEINTRESOURCEW(KW_IDI_ADDIN),
                                                 IMAGE_ICON, kImageSize, kImageSize, 0));
        ImageList_AddIcon(images_, icon);
        if (icon)
            DestroyIcon(icon);
    }
    SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
    SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_));
}

void PreviewWindow::InsertColumns() {
    const struct {
        unsigned text;
        std::uint32_t width;
    } columns[] = {{kStrPreviewColumnName, kSettingValCol1},
                   {kStrPreviewColumnData, kSettingValCol2}};
    int index = 0;
    for (const auto& column : columns) {
        std::wstring text = WideFromAnsi(KeywrightString(column.text));
        LVCOLUMNW params{};
        params.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        params.pszText = &text[0];
        params.cx = static_cast<int>(ReadNumber(host_, column.width, kDefaultColumnWidth));
        params.iSubItem = index;
        SendMessageW(list_, LVM_INSERTCOLUMNW, index++, reinterpret_cast<LPARAM>(&params));
    }
}

// The stored edges, kept on the screen and at least the smallest size; then the split
// that was stored, as a share of the panes' width.
void PreviewWindow::PlaceWindow() {
    const PreviewRect stored{
        static_cast<int>(ReadNumber(host_, kSettingPreviewX, kDefaultRect.left)),
        static_cast<int>(ReadNumber(host_, kSettingPreviewY, kDefaultRect.top)),
        static_cast<int>(ReadNumber(host_, kSettingPreviewDx, kDefaultRect.right)),
        static_cast<int>(ReadNumber(host_, kSettingPreviewDy, kDefaultRect.bottom))};
    const PreviewRect screen{
        GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
        GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
        GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const PreviewRect rect = OpeningRect(stored, MinimumWindowSize(GetSystemMetrics(SM_CYCAPTION)),
                                         screen, kDefaultRect);
    MoveWindow(hwnd(), rect.left, rect.top, rect.width(), rect.height(), TRUE);
    const int split = static_cast<int>(ReadNumber(host_, kSettingPreviewSplit, kDefaultSplit));
    splitPercent_ = PercentForPosition(Measures(), split, kInitialSplitPercent);
    LayOut(LayOutByPercent(Measures(), splitPercent_));
}

PreviewMeasures PreviewWindow::Measures() const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    PreviewMeasures measures;
    measures.clientWidth = client.right;
    measures.buttonWidth = buttonWidth_;
    measures.buttonRightMargin = buttonRightMargin_;
    measures.left = paneLeft_;
    measures.top = paneTop_;
    measures.statusTop = status_ ? ChildRect(status_, hwnd()).top : client.bottom;
    return measures;
}

void PreviewWindow::LayOut(const PreviewPanes& panes) {
    splitPercent_ = panes.splitPercent;
    splitPosition_ = panes.splitPosition;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int buttonLeft = client.right - buttonRightMargin_ - buttonWidth_;
    HWND button = Item(IDOK);
    RECT buttonRect = ChildRect(button, hwnd());
    HDWP batch = BeginDeferWindowPos(4);
    Place(batch, tree_, panes.tree);
    Place(batch, splitter_, panes.splitter);
    Place(batch, list_, panes.list);
    Place(batch, button,
          {buttonLeft, buttonTop_, buttonLeft + buttonWidth_,
           buttonTop_ + buttonRect.bottom - buttonRect.top});
    if (batch)
        EndDeferWindowPos(batch);
}

bool PreviewWindow::OnSize(UINT kind, int, int) {
    // The dialog manager sizes the window once before OnInit has found the controls.
    if (kind == SIZE_MINIMIZED || !tree_)
        return false;
    // The status bar places itself at the bottom when told of the new size.
    SendMessageW(status_, WM_SIZE, 0, 0);
    LayOut(LayOutByPercent(Measures(), splitPercent_));
    return true;
}

bool PreviewWindow::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case kMsgPreviewLoadNext:
        LoadQueued();
        result = 0;
        return true;
    case WM_GETMINMAXINFO: {
        const PreviewSize minimum = MinimumWindowSize(GetSystemMetrics(SM_CYCAPTION));
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {minimum.width, minimum.height};
        result = 0;
        return true;
    }
    // The splitter bar captures the mouse and hands its buttons and moves on, in this
    // window's coordinates.
    case WM_LBUTTONDOWN:
        if (!splitter_ || GetCapture() != splitter_)
            return false;
        dragLine_ = static_cast<short>(LOWORD(lParam));
        InvertLine(*dragLine_);
        result = 0;
        return true;
    case WM_MOUSEMOVE:
        if (!dragLine_)
            return false;
        InvertLine(*dragLine_); // erases it
        dragLine_ = static_cast<short>(LOWORD(lParam));
        InvertLine(*dragLine_);
        result = 0;
        return true;
    case WM_LBUTTONUP:
        if (!dragLine_)
            return false;
        InvertLine(*dragLine_);
        dragLine_.reset();
        LayOut(LayOutAtPosition(Measures(), static_cast<short>(LOWORD(lParam))));
        result = 0;
        return true;
    case WM_CAPTURECHANGED:
        // The drag was broken off (another window took the mouse): the split stays.
        if (!dragLine_)
            return false;
        InvertLine(*dragLine_);
        dragLine_.reset();
        result = 0;
        return true;
    default:
        return false;
    }
}

// Inverted twice at the same place, the line is gone again.
void PreviewWindow::InvertLine(int x) {
    const PreviewRect line = DragLine(Measures(), x);
    kestrix::ui::WindowDc dc(hwnd());
    if (dc)
        PatBlt(dc.get(), line.left, line.top, line.width(), line.height(), DSTINVERT);
}

bool PreviewWindow::OnCommand(WORD id, WORD, HWND) {
    if (id != IDOK && id != IDCANCEL)
        return false;
    ShowWindow(hwnd(), SW_HIDE);
    End(id);
    return true;
}

bool PreviewWindow::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != tree_)
        return false;
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (header.code == TVN_ITEMEXPANDINGW) {
        Expanding(change);
        result = FALSE; // let it expand or collapse
        return true;
    }
    if (header.code == TVN_SELCHANGEDW) {
        if (const auto* key = reinterpret_cast<const CRE4Key*>(change.itemNew.lParam))
            FillList(key);
        return true;
    }
    return false;
}

// The first expansion inserts the key's subkeys, sorted; every expansion shows the
// open image and every collapse the closed one.
void PreviewWindow::Expanding(const NMTREEVIEWW& change) {
    HTREEITEM item = change.itemNew.hItem;
    const auto* key = reinterpret_cast<const CRE4Key*>(change.itemNew.lParam);
    const bool expanding = (change.action & TVE_EXPAND) != 0;
    const auto state = static_cast<UINT>(
        SendMessageW(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDEDONCE));
    if (expanding && key && file_ && !(state & TVIS_EXPANDEDONCE)) {
        for (const PreviewChild& child : ChildrenOf(*file_, key)) {
            std::wstring text = WideFromAnsi(child.name);
            TVINSERTSTRUCTW insert{};
            insert.hParent = item;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask =
                TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
            insert.item.pszText = &text[0];
            insert.item.iImage = insert.item.iSelectedImage = kImageKeyClosed;
            insert.item.lParam = reinterpret_cast<LPARAM>(child.key);
            insert.item.cChildren = child.hasChildren ? 1 : 0;
            SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
        }
    }
    TVITEMW images{};
    images.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    images.hItem = item;
    images.iImage = images.iSelectedImage = expanding ? kImageKeyOpen : kImageKeyClosed;
    SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&images));
}

void PreviewWindow::FillList(const CRE4Key* key) {
    if (!file_)
        return;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    int index = 0;
    for (const PreviewRow& row : values_.Rows(*file_, key)) {
        std::wstring name = WideFromAnsi(row.name);
        std::wstring data = WideFromAnsi(row.data);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index++;
        item.pszText = &name[0];
        item.iImage = row.image;
        const auto at = static_cast<int>(
            SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (at < 0)
            continue;
        LVITEMW sub{};
        sub.iSubItem = 1;
        sub.pszText = &data[0];
        SendMessageW(list_, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&sub));
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void PreviewWindow::Empty() {
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    file_.reset();
}

void PreviewWindow::Queue(const std::string& path) {
    const bool waiting = nextPath_.has_value();
    nextPath_ = path;
    if (!waiting && !loading_)
        Post(kMsgPreviewLoadNext);
}

void PreviewWindow::LoadQueued() {
    if (loading_)
        return;
    loading_ = true;
    while (nextPath_) {
        const std::string path = std::move(*nextPath_);
        nextPath_.reset();
        Empty();
        const std::string name = path.substr(path.find_last_of("\\/") + 1);
        SetWindowTextW(hwnd(), WideFromAnsi(std::string(KeywrightString(kStrPreviewDialogTitle)) +
                                            " - " + name)
                                   .c_str());
        ShowProgress(true);
        CRE4Reader reader(kRE4BufferSize, kRE4BufferSize, kRE4BufferSize, &PreviewWindow::Progress,
                          0, this, nullptr, nullptr, 0);
        std::unique_ptr<CRE4Tree> file = reader.ParseFile(path.c_str());
        ShowProgress(false);
        if (nextPath_)
            continue; // superseded while it was read
        if (!file) {
            ShowInternalFault(InvalidFileFormatText(reader.Line()));
            continue;
        }
        file_ = std::move(file);
        InsertRoot();
    }
    loading_ = false;
}

// The editor's own root text over the file's keys, expanded at once.
void PreviewWindow::InsertRoot() {
    std::wstring root = WideFromAnsi(host_.rootText);
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_FIRST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = &root[0];
    insert.item.iImage = insert.item.iSelectedImage = kImageKeyClosed;
    insert.item.cChildren = 1;
    insert.item.lParam = reinterpret_cast<LPARAM>(file_->Root());
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

void PreviewWindow::ShowProgress(bool shown) {
    if (!shown) {
        ShowWindow(progress_, SW_HIDE);
        int whole = -1;
        SendMessageW(status_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole));
        return;
    }
    RECT status{};
    GetClientRect(status_, &status);
    const int parts[2] = {ProgressPartRight(status.right), -1};
    SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    RECT part{};
    SendMessageW(status_, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
    const PreviewRect bar = ProgressBarRect({part.left, part.top, part.right, part.bottom});
    MoveWindow(progress_, bar.left, bar.top, bar.width(), bar.height(), FALSE);
    SendMessageW(progress_, PBM_SETPOS, 0, 0);
    steps_.Reset();
    ShowWindow(progress_, SW_SHOW);
    UpdateWindow(status_);
}

// The reader reports at every line: the bar moves when the percentage changes, and the
// windows repaint then, but take no input while the file is read.
void PreviewWindow::Progress(std::uint32_t position, std::uint32_t size, void* context) {
    auto* self = static_cast<PreviewWindow*>(context);
    const int percent = ProgressPercent(position, size);
    if (!self->steps_.Advance(percent))
        return;
    SendMessageW(self->progress_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    MSG message;
    for (int i = 0;
         i < kPaintsPerReport && PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
         ++i)
        DispatchMessageW(&message);
}

void PreviewWindow::SaveState() {
    RECT rect{};
    GetWindowRect(hwnd(), &rect);
    if (IsIconic(hwnd()) || IsZoomed(hwnd())) {
        // The rectangle it has when restored; the placement counts from the work area.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        RECT work{};
        if (GetWindowPlacement(hwnd(), &placement) &&
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
            rect = placement.rcNormalPosition;
            OffsetRect(&rect, work.left, work.top);
        }
    }
    WriteNumber(host_, kSettingPreviewX, rect.left);
    WriteNumber(host_, kSettingPreviewY, rect.top);
    WriteNumber(host_, kSettingPreviewDx, rect.right);
    WriteNumber(host_, kSettingPreviewDy, rect.bottom);
    WriteNumber(host_, kSettingValCol1,
                static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, 0, 0)));
    WriteNumber(host_, kSettingValCol2,
                static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, 1, 0)));
    WriteNumber(host_, kSettingPreviewSplit, splitPosition_);
}

void PreviewWindow::OnDestroy() {
    SaveState();
    Empty();
    if (images_) {
        SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
        ImageList_Destroy(images_);
        images_ = nullptr;
    }
    if (host_.previewWindow && *host_.previewWindow == hwnd())
        *host_.previewWindow = nullptr;
}

} // namespace

void OpenPreview(const PreviewHost& host, const std::string& path) {
    PreviewWindow* window = nullptr;
    if (host.previewWindow && *host.previewWindow)
        window = dynamic_cast<PreviewWindow*>(kestrix::ui::Dialog::FromHandle(*host.previewWindow));
    if (!window) {
        auto created = std::make_unique<PreviewWindow>(host);
        window = created.get();
        HWND handle = kestrix::ui::Dialog::Open(std::move(created), host.ownInstance,
                                                KW_IDD_PREVIEW, nullptr, host.modeless);
        if (!handle)
            return;
        if (host.previewWindow)
            *host.previewWindow = handle;
    }
    ShowWindow(window->hwnd(), SW_SHOW);
    if (IsIconic(window->hwnd()))
        ShowWindow(window->hwnd(), SW_RESTORE);
    BringWindowToTop(window->hwnd());
    SetForegroundWindow(window->hwnd());
    window->Queue(path);
}

} // namespace keywright
