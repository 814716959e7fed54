// The About page.
#include "settings_ui/about_page.h"

#include <shellapi.h>

#include "common/module.h"
#include "settings_ui/dialog_controls.h"
#include "settings_ui_resource.h"

namespace quorin {

AboutPage::AboutPage() : PropertyPage(moduleHandle(), IDD_ABOUT_PAGE) {}

INT_PTR AboutPage::onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_ABOUT_HOME_PAGE) {
        // The button shows the address it opens; the resource holds it once.
        const std::wstring address = controlText(item(IDC_ABOUT_HOME_PAGE));
        ShellExecuteW(hwnd, nullptr, address.c_str(), nullptr, nullptr, SW_SHOW);
    }
    return PropertyPage::onCommand(hwnd, wParam, lParam);
}

}  // namespace quorin
