// The window wrapper: the object travels to the window in CREATESTRUCT and lives in its
// GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY.
#include "platform/win32/ui/Window.h"

#include "platform/win32/ui/FailureGuard.h"

namespace kestrix::ui {
namespace {

// The system's application icon (IDI_APPLICATION), by number: the wide call takes it so.
constexpr WORD kApplicationIcon = 32512;

} // namespace

bool RegisterWindowClass(const WindowClassParams& params) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(params.instance, params.name, &windowClass))
        return true;
    windowClass.style = params.style;
    windowClass.lpfnWndProc = &Window::Procedure;
    windowClass.hInstance = params.instance;
    windowClass.hIcon = params.icon;
    windowClass.hIconSm = params.smallIcon;
    windowClass.hCursor =
        params.cursor ? params.cursor : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = params.background;
    windowClass.lpszMenuName = params.menuName;
    windowClass.lpszClassName = params.name;
    return RegisterClassExW(&windowClass) != 0;
}

HWND Window::Create(const WindowParams& params, ModelessWindowList* modeless) {
    if (hwnd())
        return nullptr; // one window per object at a time
    return CreateFor(params, modeless);
}

HWND Window::Open(std::unique_ptr<Window> window, const WindowParams& params,
                  ModelessWindowList* modeless) {
    if (!window)
        return nullptr;
    Window& object = *window.release();
    object.ownership_ = Ownership::Window;
    HWND created = nullptr;
    {
        // Held across the creation, so that a window that fails or closes while it is
        // being created frees its object only here, once.
        DispatchScope scope(object);
        created = object.CreateFor(params, modeless);
        if (!created)
            object.finished_ = true;
    }
    return created;
}

HWND Window::CreateOwned(HINSTANCE instance, const wchar_t* className,
                         const std::wstring& title, DWORD style, HWND owner, UINT menuId) {
    WindowClassParams windowClass;
    windowClass.instance = instance;
    windowClass.name = className;
    windowClass.icon = LoadIconW(nullptr, MAKEINTRESOURCEW(kApplicationIcon));
    RegisterWindowClass(windowClass);
    WindowParams params;
    params.instance = instance;
    params.className = className;
    params.title = title.c_str();
    params.style = style;
    params.parent = owner;
    params.menu = menuId ? LoadMenuW(instance, MAKEINTRESOURCEW(menuId)) : nullptr;
    return Create(params);
}

HWND Window::CreateFor(const WindowParams& params, ModelessWindowList* modeless) {
    PrepareCreation(modeless);
    HMENU menu = (params.style & WS_CHILD)
                     ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(params.childId))
                     : params.menu;
    HWND window = CreateWindowExW(params.exStyle, params.className, params.title, params.style, params.x,
                                  params.y, params.width, params.height, params.parent, menu,
                                  params.instance, static_cast<Window*>(this));
    if (!window || finished_)
        return nullptr;
    EnterModelessList();
    return window;
}

Window* Window::FromHandle(HWND window) {
    if (!window || GetClassLongPtrW(window, GCLP_WNDPROC) !=
                       reinterpret_cast<ULONG_PTR>(&Window::Procedure))
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!object && message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        object = create ? static_cast<Window*>(create->lpCreateParams) : nullptr;
        if (object)
            object->AttachObject(window, GWLP_USERDATA);
    }
    if (!object)
        return DefWindowProcW(window, message, wParam, lParam);
    return object->Dispatch(window, message, wParam, lParam);
}

LRESULT Window::AdoptingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  Factory make) {
    if (message == WM_NCCREATE && make && !GetWindowLongPtrW(window, GWLP_USERDATA)) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create && !create->lpCreateParams) {
            std::unique_ptr<Window> object =
                Guarded(window, message, make, [] { return std::unique_ptr<Window>(); });
            if (!object)
                return FALSE;
            Window& adopted = *object.release();
            adopted.ownership_ = Ownership::Window;
            adopted.PrepareCreation(nullptr);
            adopted.AttachObject(window, GWLP_USERDATA);
        }
    }
    return Procedure(window, message, wParam, lParam);
}

bool Window::OnCreate(const CREATESTRUCTW&) {
    return true;
}

LRESULT Window::DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Window::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (HandleMessage(message, wParam, lParam, result))
        return true;
    if (message == WM_CREATE) {
        result = OnCreate(*reinterpret_cast<const CREATESTRUCTW*>(lParam)) ? 0 : -1;
        return true;
    }
    return DispatchCommon(message, wParam, lParam, result);
}

LRESULT Window::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DispatchScope scope(*this);
    LRESULT result = 0;
    bool failed = false;
    bool taken = Guarded(
        window, message, [&] { return Handle(message, wParam, lParam, result); },
        [&] {
            failed = true;
            return false;
        });
    LRESULT answer = result;
    if (failed && message == WM_NCCREATE)
        answer = FALSE; // a window whose object could not start does not come up
    else if (failed && message == WM_CREATE)
        answer = -1;
    else if (!taken)
        answer = Guarded(
            window, message, [&] { return DefaultProcedure(window, message, wParam, lParam); },
            [&] { return DefWindowProcW(window, message, wParam, lParam); });
    if (message == WM_NCDESTROY)
        DetachObject();
    return answer;
}

} // namespace kestrix::ui
