#pragma once
// Page 116 of the style sheet: the two style shortcuts and two flags.

#include "settings/settings_store.h"
#include "settings_ui/property_page.h"

namespace quorin {

class StyleEtcPage : public PropertyPage {
public:
    explicit StyleEtcPage(SettingsStore& store);

private:
    INT_PTR onInitDialog() override;
    INT_PTR onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    void saveToStore() override;

    // Until the controls are filled, their notifications are not the user's edits.
    bool initialized_ = false;
    SettingsStore* store_;
};

}  // namespace quorin
