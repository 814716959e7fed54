// Registers the common-control classes of the settings dialogs.
#include "settings_ui/common_controls.h"

#include <windows.h>
#include <commctrl.h>

namespace quorin {

void ensureCommonControls() noexcept {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_UPDOWN_CLASS;
    InitCommonControlsEx(&classes);
}

}  // namespace quorin
