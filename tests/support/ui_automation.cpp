#include "support/ui_automation.h"

#include <cwchar>
#include <iterator>
#include <memory>

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

void ChildProcess::reset() {
    if (!info_.hProcess) return;
    if (running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, kWindowTimeoutMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = PROCESS_INFORMATION{};
}

bool ChildProcess::start(const std::wstring& commandLine, const std::wstring& folder, const std::wstring& environment) {
    reset();
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    void* block = environment.empty() ? nullptr : const_cast<wchar_t*>(environment.c_str());
    return CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, block,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &info_) != FALSE;
}

bool ChildProcess::waitForExit(DWORD& code, DWORD timeoutMs) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(info_.hProcess, &code) != FALSE;
}

bool ChildProcess::running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::wstring environmentWith(const std::wstring& name, const std::wstring& value) {
    const std::unique_ptr<wchar_t, decltype(&FreeEnvironmentStringsW)> strings(GetEnvironmentStringsW(),
                                                                               &FreeEnvironmentStringsW);
    const std::wstring prefix = name + L"=";
    std::wstring block;
    for (const wchar_t* entry = strings.get(); entry && *entry; entry += wcslen(entry) + 1) {
        if (_wcsnicmp(entry, prefix.c_str(), prefix.size()) != 0) block.append(entry).push_back(L'\0');
    }
    block.append(prefix + value).push_back(L'\0');
    return block;  // its own terminator ends the block
}

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static LONG counter = 0;
    path_ = std::wstring(temp) + L"quorin-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(InterlockedIncrement(&counter)) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((path_ + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
}

bool TempFolder::copyIn(const std::wstring& source, const wchar_t* name) const {
    return CopyFileW(source.c_str(), (path_ + name).c_str(), FALSE) != FALSE;
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
