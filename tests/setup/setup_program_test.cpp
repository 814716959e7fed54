#include <gtest/gtest.h>

#include <shlwapi.h>

#include <string>

#include "common/unique_handle.h"
#include "setup/registry_footprint.h"
#include "support/ui_automation.h"
#include "support/library.h"

using namespace quorin::test;

namespace {

const wchar_t kDialogCaption[] = L"「クオリン」 Version 1.13.00";
const wchar_t kAppCaption[] = L"「クオリン」ツールバー登録";
const wchar_t kRegistered[] = L"「スタイルシート切り替え」ツールバーを登録しました。";
const wchar_t kUnregistered[] = L"「スタイルシート切り替え」ツールバーの登録を解除しました。";
const wchar_t kLoadCaption[] = L"エラー:DLLをロードできません";
const wchar_t kLoadText[] =
    L"「スタイルシート切り替え」ツールバーDLLをロードできません。\n"
    L"配布ファイルがすべてあるか、破損はないかなどをご確認ください。";
const wchar_t kBrowserCaption[] = L"エラー:IE5以降がインストールされていません";
const wchar_t kBrowserText[] = L"「クオリン」の動作には、Internet Explorer 5以降が必要です。";
const wchar_t kRegisterFailedCaption[] = L"エラー:登録できません";
const wchar_t kUnregisterFailedCaption[] = L"エラー:登録を解除できません";
const wchar_t kDiscardCaption[] = L"保存データ破棄の確認";

constexpr int kRegisterButton = 4;
constexpr int kUnregisterButton = 5;
constexpr int kCloseButton = IDOK;

// The caption a window created through the ANSI calls of a process like this one shows for text.
// Wine 8.0's WoW64 mode decodes such captions of 32-bit processes as UTF-8 instead of the ANSI code
// page, so there the ANSI program's dialog caption arrives mangled; elsewhere this is text.
std::wstring ansiCaption(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), size, nullptr, nullptr);
    const quorin::WindowHandle probe(
        CreateWindowExA(0, "STATIC", ansi.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    return windowText(probe.get());
}

const std::wstring& dialogCaption() {
    static const std::wstring caption = ansiCaption(kDialogCaption);
    return caption;
}

struct Box {
    std::wstring text;
    HWND owner = nullptr;
};

class SetupProgramTest : public testing::Test {
protected:
    void SetUp() override { removeFootprint(); }
    void TearDown() override { removeFootprint(); }

    // Starts the program in folder and waits for its dialog.
    HWND start(const std::wstring& folder, const std::wstring& environment = {}) {
        if (!program.start(L"\"" + folder + L"Quorin.exe\"", folder, environment)) return nullptr;
        return waitForDialog(dialogCaption().c_str());
    }

    // Waits for the message box with the caption, notes what it says and closes it with OK.
    Box acknowledge(const wchar_t* caption) {
        Box box;
        HWND window = waitForDialog(caption);
        if (!window) {
            ADD_FAILURE() << "no message box " << testing::PrintToString(std::wstring(caption));
            return box;
        }
        box.text = messageBoxText(window);
        box.owner = GetWindow(window, GW_OWNER);
        pressButton(window, IDOK);
        EXPECT_TRUE(waitUntilGone(window));
        return box;
    }

    DWORD exitCode() {
        DWORD code = STILL_ACTIVE;
        EXPECT_TRUE(program.waitForExit(code)) << "the program did not end";
        return code;
    }

    ChildProcess program;
};

TEST_F(SetupProgramTest, DialogOffersThreeButtonsAndOnlyCloseEndsIt) {
    HWND dialog = start(programFolder());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(windowText(GetDlgItem(dialog, kRegisterButton)), L"登録(&R)");
    EXPECT_EQ(windowText(GetDlgItem(dialog, kUnregisterButton)), L"解除(&U)");
    EXPECT_EQ(windowText(GetDlgItem(dialog, kCloseButton)), L"閉じる");
    EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), kCloseButton);

    PostMessageW(GetDlgItem(dialog, kCloseButton), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(GetDlgItem(dialog, kCloseButton), WM_KEYUP, VK_ESCAPE, 0);
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    Sleep(500);
    ASSERT_TRUE(IsWindow(dialog)) << "Escape or the close box ended the dialog";
    EXPECT_TRUE(program.running());

    pressButton(dialog, kCloseButton);
    EXPECT_EQ(exitCode(), 0u);
    EXPECT_EQ(FindWindowW(L"#32770", kAppCaption), nullptr);
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + kBand)) << "closing does nothing else";
}

TEST_F(SetupProgramTest, RegistersAndUnregistersTheLibraryBesideIt) {
    HWND dialog = start(programFolder());
    ASSERT_NE(dialog, nullptr);
    pressButton(dialog, kRegisterButton);
    const Box registered = acknowledge(kAppCaption);
    EXPECT_EQ(registered.text, kRegistered);
    EXPECT_EQ(registered.owner, dialog);
    EXPECT_EQ(exitCode(), 0u) << "one action per run";
    EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kToolbar, kBand.c_str()), L"スタイルシート切り替え(&K)");
    EXPECT_NE(textOf(HKEY_CLASSES_ROOT, L"CLSID\\" + kHelper, nullptr), kMissing);

    dialog = start(programFolder());
    ASSERT_NE(dialog, nullptr);
    BoxAnswerer keepSettings(kDiscardCaption, IDNO);
    pressButton(dialog, kUnregisterButton);
    EXPECT_EQ(acknowledge(kAppCaption).text, kUnregistered);
    EXPECT_EQ(exitCode(), 0u);
    EXPECT_EQ(keepSettings.texts().size(), 1u);
    EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kToolbar, kBand.c_str()), kMissing);
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + kHelper));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kSettings));
}

