// The style settings sheet and its tabs.
#include "settings_ui/style_settings_sheet.h"

#include "common/module.h"
#include "settings_ui_resource.h"

namespace quorin {

StyleSettingsSheet::StyleSettingsSheet(SettingsStore& store, HWND owner)
    : PropertySheet(moduleHandle(), IDS_STYLE_SETTINGS_CAPTION, owner),
      addSheetPage_(store),
      preferPage_(store),
      etcPage_(store) {
    addPage(addSheetPage_);
    addPage(preferPage_);
    addPage(etcPage_);
    addPage(aboutPage_);
}

}  // namespace quorin
