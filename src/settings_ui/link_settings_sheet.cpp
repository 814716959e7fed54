// The link settings sheet and its tabs.
#include "settings_ui/link_settings_sheet.h"

#include "common/module.h"
#include "settings_ui_resource.h"

namespace quorin {

LinkSettingsSheet::LinkSettingsSheet(SettingsStore& store, HWND owner)
    : PropertySheet(moduleHandle(), IDS_LINK_SETTINGS_CAPTION, owner),
      linkTypePage_(store),
      cruisePage_(store),
      etcPage_(store) {
    addPage(linkTypePage_);
    addPage(cruisePage_);
    addPage(etcPage_);
}

}  // namespace quorin
