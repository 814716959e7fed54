#include <gtest/gtest.h>
#include <olectl.h>
#include <shlwapi.h>

#include <string>

#include "common/reg_key.h"
#include "setup/registry_footprint.h"
#include "support/ui_automation.h"
#include "support/library.h"

using namespace quorin;
using namespace quorin::test;

namespace {

const wchar_t kBandText[] = L"スタイルシート切り替え(&K)";
const wchar_t kHelperText[] = L"スタイルシート切り替え ブラウザヘルパ";
const wchar_t kDiscardCaption[] = L"保存データ破棄の確認";
const wchar_t kDiscardText[] =
    L"保存されているデータを破棄しますか?\n破棄しない場合には、レジストリエントリ\n\n"
    L"HKEY_CURRENT_USER\\Software\\Orv\\Quorin\n\n以下にデータが残ります(システムの障害にはなりません)。";

class RegistrationTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(library.handle(), nullptr);
        removeFootprint();
    }
    void TearDown() override { removeFootprint(); }

    HRESULT call(const char* name) const {
        using Fn = HRESULT(STDAPICALLTYPE*)();
        auto fn = reinterpret_cast<Fn>(library.entry(name));
        return fn ? fn() : E_NOTIMPL;
    }

    // Unregisters through the export, answering the confirmation box; the texts of the boxes shown.
    std::vector<std::wstring> unregister(const char* name, int answer, HRESULT expected = S_OK) const {
        BoxAnswerer answerer(kDiscardCaption, answer);
        EXPECT_EQ(call(name), expected);
        return answerer.texts();
    }

    std::wstring libraryPath() const {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(library.handle(), path, MAX_PATH);
        return path;
    }

    void expectClassesRegistered() const {
        EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, L"CLSID\\" + kBand, nullptr), kBandText);
        EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, L"CLSID\\" + kHelper, nullptr), kHelperText);
        for (const std::wstring* clsid : {&kBand, &kHelper}) {
            const std::wstring server = L"CLSID\\" + *clsid + L"\\InprocServer32";
            EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, server, nullptr), libraryPath());
            EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, server, L"ThreadingModel"), L"Apartment");
            EXPECT_EQ(valueCount(HKEY_CLASSES_ROOT, server), 2u);
        }
        EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kApproved, kBand.c_str()), kBandText) << "an NT platform";
        EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kApproved, kHelper.c_str()), kHelperText);
        EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kSettings));
    }

    void expectBrowserEntries(HKEY root, bool present) const {
        EXPECT_EQ(textOf(root, kToolbar, kBand.c_str()), present ? kBandText : kMissing);
        EXPECT_EQ(textOf(root, kHelperKey, nullptr), present ? kHelperText : kMissing);
    }

    void expectNothingRegistered() const {
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + kBand));
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + kHelper));
        EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kApproved, kBand.c_str()), kMissing);
        EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kApproved, kHelper.c_str()), kMissing);
        expectBrowserEntries(HKEY_LOCAL_MACHINE, false);
        expectBrowserEntries(HKEY_CURRENT_USER, false);
    }

    Library library;
};

TEST_F(RegistrationTest, RegisteringWritesTheMachineFootprintAndTwiceLeavesOneSet) {
    ASSERT_EQ(call("DllRegisterServer"), S_OK);
    ASSERT_EQ(call("DllRegisterServer"), S_OK);
    expectClassesRegistered();
    expectBrowserEntries(HKEY_LOCAL_MACHINE, true);
    expectBrowserEntries(HKEY_CURRENT_USER, false);
    EXPECT_EQ(valueCount(HKEY_CURRENT_USER, kSettings), 0u) << "the settings root is created empty";
}

TEST_F(RegistrationTest, CurrentUserVariantPutsOnlyTheBrowserEntriesUnderTheUser) {
    ASSERT_EQ(call("DllRegisterServerCU"), S_OK);
    expectClassesRegistered();
    expectBrowserEntries(HKEY_CURRENT_USER, true);
    expectBrowserEntries(HKEY_LOCAL_MACHINE, false);

    const std::vector<std::wstring> boxes = unregister("DllUnregisterServerCU", IDNO);
    EXPECT_EQ(boxes.size(), 1u);
    expectNothingRegistered();
}

