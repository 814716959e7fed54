// The page of style shortcuts and flags.
#include "settings_ui/style_etc_page.h"

#include <commctrl.h>

#include "common/module.h"
#include "settings_ui/dialog_controls.h"
#include "settings_ui_resource.h"

namespace quorin {

StyleEtcPage::StyleEtcPage(SettingsStore& store) : PropertyPage(moduleHandle(), IDD_STYLEETC_PAGE), store_(&store) {}

INT_PTR StyleEtcPage::onInitDialog() {
    initialized_ = false;
    const EtcSettings& etc = store_->Etc;
    SendMessageW(item(IDC_STYLEETC_SHEET_SHORTCUT), HKM_SETHOTKEY, etc.UseSheetShortcut, 0);
    SendMessageW(item(IDC_STYLEETC_ATTR_SHORTCUT), HKM_SETHOTKEY, etc.UseAttrShortcut, 0);
    setChecked(item(IDC_STYLEETC_SYNC_USE), etc.SyncUse);
    setChecked(item(IDC_STYLEETC_FRAME_AWARE), etc.FrameAware);
    initialized_ = true;
    return 1;
}

INT_PTR StyleEtcPage::onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (code == BN_CLICKED && (id == IDC_STYLEETC_SYNC_USE || id == IDC_STYLEETC_FRAME_AWARE)) {
        setModified(true);
        return TRUE;
    }
    if (code != BN_CLICKED && code != EN_CHANGE) return PropertyPage::onCommand(hwnd, wParam, lParam);
    if (initialized_) setModified(true);
    return TRUE;
}

void StyleEtcPage::saveToStore() {
    EtcSettings& etc = store_->Etc;
    etc.UseSheetShortcut = LOWORD(SendMessageW(item(IDC_STYLEETC_SHEET_SHORTCUT), HKM_GETHOTKEY, 0, 0));
    etc.UseAttrShortcut = LOWORD(SendMessageW(item(IDC_STYLEETC_ATTR_SHORTCUT), HKM_GETHOTKEY, 0, 0));
    etc.SyncUse = isChecked(item(IDC_STYLEETC_SYNC_USE));
    etc.FrameAware = isChecked(item(IDC_STYLEETC_FRAME_AWARE));
}

}  // namespace quorin
