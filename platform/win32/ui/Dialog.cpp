// The dialog wrapper: the object travels to the dialog as the WM_INITDIALOG parameter and
// lives in its DWLP_USER until WM_NCDESTROY. Results of taken messages go where the
// dialog manager expects them.
#include "platform/win32/ui/Dialog.h"

#include "platform/win32/ui/FailureGuard.h"

namespace kestrix::ui {

namespace {

// Messages whose result a dialog procedure returns itself instead of in DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

} // namespace

INT_PTR Dialog::RunModal(HINSTANCE instance, int id, HWND owner) {
    if (hwnd())
        return -1;
    kind_ = DialogKind::Modal;
    PrepareCreation(nullptr);
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(id), owner, &Dialog::Procedure,
                           reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
}

HWND Dialog::Create(HINSTANCE instance, int id, HWND owner, ModelessWindowList* modeless) {
    if (hwnd())
        return nullptr;
    kind_ = DialogKind::Modeless;
    return CreateModeless(instance, id, owner, modeless);
}

HWND Dialog::CreateChild(HINSTANCE instance, int id, HWND parent) {
    if (hwnd() || !parent)
        return nullptr;
    kind_ = DialogKind::Child;
    LONG_PTR exStyle = GetWindowLongPtrW(parent, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_CONTROLPARENT))
        SetWindowLongPtrW(parent, GWL_EXSTYLE, exStyle | WS_EX_CONTROLPARENT);
    return CreateModeless(instance, id, parent, nullptr);
}

HWND Dialog::Open(std::unique_ptr<Dialog> dialog, HINSTANCE instance, int id, HWND owner,
                  ModelessWindowList* modeless) {
    if (!dialog)
        return nullptr;
    Dialog& object = *dialog.release();
    object.ownership_ = Ownership::Window;
    object.kind_ = DialogKind::Modeless;
    HWND created = nullptr;
    {
        // Held across the creation, so that a dialog that fails or closes while it is
        // being created frees its object only here, once.
        DispatchScope scope(object);
        created = object.CreateModeless(instance, id, owner, modeless);
        if (!created)
            object.finished_ = true;
    }
    return created;
}

HWND Dialog::CreateModeless(HINSTANCE instance, int id, HWND owner,
                            ModelessWindowList* modeless) {
    PrepareCreation(modeless);
    HWND window = CreateDialogParamW(instance, MAKEINTRESOURCEW(id), owner, &Dialog::Procedure,
                                     reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
    if (!window || finished_)
        return nullptr;
    EnterModelessList();
    return window;
}

Dialog* Dialog::FromHandle(HWND window) {
    if (!window || GetWindowLongPtrW(window, DWLP_DLGPROC) !=
                       reinterpret_cast<LONG_PTR>(&Dialog::Procedure))
        return nullptr;
    return reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!object && message == WM_INITDIALOG) {
        object = reinterpret_cast<Dialog*>(lParam);
        if (object)
            object->AttachObject(window, DWLP_USER);
    }
    if (!object)
        return FALSE;
    return object->Dispatch(window, message, wParam, lParam);
}

void Dialog::End(INT_PTR result) {
    if (!hwnd())
        return;
    if (kind_ == DialogKind::Modal)
        EndDialog(hwnd(), result);
    else
        DestroyWindow(hwnd());
}

HWND Dialog::Item(int id) const {
    return hwnd() ? GetDlgItem(hwnd(), id) : nullptr;
}

LRESULT Dialog::SendItem(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    return hwnd() ? SendDlgItemMessageW(hwnd(), id, message, wParam, lParam) : 0;
}

std::wstring Dialog::ItemText(int id) const {
    HWND item = Item(id);
    return item ? WindowText(item) : std::wstring();
}

void Dialog::SetItemText(int id, const std::wstring& text) const {
    if (hwnd())
        SetDlgItemTextW(hwnd(), id, text.c_str());
}

bool Dialog::IsChecked(int id) const {
    return hwnd() && IsDlgButtonChecked(hwnd(), id) == BST_CHECKED;
}

void Dialog::SetChecked(int id, bool checked) const {
    if (hwnd())
        CheckDlgButton(hwnd(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Dialog::EnableItem(int id, bool enabled) const {
    if (HWND item = Item(id))
        EnableWindow(item, enabled ? TRUE : FALSE);
}

bool Dialog::OnInit() {
    return true;
}

bool Dialog::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (HandleMessage(message, wParam, lParam, result))
        return true;
    if (message == WM_INITDIALOG) {
        result = OnInit() ? TRUE : FALSE;
        return true;
    }
    if (DispatchCommon(message, wParam, lParam, result))
        return true;
    WORD command = LOWORD(wParam);
    if (message == WM_COMMAND && kind_ != DialogKind::Child &&
        (command == IDOK || command == IDCANCEL)) {
        End(command);
        result = 0;
        return true;
    }
    return false;
}

INT_PTR Dialog::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DispatchScope scope(*this);
    LRESULT result = 0;
    bool failed = false;
    bool taken = Guarded(
        window, message, [&] { return Handle(message, wParam, lParam, result); },
        [&] {
            failed = true;
            return false;
        });
    // A dialog that could not finish its start would show half its state: it closes.
    if (failed && message == WM_INITDIALOG)
        End(-1);
    if (message == WM_NCDESTROY)
        DetachObject();
    if (!taken)
        return FALSE;
    if (ReturnsDirectly(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

} // namespace kestrix::ui