TEST_F(RegistrationTest, UnregisteringAnsweredNoRemovesTheEntriesAndKeepsTheSettings) {
    ASSERT_EQ(call("DllRegisterServer"), S_OK);
    ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kSettings + L"\\AddSheet", L"Title1", L"kept"));
    ASSERT_TRUE(writeText(HKEY_LOCAL_MACHINE, kToolbar, L"{00000000-0000-0000-0000-000000000001}", L"another toolbar"));

    const std::vector<std::wstring> boxes = unregister("DllUnregisterServer", IDNO);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], kDiscardText);
    expectNothingRegistered();
    EXPECT_EQ(textOf(HKEY_CURRENT_USER, kSettings + L"\\AddSheet", L"Title1"), L"kept");
    EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kToolbar, L"{00000000-0000-0000-0000-000000000001}"), L"another toolbar");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kToolbar.c_str(), L"{00000000-0000-0000-0000-000000000001}");
}

TEST_F(RegistrationTest, UnregisteringAnsweredYesDeletesTheSettingsAndTheirEmptyParent) {
    ASSERT_EQ(call("DllRegisterServer"), S_OK);
    ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kSettings + L"\\Prefer", L"Title1", L"gone"));
    EXPECT_EQ(unregister("DllUnregisterServer", IDYES).size(), 1u);
    expectNothingRegistered();
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, L"Software\\Orv"));
}

TEST_F(RegistrationTest, UnregisteringAnsweredYesSucceedsWhenTheSettingsAreAlreadyGone) {
    ASSERT_EQ(call("DllRegisterServer"), S_OK);
    ASSERT_EQ(SHDeleteKeyW(HKEY_CURRENT_USER, kSettings.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(unregister("DllUnregisterServer", IDYES).size(), 1u);
    expectNothingRegistered();
}

TEST_F(RegistrationTest, UnregisteringTwiceFailsAtOnceAndAsksNothing) {
    ASSERT_EQ(call("DllRegisterServer"), S_OK);
    EXPECT_EQ(unregister("DllUnregisterServer", IDNO).size(), 1u);
    ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kSettings, L"Marker", L"stays"));
    EXPECT_TRUE(unregister("DllUnregisterServer", IDYES, SELFREG_E_CLASS).empty());
    EXPECT_TRUE(unregister("DllUnregisterServerCU", IDYES, SELFREG_E_CLASS).empty());
    EXPECT_EQ(textOf(HKEY_CURRENT_USER, kSettings, L"Marker"), L"stays");
}

TEST_F(RegistrationTest, AFailingStepStopsWithTheSelfRegistrationError) {
    ASSERT_EQ(call("DllRegisterServer"), S_OK);
    const std::wstring blocker = L"CLSID\\" + kHelper + L"\\InprocServer32\\Blocker";
    RegKey key;
    ASSERT_TRUE(key.create(HKEY_CLASSES_ROOT, blocker.c_str(), KEY_WRITE));
    key.reset();

    EXPECT_TRUE(unregister("DllUnregisterServer", IDYES, SELFREG_E_CLASS).empty());
    EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kHelperKey, nullptr), kMissing) << "the step before it stays done";
    EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kToolbar, kBand.c_str()), kBandText) << "later steps are not run";
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kSettings));
}

// The system's own registration tool, in its own process.
class Regsvr32Test : public RegistrationTest {
protected:
    DWORD regsvr32(const std::wstring& options) {
        ChildProcess tool;
        EXPECT_TRUE(tool.start(L"regsvr32.exe " + options + L" \"" + libraryPath() + L"\""));
        DWORD code = STILL_ACTIVE;
        EXPECT_TRUE(tool.waitForExit(code, 30000)) << "regsvr32 did not finish";
        return code;
    }
};

TEST_F(Regsvr32Test, RegistersAndUnregistersTheLibrary) {
    EXPECT_EQ(regsvr32(L"/s"), 0u);
    expectClassesRegistered();
    expectBrowserEntries(HKEY_LOCAL_MACHINE, true);

    BoxAnswerer answerer(kDiscardCaption, IDYES);
    EXPECT_EQ(regsvr32(L"/s /u"), 0u);
    EXPECT_EQ(answerer.texts().size(), 1u);
    expectNothingRegistered();
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kSettings));

    EXPECT_NE(regsvr32(L"/s /u"), 0u) << "nothing left to unregister";
}

}  // namespace
