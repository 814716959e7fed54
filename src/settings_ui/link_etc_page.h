#pragma once
// Page 114 of the link sheet: the limits and flags of link enumeration.

#include "settings/settings_store.h"
#include "settings_ui/property_page.h"

namespace quorin {

class LinkEtcPage : public PropertyPage {
public:
    explicit LinkEtcPage(SettingsStore& store);

private:
    INT_PTR onInitDialog() override;
    INT_PTR onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    void saveToStore() override;
    void enableNonLinkLimit(bool enable);

    // Until the controls are filled, their notifications are not the user's edits.
    bool initialized_ = false;
    SettingsStore* store_;
};

}  // namespace quorin
