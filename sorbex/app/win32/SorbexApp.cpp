// The windowed program as a whole: what it builds at start, its main window and its
// message loop.
#include "app/win32/SorbexApp.h"

#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "app/win32/FileViewerWindow.h"
#include "app/win32/MainFrame.h"
#include "app/win32/WideText.h"
#include "app/win32/Win32Profile.h"
#include "platform/win32/OleScope.h"
#include "platform/win32/ui/FailureGuard.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

// What escaped a handler reaches the user as a message of the string table.
void ShowFailure(const kestrix::ui::Failure& failure) {
    const std::string text = failure.kind == kestrix::ui::FailureKind::OutOfMemory
                                 ? std::string(SorbexString(IDS_MEMORY_OVERFLOW))
                                 : FormatSorbexString(IDS_UNEXPECTED_FAILURE, {failure.what});
    MessageBoxW(failure.window ? GetAncestor(failure.window, GA_ROOT) : nullptr, Wide(text).c_str(),
                Wide(SorbexString(IDS_APP_TITLE)).c_str(), MB_OK | MB_ICONSTOP);
}

// The result file named on the command line, if any.
std::string FileOnCommandLine() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string file;
    if (arguments && count > 1)
        file = Narrow(arguments[1]);
    LocalFree(arguments);
    return file;
}

} // namespace

int RunSorbex(HINSTANCE instance, int showCommand) {
    kestrix::OleScope ole;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                       ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    kestrix::ui::SetFailureHook(&ShowFailure);

    const std::unique_ptr<kestrix::FileSystem> fs = kestrix::MakeSystemFileSystem();
    const std::unique_ptr<kestrix::Clock> clock = kestrix::MakeSteadyClock();
    CWin32ProfileStore store(SystemProfileLocation().path);
    CProfile profile(store);
    // What the program builds at start: the registered converters, then the cache of
    // their texts (a second instance finds it taken and runs without one).
    const std::unique_ptr<CConverterLoader> loader = MakeSystemConverterLoader();
    CTextConverterList converters;
    BuildSystemConverterList(converters, *loader, *fs);
    CDocCache cache(*fs, kestrix::SystemCompoundFiles());
    cache.Open();

    CFrameContext context;
    context.instance = instance;
    context.fs = fs.get();
    context.clock = clock.get();
    context.files = &kestrix::SystemCompoundFiles();
    context.profile = &profile;
    context.cache = &cache;
    context.converters = &converters;
    CMainFrame frame(context);
    frame.quitWhenDestroyed = true;
    // A converter given up during a search is named on the page; the frame's run
    // decides whether a failure belongs to it.
    loader->SetFailureHandler(frame.run().ConverterFailureHandler());
    struct ForgetHandler {
        CConverterLoader& loader;
        ~ForgetHandler() { loader.SetFailureHandler(nullptr); }
    } forgetHandler{*loader};
    if (!frame.Open(showCommand, FileOnCommandLine()))
        return 1;
    // The viewer reads the files itself, with the converters but never the cache.
    CFileViewerWindow viewer(instance, frame.hwnd(), *fs, profile, &converters);
    frame.SetFileViewer(&viewer);
    const MSG last = frame.loop().Run();
    frame.SetFileViewer(nullptr);
    return static_cast<int>(last.wParam);
}

} // namespace sorbex
