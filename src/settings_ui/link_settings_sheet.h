#pragma once
// The link settings sheet "リンクの設定": link types, manual cruise, enumeration limits. Edits the
// store in place when the user applies; the opener saves the store when isModified says so.

#include <windows.h>

#include "settings/settings_store.h"
#include "settings_ui/link_cruise_page.h"
#include "settings_ui/link_etc_page.h"
#include "settings_ui/link_type_page.h"
#include "settings_ui/property_sheet.h"

namespace quorin {

class LinkSettingsSheet : public PropertySheet {
public:
    LinkSettingsSheet(SettingsStore& store, HWND owner);

private:
    LinkTypePage linkTypePage_;
    LinkCruisePage cruisePage_;
    LinkEtcPage etcPage_;
};

}  // namespace quorin
