#include "controllers/style_controller.h"

#include "common/resources.h"
#include "controllers/menu_items.h"
#include "controllers/shortcut.h"
#include "resource.h"
#include "settings_ui/style_settings_sheet.h"

namespace quorin {

namespace {

// Each title range holds 99 commands; titles beyond them are left out of the menu rather than
// numbered into the other range.
constexpr int kPageTitleIds = 40101;
constexpr int kAddedTitleIds = 40201;
constexpr int kIdsPerRange = 99;
// Captions of at most 59 characters.
constexpr std::size_t kCaptionCapacity = 60;

bool inRange(UINT id, int first) noexcept {
    return id >= static_cast<UINT>(first) && id < static_cast<UINT>(first + kIdsPerRange);
}

const SheetEntry* entryNumbered(const std::vector<SheetEntry>& entries, UINT id) noexcept {
    for (const SheetEntry& entry : entries)
        if (entry.commandId == static_cast<int>(id)) return &entry;
    return nullptr;
}

// Shift or Control held while the menu opens turns the sheets on and re-reads the page.
bool modifierHeld() noexcept { return ((GetAsyncKeyState(VK_SHIFT) | GetAsyncKeyState(VK_CONTROL)) & 0x8000) != 0; }

}  // namespace

StyleController::StyleController(SettingsStore& settings)
    : ButtonController(settings, 0, kCommandId, true), engine_(settings) {}

void StyleController::setSite(IUnknown* site) { engine_.setSite(site); }

void StyleController::onBeforeNavigate(IWebBrowser2*) { engine_.beginNavigation(); }

void StyleController::onDocumentComplete(IWebBrowser2* browser, bool hasContent) {
    engine_.attachDocument(browser, hasContent);
    stale_ = false;
    documentAvailable_ = hasContent;
}

void StyleController::frameCompleted(IWebBrowser2* frame, bool hasContent) { engine_.frameCompleted(frame, hasContent); }

void StyleController::getTooltip(NMTTDISPINFOW& info) {
    refreshIfStale();
    UINT text = IDS_TIP_USE_SHEETS;
    if (engine_.sheetCount() <= 0)
        text = IDS_TIP_NO_SHEETS;
    else if (engine_.useSheets())
        text = IDS_TIP_DONT_USE_SHEETS;
    setTooltipText(info, text);
}

LRESULT StyleController::getButtonInfo(NMTOOLBARW& info) { return fillButtonInfo(info, IDS_STYLE_BUTTON); }

LRESULT StyleController::onCommand() {
    if (!documentAvailable_) return 0;
    refreshIfStale();
    engine_.setUseSheets(!engine_.useSheets());
    return 0;
}

bool StyleController::onShortcut(WORD shortcut) {
    if (isModifierKey(shortcut) || !documentAvailable_) return false;
    // Equal shortcuts toggle the stylesheets.
    if (isShortcut(shortcut, engine_.useSheetShortcut())) {
        onCommand();
        return true;
    }
    if (!isShortcut(shortcut, engine_.useAttrShortcut())) return false;
    engine_.setUseStyleAttr(!engine_.useStyleAttr());
    return true;
}

LRESULT StyleController::onMenuSelect(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    if (!inRange(id, kPageTitleIds) && !inRange(id, kAddedTitleIds)) return ButtonController::onMenuSelect(wParam, lParam);
    showStatusText(L"");
    return 0;
}

void StyleController::prepareMenu(HMENU menu) {
    refreshIfStale();
    if (modifierHeld()) {
        if (!engine_.useSheets()) engine_.setUseSheets(true);
        engine_.refreshList();
    }
    setMenuItemState(menu, IDM_STYLE_USE_SHEETS, engine_.useSheets(), documentAvailable_ && engine_.sheetCount() > 0);
    setMenuItemState(menu, IDM_STYLE_USE_ATTR, engine_.useStyleAttr(), documentAvailable_);
    if (!documentAvailable_) return;
    bool anyChecked = insertTitles(menu, engine_.sheetTitles(), kPageTitleIds, &StyleEngine::setTitleCommandId);
    anyChecked |= insertTitles(menu, engine_.addedSheets(), kAddedTitleIds, &StyleEngine::setAddedCommandId);
    if (!engine_.hasFixedSheets()) return;
    const std::wstring fixedOnly = loadString(IDS_FIXED_SHEETS_ONLY);
    insertMenuString(menu, IDM_STYLE_SETTINGS, IDM_STYLE_FIXED_ONLY, fixedOnly.c_str(), MFT_RADIOCHECK,
                     anyChecked ? 0 : MFS_CHECKED);
    insertMenuSeparator(menu, IDM_STYLE_SETTINGS);
}

bool StyleController::insertTitles(HMENU menu, const std::vector<SheetEntry>& entries, int firstId,
                                   void (StyleEngine::*setCommandId)(std::size_t, int) noexcept) {
    bool anyChecked = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool fits = i < static_cast<std::size_t>(kIdsPerRange);
        // An entry left out keeps no id of an earlier menu.
        const int id = fits ? firstId + static_cast<int>(i) : 0;
        (engine_.*setCommandId)(i, id);
        if (!fits) continue;
        wchar_t caption[kCaptionCapacity];
        escapeAmpersands(entries[i].title.textOrEmpty(), caption, kCaptionCapacity);
        const bool checked = !entries[i].disabled;
        insertMenuString(menu, IDM_STYLE_SETTINGS, static_cast<UINT>(id), caption, MFT_RADIOCHECK,
                         checked ? MFS_CHECKED : 0);
        anyChecked |= checked;
    }
    if (!entries.empty()) insertMenuSeparator(menu, IDM_STYLE_SETTINGS);
    return anyChecked;
}

const SheetEntry* StyleController::titleEntry(UINT id) const noexcept {
    if (inRange(id, kPageTitleIds)) return entryNumbered(engine_.sheetTitles(), id);
    if (inRange(id, kAddedTitleIds)) return entryNumbered(engine_.addedSheets(), id);
    return nullptr;
}

void StyleController::runMenuCommand(UINT id) {
    if (const SheetEntry* entry = titleEntry(id)) {
        // The lists change while the sheet is selected.
        const SharedString title = entry->title;
        engine_.selectSheet(title);
        return;
    }
    switch (id) {
    case IDM_STYLE_USE_SHEETS:
        engine_.setUseSheets(!engine_.useSheets());
        break;
    case IDM_STYLE_FIXED_ONLY:
        engine_.selectSheet(SharedString());
        break;
    case IDM_STYLE_USE_ATTR:
        engine_.setUseStyleAttr(!engine_.useStyleAttr());
        break;
    case IDM_STYLE_SETTINGS:
        openSettings();
        break;
    default:
        break;
    }
}

void StyleController::openSettings() {
    settings().loadAll();
    StyleSettingsSheet sheet(settings(), toolbar());
    sheet.doModal();
    if (!sheet.isModified()) return;
    settings().saveAll();
    engine_.reloadSettings();
    // Added sheets and preferred titles are applied afresh by the complete reload.
    engine_.refreshPage();
}

void StyleController::refreshIfStale() {
    if (!stale_) return;
    engine_.refreshList();
    stale_ = false;
}

}  // namespace quorin
