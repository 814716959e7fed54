// The page of style shortcuts and flags.
#include "settings_ui/style_etc_page.h"

#include <commctrl.h>

#include "common/module.h"
#include "settings_ui/dialog_controls.h"
#include "settings_ui/hot_key_field.h"
#include "settings_ui_resource.h"

namespace quorin {

StyleEtcPage::StyleEtcPage(SettingsStore& store) : PropertyPage(moduleHandle(), IDD_STYLEETC_PAGE), store_(&store) {}

INT_PTR StyleEtcPage::onInitDialog() {
    initialized_ = false;
    const EtcSettings& etc = store_->Etc;
    SendMessageW(item(IDC_STYLEETC_SHEET_SHORTCUT), HKM_SETHOTKEY, etc.UseSheetShortcut, 0);
    SendMessageW(item(IDC_STYLEETC_ATTR_SHORTCUT), HKM_SETHOTKEY, etc.UseAttrShortcut, 0);
    HotKeyField::watch(item(IDC_STYLEETC_SHEET_SHORTCUT));
    HotKeyField::watch(item(IDC_STYLEETC_ATTR_SHORTCUT));
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

// What the controls hold is compared with the store, whatever they told of their changes, so
// that an edit is saved whenever it is written.
void StyleEtcPage::saveToStore() {
    EtcSettings etc;
    etc.UseSheetShortcut = hotKeyOf(item(IDC_STYLEETC_SHEET_SHORTCUT));
    etc.UseAttrShortcut = hotKeyOf(item(IDC_STYLEETC_ATTR_SHORTCUT));
    etc.SyncUse = isChecked(item(IDC_STYLEETC_SYNC_USE));
    etc.FrameAware = isChecked(item(IDC_STYLEETC_FRAME_AWARE));
    if (!(etc == store_->Etc)) setModified(true);
    store_->Etc = etc;
}

}  // namespace quorin
