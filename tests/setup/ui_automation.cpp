#include "setup/ui_automation.h"

#include <iterator>

namespace quorin::test {

namespace {

constexpr DWORD kPollMs = 20;
// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

template <class Condition>
bool waitFor(Condition condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= end) return false;
        Sleep(kPollMs);
    }
    return true;
}

}  // namespace

HWND waitForDialog(const wchar_t* caption, DWORD timeoutMs) {
    HWND found = nullptr;
    // Visible only once its controls exist.
    waitFor([&] { return (found = FindWindowW(L"#32770", caption)) != nullptr && IsWindowVisible(found); }, timeoutMs);
    if (found && !IsWindowVisible(found)) found = nullptr;
    return found;
}

bool waitUntilGone(HWND window, DWORD timeoutMs) {
    return waitFor([&] { return !IsWindow(window); }, timeoutMs);
}

std::wstring windowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

std::wstring messageBoxText(HWND box) { return windowText(GetDlgItem(box, kMessageBoxTextId)); }

void pressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

ChildProcess::~ChildProcess() {
    if (!info_.hProcess) return;
    if (running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, kWindowTimeoutMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ChildProcess::start(const std::wstring& commandLine) {
    if (info_.hProcess) return false;
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_) !=
           FALSE;
}

bool ChildProcess::waitForExit(DWORD& code, DWORD timeoutMs) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(info_.hProcess, &code) != FALSE;
}

bool ChildProcess::running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

BoxAnswerer::BoxAnswerer(const wchar_t* caption, int answer)
    : caption_(caption), answer_(answer), thread_([this] { run(); }) {}

BoxAnswerer::~BoxAnswerer() {
    stop_ = true;
    thread_.join();
}

std::vector<std::wstring> BoxAnswerer::texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

void BoxAnswerer::run() {
    while (!stop_) {
        HWND box = FindWindowW(L"#32770", caption_.c_str());
        if (!box || !IsWindowVisible(box)) {
            Sleep(kPollMs);
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            texts_.push_back(messageBoxText(box));
        }
        pressButton(box, answer_);
        waitUntilGone(box);
    }
}

}  // namespace quorin::test
