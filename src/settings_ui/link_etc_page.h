#pragma once
// Page 114 of the link sheet: the limits and flags of link enumeration.

#include <array>
#include <cstddef>

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
    void notePosition(std::size_t limit);

    // Until the controls are filled, their notifications are not the user's edits.
    bool initialized_ = false;
    SettingsStore* store_;
    // The last position of each limit that its field held as a valid number: the control itself
    // reads an emptied field as 0.
    std::array<int, 3> lastValid_{};
};

}  // namespace quorin
