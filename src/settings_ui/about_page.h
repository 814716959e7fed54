#pragma once
// Page 106 of the style sheet: where the program is published, as a button that opens it.

#include "settings_ui/property_page.h"

namespace quorin {

class AboutPage : public PropertyPage {
public:
    AboutPage();

private:
    INT_PTR onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace quorin
