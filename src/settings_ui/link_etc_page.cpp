// The page of link enumeration limits and flags.
#include "settings_ui/link_etc_page.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

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
    for (std::size_t i = 0; i < std::size(kLimits); ++i) {
        const Limit& limit = kLimits[i];
        SendMessageW(item(limit.edit), EM_LIMITTEXT, kLimitDigits, 0);
        HWND spin = item(limit.spin);
        SendMessageW(spin, UDM_SETRANGE, 0, MAKELPARAM(kMaxLimit, 0));
        // The control takes a 16-bit position, which would turn a stored 100000 into 0; a value
        // out of range becomes its nearest bound instead.
        lastValid_[i] = std::clamp(etc.*limit.field, 0, kMaxLimit);
        SendMessageW(spin, UDM_SETPOS, 0, MAKELPARAM(lastValid_[i], 0));
    }
    for (const Flag& flag : kFlags) setChecked(item(flag.box), etc.*flag.field);
    enableNonLinkLimit(etc.EnumNonLink);
    initialized_ = true;
    return 1;
}

void LinkEtcPage::notePosition(std::size_t limit) {
    if (!hasText(item(kLimits[limit].edit))) return;
    const LRESULT position = SendMessageW(item(kLimits[limit].spin), UDM_GETPOS, 0, 0);
    if (HIWORD(position) == 0) lastValid_[limit] = LOWORD(position);
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
    for (std::size_t i = 0; i < std::size(kLimits); ++i)
        if (code == EN_CHANGE && id == kLimits[i].edit) notePosition(i);
    if (initialized_) setModified(true);
    return TRUE;
}

// A limit the control brought into range is written as shown, and like every difference from
// the store it is an edit to be saved now, not left in memory for the window's close.
void LinkEtcPage::saveToStore() {
    LinkEtcSettings etc = store_->LinkEtc;
    for (std::size_t i = 0; i < std::size(kLimits); ++i) {
        notePosition(i);
        etc.*kLimits[i].field = lastValid_[i];
    }
    for (const Flag& flag : kFlags) etc.*flag.field = isChecked(item(flag.box));
    if (!(etc == store_->LinkEtc)) setModified(true);
    store_->LinkEtc = etc;
}

}  // namespace quorin
