#pragma once
// Shared set-up of the settings user-interface tests: a private registry, a store, and the
// settings command's sequence around a sheet or an entry dialog.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "support/dialog_driver.h"
#include "support/registry_sandbox.h"

namespace quorin::test {

constexpr wchar_t kStyleCaption[] = L"スタイルシート切り替えの設定";
constexpr wchar_t kLinkCaption[] = L"リンクの設定";

using SheetScript = std::function<void(ModalScript&, HWND sheet)>;

// Every value under the settings key, by key path and value name: type and data.
std::map<std::wstring, std::vector<BYTE>> registryImage();

AddSheetEntry addSheet(const wchar_t* title, const wchar_t* path);
PreferEntry prefer(const wchar_t* title, const wchar_t* uri);
LinkTypeEntry linkType(const wchar_t* title, int which, const wchar_t* attr, WORD shortcut = 0, int submenu = 2);
CruiseEntry cruise(const wchar_t* title);
std::vector<std::wstring> titles(const std::vector<AddSheetEntry>& entries);

// Clicks a page button that opens an entry dialog and waits for the dialog.
HWND openEntryDialog(ModalScript& script, HWND page, int button, const wchar_t* caption);

class SettingsUiTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sandbox.active()); }

    // As the settings command does it: the sheet over the store, then saving the store when the
    // sheet reports modifications. The script gets the sheet window once it is shown.
    template <class Sheet>
    void openSheet(const wchar_t* caption, const SheetScript& script) {
        Sheet sheet(store, nullptr);
        ModalScript driver(scriptLimitMs);
        EXPECT_TRUE(driver.run([&] { sheet.doModal(); },
                               [&](ModalScript& s) {
                                   HWND window = s.waitForDialog(caption);
                                   ASSERT_TRUE(window) << "the sheet did not open";
                                   script(s, window);
                               }))
            << "the script timed out or left a window open";
        modified = sheet.isModified();
        if (modified) store.saveAll();
    }

    // Runs an entry dialog on its own; the result of doModal.
    template <class Dialog>
    INT_PTR runDialog(Dialog& dialog, const wchar_t* caption, const SheetScript& script) {
        INT_PTR result = 0;
        ModalScript driver(scriptLimitMs);
        EXPECT_TRUE(driver.run([&] { result = dialog.doModal(); },
                               [&](ModalScript& s) {
                                   HWND window = s.waitForDialog(caption);
                                   ASSERT_TRUE(window) << "the dialog did not open";
                                   script(s, window);
                               }))
            << "the script timed out or left a window open";
        return result;
    }

    RegistrySandbox sandbox;
    SettingsStore store;  // after the sandbox: its final save goes into the sandbox
    bool modified = false;
    // How long a sheet's or dialog's script may take before it counts as hung.
    DWORD scriptLimitMs = 15000;
};

}  // namespace quorin::test
