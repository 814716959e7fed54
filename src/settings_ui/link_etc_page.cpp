// The page of link enumeration limits and flags.
#include "settings_ui/link_etc_page.h"

#include <commctrl.h>

#include <algorithm>

#include "common/module.h"
#include "settings_ui/dialog_controls.h"
#include "settings_ui_resource.h"

namespace quorin {

namespace {

constexpr int kMaxLimit = 999;
constexpr int kLimitDigits = 3;

struct Limit {
    int edit;
    int spin;
    int LinkEtcSettings::*field;
};

constexpr Limit kLimits[] = {
    {IDC_LINKETC_ETC_EDIT, IDC_LINKETC_ETC_SPIN, &LinkEtcSettings::MaxEtcNum},
    {IDC_LINKETC_UNREL_EDIT, IDC_LINKETC_UNREL_SPIN, &LinkEtcSettings::MaxUnRelNum},
    {IDC_LINKETC_NONLINK_EDIT, IDC_LINKETC_NONLINK_SPIN, &LinkEtcSettings::MaxNonLinkNum},
};

struct Flag {
    int box;
    bool LinkEtcSettings::*field;
};

constexpr Flag kFlags[] = {
    {IDC_LINKETC_ENUM_STYLESHEET, &LinkEtcSettings::EnumStyleSheet},
    {IDC_LINKETC_GROUP_SAME_SITE, &LinkEtcSettings::GroupSameSite},
    {IDC_LINKETC_ENUM_NONLINK, &LinkEtcSettings::EnumNonLink},
    {IDC_LINKETC_ELIM_DUPL, &LinkEtcSettings::ElimDuplLinks},
};

}  // namespace

LinkEtcPage::LinkEtcPage(SettingsStore& store) : PropertyPage(moduleHandle(), IDD_LINKETC_PAGE), store_(&store) {}

INT_PTR LinkEtcPage::onInitDialog() {
    initialized_ = false;
    const LinkEtcSettings& etc = store_->LinkEtc;
    for (const Limit& limit : kLimits) {
        SendMessageW(item(limit.edit), EM_LIMITTEXT, kLimitDigits, 0);
        HWND spin = item(limit.spin);
        SendMessageW(spin, UDM_SETRANGE, 0, MAKELPARAM(kMaxLimit, 0));
        // The control takes a 16-bit position, which would turn a stored 100000 into 0; a value
        // out of range becomes its nearest bound instead.
        SendMessageW(spin, UDM_SETPOS, 0, MAKELPARAM(std::clamp(etc.*limit.field, 0, kMaxLimit), 0));
    }
    for (const Flag& flag : kFlags) setChecked(item(flag.box), etc.*flag.field);
    enableNonLinkLimit(etc.EnumNonLink);
    initialized_ = true;
    return 1;
}

void LinkEtcPage::enableNonLinkLimit(bool enable) {
    EnableWindow(item(IDC_LINKETC_NONLINK_EDIT), enable);
    EnableWindow(item(IDC_LINKETC_NONLINK_SPIN), enable);
}

INT_PTR LinkEtcPage::onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (code == BN_CLICKED && (id == IDC_LINKETC_ENUM_STYLESHEET || id == IDC_LINKETC_ELIM_DUPL ||
                               id == IDC_LINKETC_GROUP_SAME_SITE)) {
        setModified(true);
        return TRUE;
    }
    if (code == BN_CLICKED && id == IDC_LINKETC_ENUM_NONLINK) {
        enableNonLinkLimit(isChecked(item(IDC_LINKETC_ENUM_NONLINK)));
        setModified(true);
        return TRUE;
    }
    if (code != BN_CLICKED && code != EN_CHANGE) return PropertyPage::onCommand(hwnd, wParam, lParam);
    if (initialized_) setModified(true);
    return TRUE;
}

void LinkEtcPage::saveToStore() {
    LinkEtcSettings& etc = store_->LinkEtc;
    // An emptied field leaves the control at its last valid position, which its low word reports.
    for (const Limit& limit : kLimits) etc.*limit.field = LOWORD(SendMessageW(item(limit.spin), UDM_GETPOS, 0, 0));
    for (const Flag& flag : kFlags) etc.*flag.field = isChecked(item(flag.box));
}

}  // namespace quorin
