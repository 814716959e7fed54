#pragma once
// The style settings sheet "スタイルシート切り替えの設定": added sheets, preferred sheets, style
// shortcuts and flags, About. Edits the store in place when the user applies; the opener saves
// the store when isModified says so.

#include <windows.h>

#include "settings/settings_store.h"
#include "settings_ui/about_page.h"
#include "settings_ui/add_sheet_page.h"
#include "settings_ui/prefer_page.h"
#include "settings_ui/property_sheet.h"
#include "settings_ui/style_etc_page.h"

namespace quorin {

class StyleSettingsSheet : public PropertySheet {
public:
    StyleSettingsSheet(SettingsStore& store, HWND owner);

private:
    AddSheetPage addSheetPage_;
    PreferPage preferPage_;
    StyleEtcPage etcPage_;
    AboutPage aboutPage_;
};

}  // namespace quorin
