#include "controllers/link_controller.h"

#include <algorithm>
#include <new>

#include "common/fixed_text.h"
#include "common/module.h"
#include "controllers/menu_items.h"
#include "controllers/shortcut.h"
#include "resource.h"
#include "settings_ui/link_settings_sheet.h"

namespace quorin {

namespace {

// Menu captions are cut to 59 characters.
constexpr std::size_t kMenuTextCapacity = 60;
// The caption of the non-links holder, as the string table gives it.
constexpr int kHolderCaptionCapacity = 80;

const LinkEntry* numbered(const LinkList& list, UINT id) noexcept {
    for (const LinkEntry& entry : list.entries())
        if (entry.commandId == static_cast<int>(id)) return &entry;
    return nullptr;
}

// "title", a tab and the link's text, cut to a menu caption and escaped so that an ampersand of
// either shows literally.
void inlineCaption(const wchar_t* title, const wchar_t* text, wchar_t (&caption)[kMenuTextCapacity]) noexcept {
    PieceText<kMenuTextCapacity> combined;
    combined.append(title).append(L"\t").append(text);
    ButtonController::escapeAmpersands(combined.c_str(), caption, kMenuTextCapacity);
}

}  // namespace

LinkController::LinkController(SettingsStore& settings)
    : ButtonController(settings, 1, kCommandId, true), collection_(&settings) {}

void LinkController::setSite(IUnknown* site) { collection_.setSite(site); }

void LinkController::onDocumentComplete(IWebBrowser2* browser, bool hasContent) {
    collection_.setDocument(browser);
    documentUsable_ = hasContent;
}

void LinkController::getTooltip(NMTTDISPINFOW& info) { setTooltipText(info, IDS_TIP_CRUISE); }

LRESULT LinkController::getButtonInfo(NMTOOLBARW& info) { return fillButtonInfo(info, IDS_LINK_BUTTON); }

LRESULT LinkController::onCommand() {
    if (documentUsable_) collection_.cruise();
    return 0;
}

LRESULT LinkController::onDropDown(const NMTOOLBARW& info) { return showDropDownMenu(info, 1); }

bool LinkController::onShortcut(WORD shortcut) {
    if (isModifierKey(shortcut) || !documentUsable_) return false;
    if (followLinkType(shortcut)) return true;
    if (!isShortcut(shortcut, collection_.cruiseShortcut())) return false;
    collection_.cruise();
    return true;
}

LRESULT LinkController::onMenuSelect(WPARAM wParam, LPARAM lParam) {
    // For a submenu holder the low word is a position, not an id.
    const bool popup = (HIWORD(wParam) & MF_POPUP) != 0;
    if (const LinkEntry* entry = popup ? nullptr : findEntry(LOWORD(wParam))) {
        showStatusText(entry->target.textOrEmpty());
        return 0;
    }
    return ButtonController::onMenuSelect(wParam, lParam);
}

const LinkEntry* LinkController::findEntry(UINT id) const noexcept {
    if (kLinkTypeIds.holds(id)) {
        for (const LinkTypeEntry& type : collection_.linkTypes())
            if (const LinkEntry* entry = numbered(type.links, id)) return entry;
        return nullptr;
    }
    if (kOtherIds.holds(id)) return numbered(collection_.otherLinks(), id);
    if (kGeneralIds.holds(id)) {
        if (const LinkEntry* entry = numbered(collection_.sameSiteLinks(), id)) return entry;
        return numbered(collection_.generalLinks(), id);
    }
    if (kNonLinkIds.holds(id)) return numbered(collection_.nonLinks(), id);
    return nullptr;
}

void LinkController::runMenuCommand(UINT id) {
    if (const LinkEntry* entry = findEntry(id)) {
        collection_.navigate(*entry);
        return;
    }
    if (id == IDM_LINK_SETTINGS) openSettings();
}

void LinkController::buildMenu(HMENU popup) {
    if (!documentUsable_) {
        collection_.clearLists();
    } else {
        try {
            collection_.collect();
        } catch (const std::bad_alloc&) {
            // What was gathered until memory ran out stays listed; the menu still opens.
        }
    }
    const std::size_t types = collection_.linkTypes().size();
    UINT id = kLinkTypeIds.first;
    for (std::size_t position = 0; position < types; ++position) id = insertLinkType(popup, position, id);
    if (types > 0) insertMenuSeparator(popup, IDM_LINK_OTHER);
    fillSubmenu(popup, IDM_LINK_OTHER, collection_.otherLinks(), kOtherIds.first, kOtherIds.last);
    const UINT general =
        fillSubmenu(popup, IDM_LINK_GENERAL, collection_.sameSiteLinks(), kGeneralIds.first, kGeneralIds.last);
    fillSubmenu(popup, IDM_LINK_GENERAL, collection_.generalLinks(), general, kGeneralIds.last);
    if (!settings().LinkEtc.EnumNonLink) return;
    wchar_t caption[kHolderCaptionCapacity] = {};
    LoadStringW(moduleHandle(), IDS_NON_LINK_MENU, caption, kHolderCaptionCapacity);
    insertMenuString(popup, IDM_LINK_SETTINGS, IDM_LINK_NON_LINK, caption);
    insertMenuSeparator(popup, IDM_LINK_SETTINGS);
    fillSubmenu(popup, IDM_LINK_NON_LINK, collection_.nonLinks(), kNonLinkIds.first, kNonLinkIds.last);
}

UINT LinkController::insertLinkType(HMENU popup, std::size_t position, UINT id) {
    const LinkTypeEntry& type = collection_.linkTypes()[position];
    if (type.Submenu == kSeparatorSubmenu) {
        insertMenuSeparator(popup, IDM_LINK_OTHER);
        return id;
    }
    // A type beyond the end of the range is left out rather than numbered into the next one.
    if (!kLinkTypeIds.holds(id)) return id;
    LinkList& links = collection_.linkTypeLinks(position);
    if (links.empty()) {
        insertMenuString(popup, IDM_LINK_OTHER, id, type.Title.c_str(), 0, MFS_GRAYED);
        return id + 1;
    }
    if (type.Submenu == 1 || (type.Submenu == 2 && links.size() > 1)) {
        // The title keeps its ampersand as the access-key marker.
        insertMenuString(popup, IDM_LINK_OTHER, id, type.Title.c_str());
        return fillSubmenu(popup, id, links, id + 1, kLinkTypeIds.last);
    }
    wchar_t caption[kMenuTextCapacity];
    inlineCaption(type.Title.c_str(), links.front().text.c_str(), caption);
    insertMenuString(popup, IDM_LINK_OTHER, id, caption);
    links.setCommandId(0, static_cast<int>(id));
    return id + 1;
}

UINT LinkController::fillSubmenu(HMENU popup, UINT holderId, LinkList& list, UINT id, UINT lastId) {
    const std::size_t room = id > lastId ? 0 : lastId - id + 1;
    const std::size_t shown = std::min(list.size(), room);
    MENUITEMINFOW holder{};
    holder.cbSize = sizeof holder;
    holder.fMask = MIIM_SUBMENU;
    if (!GetMenuItemInfoW(popup, holderId, FALSE, &holder)) return id;
    HMENU submenu = holder.hSubMenu;
    if (submenu) {
        if (shown == 0) return id;
        AppendMenuW(submenu, MF_SEPARATOR, 0, nullptr);
    } else {
        if (shown == 0) {
            EnableMenuItem(popup, holderId, MF_BYCOMMAND | MF_GRAYED);
            return id;
        }
        MenuHandle created(CreatePopupMenu());
        if (!created) return id;
        MENUITEMINFOW attach{};
        attach.cbSize = sizeof attach;
        attach.fMask = MIIM_SUBMENU | MIIM_STATE;
        attach.fState = MFS_ENABLED;
        attach.hSubMenu = created.get();
        if (!SetMenuItemInfoW(popup, holderId, FALSE, &attach)) return id;
        // The holder owns it now: it goes with the menu.
        submenu = created.release();
    }
    for (std::size_t position = 0; position < shown; ++position, ++id) {
        wchar_t caption[kMenuTextCapacity];
        escapeAmpersands(list.entries()[position].text.c_str(), caption, kMenuTextCapacity);
        AppendMenuW(submenu, MF_STRING, id, caption);
        list.setCommandId(position, static_cast<int>(id));
    }
    return id;
}

void LinkController::openSettings() {
    SettingsStore& store = settings();
    // The sheet edits what the registry holds now, which another window may have changed.
    store.loadAll();
    LinkSettingsSheet sheet(store, toolbar());
    sheet.doModal();
    if (!sheet.isModified()) return;
    store.saveAll();
    // The page in view is not reloaded: the new settings take effect at the next collection.
    collection_.applySettings();
}

bool LinkController::followLinkType(WORD shortcut) {
    const auto& types = collection_.linkTypes();
    for (std::size_t i = 0; i < types.size(); ++i) {
        if (!isShortcut(shortcut, types[i].Shortcut)) continue;
        // Only the first type bound to the key counts.
        collection_.collect();
        const LinkList& links = collection_.linkTypeLinks(i);
        if (links.empty()) return false;
        collection_.navigate(links.front());
        return true;
    }
    return false;
}

}  // namespace quorin
