// Every page and entry dialog laid out with its real font: nothing cut off, nothing overlapping.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/module.h"
#include "settings_ui/common_controls.h"
#include "settings_ui_resource.h"
#include "support/dialog_layout.h"

namespace quorin::test {
namespace {

INT_PTR CALLBACK plainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Pages are child dialogs: they need a parent as the sheet gives them.
class Host {
public:
    Host() : window_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr)) {}
    ~Host() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_;
};

TEST(DialogLayout, EveryTemplateFitsItsTextsWithoutOverlaps) {
    ensureCommonControls();
    Host host;
    const WORD templates[] = {IDD_ABOUT_PAGE,     IDD_ADDSHEET_PAGE, IDD_PREFER_PAGE, IDD_ADDSHEET_ENTRY,
                              IDD_PREFER_ENTRY,   IDD_LINKTYPE_PAGE, IDD_LINKTYPE_ENTRY, IDD_CRUISE_PAGE,
                              IDD_LINKETC_PAGE,   IDD_CRUISE_ENTRY,  IDD_STYLEETC_PAGE};
    for (WORD id : templates) {
        HWND dialog = CreateDialogParamW(moduleHandle(), MAKEINTRESOURCEW(id), host.get(), &plainDialog, 0);
        ASSERT_TRUE(dialog) << "dialog " << id;
        for (const std::wstring& problem : layoutProblems(dialog)) ADD_FAILURE() << "dialog " << id << ": " << problem;
        DestroyWindow(dialog);
    }
}

}  // namespace
}  // namespace quorin::test
