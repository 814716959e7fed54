#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "support/library.h"

using quorin::test::programFolder;

namespace {

// Copies the shell host program under the given file name into a fresh folder and runs it there.
DWORD runAs(const std::wstring& fileName) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"quorin-shell-" + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + fileName;
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring program = folder + L"\\" + fileName;
    if (!CopyFileW((programFolder() + L"shell_host.exe").c_str(), program.c_str(), FALSE)) return 100;

    std::wstring command = L"\"" + program + L"\" \"" + programFolder() + L"QuorinU.dll\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD code = 101;
    if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                       &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        else
            TerminateProcess(process.hProcess, 102);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    DeleteFileW(program.c_str());
    RemoveDirectoryW(folder.c_str());
    return code;
}

TEST(ShellHost, BandStaysEmptyAndHiddenInsideTheShellsFileWindows) {
    EXPECT_EQ(runAs(L"explorer.exe"), 0u);
    EXPECT_EQ(runAs(L"EXPLORER.EXE"), 0u) << "the host's path is compared without letter case";
}

TEST(ShellHost, OtherHostsGetTheirWindow) {
    // The same checks fail at "no window" in an ordinary browser process.
    EXPECT_EQ(runAs(L"iexplore.exe"), 2u);
}

}  // namespace