TEST_F(SetupProgramTest, CommandsWhileTheDiscardPromptIsOpenAreIgnored) {
    HWND dialog = start(programFolder());
    ASSERT_NE(dialog, nullptr);
    pressButton(dialog, kRegisterButton);
    ASSERT_EQ(acknowledge(kAppCaption).text, kRegistered);
    ASSERT_EQ(exitCode(), 0u);

    dialog = start(programFolder());
    ASSERT_NE(dialog, nullptr);
    pressButton(dialog, kUnregisterButton);
    const HWND prompt = waitForDialog(kDiscardCaption);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(GetWindow(prompt, GW_OWNER), nullptr) << "the prompt leaves the dialog enabled";
    pressButton(dialog, kRegisterButton);
    pressButton(dialog, kCloseButton);
    EXPECT_EQ(waitForDialog(kAppCaption, 1500), nullptr) << "a second action ran inside the first";
    EXPECT_TRUE(program.running());

    pressButton(prompt, IDNO);
    EXPECT_EQ(acknowledge(kAppCaption).text, kUnregistered);
    EXPECT_EQ(exitCode(), 0u);
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + kBand));
    EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kToolbar, kBand.c_str()), kMissing);
}

TEST_F(SetupProgramTest, MissingLibraryIsReportedAndTheDialogStays) {
    TempFolder folder;
    ASSERT_TRUE(folder.copyIn(programFolder() + L"Quorin.exe", L"Quorin.exe"));
    // The other family's build must not be taken instead.
    ASSERT_TRUE(folder.copyIn(programFolder() + L"QuorinU.dll", L"Quorin.DLL"));
    HWND dialog = start(folder.path());
    ASSERT_NE(dialog, nullptr);
    for (int button : {kRegisterButton, kUnregisterButton}) {
        pressButton(dialog, button);
        const Box box = acknowledge(kLoadCaption);
        EXPECT_EQ(box.text, kLoadText);
        EXPECT_EQ(box.owner, dialog);
        Sleep(200);
        EXPECT_TRUE(IsWindow(dialog));
    }
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + kBand));
    pressButton(dialog, kCloseButton);
    EXPECT_EQ(exitCode(), 0u);
}

TEST_F(SetupProgramTest, FailingOrMissingRegistrationFunctionIsReportedAsFailure) {
    TempFolder folder;
    ASSERT_TRUE(folder.copyIn(programFolder() + L"Quorin.exe", L"Quorin.exe"));
    ASSERT_TRUE(folder.copyIn(programFolder() + L"failing\\QuorinU.dll", L"QuorinU.DLL"));
    const struct {
        int button;
        const wchar_t* caption;
        const wchar_t* text;
    } cases[] = {
        {kRegisterButton, kRegisterFailedCaption, L"「スタイルシート切り替え」ツールバーを登録できませんでした。"},
        {kUnregisterButton, kUnregisterFailedCaption,
         L"「スタイルシート切り替え」ツールバーの登録を解除できませんでした。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
            HWND dialog = start(folder.path());
        ASSERT_NE(dialog, nullptr);
        pressButton(dialog, c.button);
        const Box box = acknowledge(c.caption);
        EXPECT_EQ(box.text.substr(0, wcslen(c.text)), c.text);
        EXPECT_EQ(box.owner, dialog);
        EXPECT_EQ(FindWindowW(L"#32770", kAppCaption), nullptr) << "no success message";
        EXPECT_EQ(exitCode(), 0u);
    }
}

// Makes this prefix's loader take the browser component from beside the program while it lives.
class NativeBrowserComponent {
public:
    NativeBrowserComponent() {
        ok_ = writeText(HKEY_CURRENT_USER, kOverrideKey, L"shdocvw", L"native");
    }
    ~NativeBrowserComponent() { SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Quorin.exe"); }
    bool ok() const noexcept { return ok_; }

private:
    static constexpr const wchar_t* kOverrideKey = L"Software\\Wine\\AppDefaults\\Quorin.exe\\DllOverrides";
    bool ok_ = false;
};

TEST_F(SetupProgramTest, OldBrowserComponentStopsTheProgramBeforeTheDialog) {
    TempFolder folder;
    ASSERT_TRUE(folder.copyIn(programFolder() + L"Quorin.exe", L"Quorin.exe"));
    ASSERT_TRUE(folder.copyIn(programFolder() + L"old-browser\\shdocvw.dll", L"shdocvw.dll"));
    NativeBrowserComponent override;
    ASSERT_TRUE(override.ok());
    ASSERT_TRUE(program.start(L"\"" + folder.path() + L"Quorin.exe\"", folder.path()));
    const Box box = acknowledge(kBrowserCaption);
    EXPECT_EQ(box.text, kBrowserText);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(exitCode(), 0u);
    EXPECT_EQ(FindWindowW(L"#32770", dialogCaption().c_str()), nullptr);
}

}  // namespace
