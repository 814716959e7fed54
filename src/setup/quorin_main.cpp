// The registration program: checks the browser version, then registers or unregisters the
// library with one click.

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include "common/guard.h"
#include "common/loaded_library.h"
#include "setup/setup_checks.h"
#include "setup_resource.h"

namespace quorin::setup {

namespace {

HINSTANCE g_instance = nullptr;
// The library's discard prompt has no owner, so the dialog stays usable while an action runs;
// a command it gets meanwhile would run a second action inside the first.
bool g_acting = false;

struct Action {
    const char* entryName;
    UINT successText;
    UINT failureText;
    UINT failureCaption;
};

constexpr Action kRegister{"DllRegisterServer", IDS_REGISTERED, IDS_ERROR_REGISTER_TEXT, IDS_ERROR_REGISTER_CAPTION};
constexpr Action kUnregister{"DllUnregisterServer", IDS_UNREGISTERED, IDS_ERROR_UNREGISTER_TEXT,
                             IDS_ERROR_UNREGISTER_CAPTION};

enum class Outcome { NotLoaded, Failed, Succeeded };

int showMessage(HWND owner, UINT textId, UINT captionId, UINT style) {
    char text[256];
    char caption[80];
    if (LoadStringA(g_instance, textId, text, sizeof text) < 1) return 0;
    if (captionId && LoadStringA(g_instance, captionId, caption, sizeof caption) < 1) return 0;
    return MessageBoxA(owner, text, captionId ? caption : nullptr, style);
}

LONG browserComponentVersion() {
    LoadedLibrary shdocvw(LoadLibraryA("shdocvw.dll"));
    const auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(shdocvw.entry("DllGetVersion"));
    if (!getVersion) return 0;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (FAILED(getVersion(&info))) return 0;
    return packedVersion(info.dwMajorVersion, info.dwMinorVersion);
}

bool browserVersionOk() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info) || info.dwMajorVersion < 4) return false;
    return browserVersionEnough(browserComponentVersion());
}

LoadedLibrary loadLibraryForPlatform() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return LoadedLibrary();
    const char* name = libraryFileName(info.dwPlatformId);
    return LoadedLibrary(name ? LoadLibraryA(name) : nullptr);
}

// The library is freed again before the outcome is shown.
Outcome callLibrary(const char* entryName) {
    const LoadedLibrary library = loadLibraryForPlatform();
    if (!library) return Outcome::NotLoaded;
    using Entry = HRESULT(STDAPICALLTYPE*)();
    const auto entry = reinterpret_cast<Entry>(library.entry(entryName));
    return entry && SUCCEEDED(entry()) ? Outcome::Succeeded : Outcome::Failed;
}

class ActingScope {
public:
    ActingScope() noexcept { g_acting = true; }
    ~ActingScope() { g_acting = false; }
    ActingScope(const ActingScope&) = delete;
    ActingScope& operator=(const ActingScope&) = delete;
};

// True when the library was there to act on; the dialog then has done its one action.
bool runAction(HWND dialog, const Action& action) {
    const ActingScope acting;
    switch (callLibrary(action.entryName)) {
        case Outcome::NotLoaded:
            showMessage(dialog, IDS_ERROR_LOAD_TEXT, IDS_ERROR_LOAD_CAPTION, MB_ICONHAND);
            return false;
        case Outcome::Failed:
            showMessage(dialog, action.failureText, action.failureCaption, MB_ICONHAND);
            return true;
        case Outcome::Succeeded:
            showMessage(dialog, action.successText, IDS_APP_CAPTION, MB_OK);
            return true;
    }
    return false;
}

bool registerLibrary(HWND dialog) { return runAction(dialog, kRegister); }
bool unregisterLibrary(HWND dialog) { return runAction(dialog, kUnregister); }

// Cancel, which Escape and the close box send, is left unhandled so that neither closes the dialog.
INT_PTR onCommand(HWND dialog, WPARAM command) {
    if (g_acting) return 0;
    switch (command) {
        case IDOK:
            EndDialog(dialog, 1);
            return TRUE;
        case IDC_REGISTER:
            if (registerLibrary(dialog)) EndDialog(dialog, 1);
            return 0;
        case IDC_UNREGISTER:
            if (unregisterLibrary(dialog)) EndDialog(dialog, 1);
            return 0;
        default:
            return 0;
    }
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return windowGuard([&]() -> INT_PTR {
        switch (message) {
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            case WM_COMMAND:
                return onCommand(dialog, wParam);
            default:
                return 0;
        }
    });
}

int run(HINSTANCE instance) {
    g_instance = instance;
    InitCommonControls();
    if (!browserVersionOk()) {
        showMessage(nullptr, IDS_ERROR_BROWSER_TEXT, IDS_ERROR_BROWSER_CAPTION, MB_ICONHAND);
        return 0;
    }
    // Without a dialog no quit message would ever arrive.
    if (DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, dialogProc, 0) == -1) return 1;
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

}  // namespace quorin::setup

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return quorin::setup::run(instance); }
