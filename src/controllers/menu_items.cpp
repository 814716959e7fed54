#include "controllers/menu_items.h"

namespace quorin {

bool insertMenuString(HMENU menu, UINT before, UINT id, const wchar_t* text, UINT type, UINT state) noexcept {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    item.fType = MFT_STRING | type;
    item.fState = state;
    item.wID = id;
    item.dwTypeData = const_cast<wchar_t*>(text ? text : L"");
    return InsertMenuItemW(menu, before, FALSE, &item) != FALSE;
}

bool insertMenuSeparator(HMENU menu, UINT before) noexcept {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    item.fType = MFT_SEPARATOR;
    return InsertMenuItemW(menu, before, FALSE, &item) != FALSE;
}

void setMenuItemState(HMENU menu, UINT id, bool checked, bool enabled) noexcept {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE;
    item.fState = (checked ? MFS_CHECKED : 0u) | (enabled ? 0u : MFS_GRAYED);
    SetMenuItemInfoW(menu, id, FALSE, &item);
}

}  // namespace quorin
