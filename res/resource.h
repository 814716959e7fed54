#pragma once
// Resource ids of the library. The numbers are fixed: stored settings, the toolbar's saved
// layout and the string table depend on them.

// Strings
#define IDS_BAND_DESCRIPTION 1
#define IDS_STYLE_BUTTON 2
#define IDS_TIP_USE_SHEETS 3
#define IDS_TIP_DONT_USE_SHEETS 4
#define IDS_TIP_NO_SHEETS 5
#define IDS_FIXED_SHEETS_ONLY 6
#define IDS_HELPER_DESCRIPTION 100
#define IDS_LINK_BUTTON 201
#define IDS_TIP_CRUISE 202
#define IDS_NON_LINK_MENU 203
#define IDS_DISCARD_CAPTION 2001
#define IDS_DISCARD_TEXT 2101
#define IDS_LINKTYPE_START 50103
#define IDS_LINKTYPE_NEXT 50104
#define IDS_LINKTYPE_PREV 50105
#define IDS_LINKTYPE_CONTENTS 50106
#define IDS_LINKTYPE_INDEX 50107
#define IDS_LINKTYPE_MADE 50116
#define IDS_LINKTYPE_UP 50117

// Menu commands (their help texts share the ids in the string table)
#define IDM_STYLE_USE_SHEETS 40001
#define IDM_STYLE_FIXED_ONLY 40002
#define IDM_STYLE_USE_ATTR 40003
#define IDM_STYLE_SETTINGS 40099
#define IDM_LINK_CRUISE 50001
#define IDM_LINK_OTHER 50090
#define IDM_LINK_GENERAL 50091
#define IDM_LINK_NON_LINK 50092
#define IDM_LINK_SETTINGS 50099

// Bitmaps and menus
#define IDB_TOOLBAR 106
#define IDB_TOOLBAR_HOT 107
#define IDR_MENUS 108
