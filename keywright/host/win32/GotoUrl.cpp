// The navigation thread: resolving a location takes many synchronous tree messages, and
// the editor's thread must stay free to answer them and to fill its keys.
#include "host/win32/GotoUrl.h"

#include "host/LastLocation.h"
#include "host/LauncherLocation.h"
#include "host/Navigation.h"
#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/AddinMessages.h"
#include "host/win32/AddinSettings.h"
#include "host/win32/DebugWindow.h"
#include "host/win32/EditorListView.h"
#include "host/win32/EditorTreeView.h"
#include "host/win32/HiddenControlWindow.h"
#include "host/win32/SharedText.h"
#include "host/win32/Toolbar.h"
#include "platform/win32/ui/FailureGuard.h"

#include <memory>

namespace keywright {

namespace {

constexpr SIZE_T kNavigationStack = 32768;
// How long the editor gets to fill its list after a key was selected.
constexpr DWORD kValueListDelayMs = 1000;

struct NavigationJob {
    GotoRequest request;
    HWND frame;
    HWND tree;
    HWND list;
    DWORD callerThread;
    HWND notify;                // told when a history navigation ends
    unsigned historyNavigation; // 0: not started by Back or Forward
};

// Focus can only be given to a window of a thread whose input we share.
void FocusFrom(DWORD callerThread, HWND window) {
    DWORD self = GetCurrentThreadId();
    BOOL attached = AttachThreadInput(self, callerThread, TRUE);
    SetFocus(window);
    if (attached)
        AttachThreadInput(self, callerThread, FALSE);
}

class EditorNavigationHost : public NavigationHost {
public:
    explicit EditorNavigationHost(const NavigationJob& job) : job_(job) {}
    void ShowMessage(const std::string& text) override {
        keywright::ShowMessage(job_.frame, text, Caption::ProgramName);
    }
    void FocusTree() override { FocusFrom(job_.callerThread, job_.tree); }
    void FocusList() override { FocusFrom(job_.callerThread, job_.list); }
    void WaitForValueList() override { Sleep(kValueListDelayMs); }

private:
    const NavigationJob& job_;
};

DWORD WINAPI NavigationThread(LPVOID parameter) {
    std::unique_ptr<NavigationJob> job(static_cast<NavigationJob*>(parameter));
    // A thread must not end by an exception.
    kestrix::ui::Guarded(
        nullptr, 0,
        [&] {
            EditorTreeView tree(job->tree);
            EditorListView list(job->list);
            EditorNavigationHost host(*job);
            Navigate(job->request, tree, list, host, AddinDebugLog());
        },
        [] {});
    // Whether or not the navigation selected anything, the history may record again.
    if (job->historyNavigation)
        PostMessageW(job->notify, kMsgNavigationEnded, job->historyNavigation, 0);
    return 0;
}

bool StartNavigation(const std::string& location, const std::string& valueName,
                     unsigned historyNavigation) {
    AddinContext& context = Addin();
    if (!context.attached())
        return false;
    std::optional<GotoRequest> request =
        MakeGotoRequest(location, valueName, context.rootText, AddinDebugLog());
    if (!request)
        return false;
    auto job = std::make_unique<NavigationJob>(
        NavigationJob{*request, context.editor.frame, context.editor.tree, context.editor.list,
                      GetCurrentThreadId(), HiddenControlWindowHandle(), historyNavigation});
    HANDLE thread =
        CreateThread(nullptr, kNavigationStack, NavigationThread, job.get(), 0, nullptr);
    if (!thread)
        return false;
    job.release(); // the thread owns it now
    CloseHandle(thread);
    return true;
}

// Back or Forward: a navigation that could not even start ends at once.
void GotoHistoryPath(const std::string& path) {
    NavigationHistory& history = Addin().history;
    if (!StartNavigation(path, "", history.navigation))
        EndNavigation(history, history.navigation);
    UpdateHistoryButtons();
}

} // namespace

int GotoUrl(const std::string& location, const std::string& valueName) {
    return StartNavigation(location, valueName, 0) ? 0 : 1;
}

void GotoSharedText() {
    std::string text;
    if (ReadSharedText(kLauncherTextSize, &text) != 0)
        return;
    if (!Addin().editor.tree)
        return;
    LauncherLocation location = ParseLauncherText(text);
    switch (location.action) {
    case LauncherLocation::kRestoreLast:
        GotoUrl(RestoreLocation(AddinSettings()), "");
        break;
    case LauncherLocation::kGoto:
        GotoUrl(location.key, location.value);
        break;
    case LauncherLocation::kIgnore:
        break;
    }
}

void GoBackInHistory() {
    if (std::optional<std::string> path = GoBack(Addin().history))
        GotoHistoryPath(*path);
}

void GoForwardInHistory() {
    if (std::optional<std::string> path = GoForward(Addin().history))
        GotoHistoryPath(*path);
}

void EndHistoryNavigation(unsigned navigation) {
    EndNavigation(Addin().history, navigation);
}

void RecordTreeSelection(const std::string& fullKeyPath) {
    RecordSelection(Addin().history, fullKeyPath);
    UpdateHistoryButtons();
}

void RememberCurrentLocation() {
    AddinContext& context = Addin();
    if (!context.editor.tree)
        return;
    if (std::optional<std::string> path = CurrentKeyPath(context.editor.tree))
        RememberLocation(AddinSettings(), *path);
}

} // namespace keywright
