#pragma once
// Drives dialogs and message boxes of this or another process from the test, always with a time
// limit, so that a test fails instead of hanging.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorin::test {

constexpr DWORD kWindowTimeoutMs = 10000;

// The top-level dialog with that caption once it appears, or null after the timeout.
HWND waitForDialog(const wchar_t* caption, DWORD timeoutMs = kWindowTimeoutMs);
// True once the window is gone, false after the timeout.
bool waitUntilGone(HWND window, DWORD timeoutMs = kWindowTimeoutMs);
std::wstring windowText(HWND window);
// The text of a message box.
std::wstring messageBoxText(HWND box);
// Presses the button with that id as a click would.
void pressButton(HWND dialog, int id);

// A program started by the test; one still running at the end is terminated.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { reset(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Ends whatever was started before. folder: the working directory, or empty for the test's; environment: a block as
    // environmentWith makes, or empty for the test's own.
    bool start(const std::wstring& commandLine, const std::wstring& folder = {}, const std::wstring& environment = {});
    // True when the program ended within the timeout; its exit code in code.
    bool waitForExit(DWORD& code, DWORD timeoutMs = kWindowTimeoutMs);
    bool running() const;

private:
    void reset();

    PROCESS_INFORMATION info_{};
};

// This process's environment block with one variable set to value.
std::wstring environmentWith(const std::wstring& name, const std::wstring& value);

// A fresh folder under the temporary folder, removed with its files afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const noexcept { return path_; }  // ends with a backslash
    bool copyIn(const std::wstring& source, const wchar_t* name) const;

private:
    std::wstring path_;
};

// Answers every message box with the caption, from its own thread, until destroyed.
class BoxAnswerer {
public:
    BoxAnswerer(const wchar_t* caption, int answer);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    std::vector<std::wstring> texts() const;  // of the boxes answered so far

private:
    void run();

    std::wstring caption_;
    int answer_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};

}  // namespace quorin::test
