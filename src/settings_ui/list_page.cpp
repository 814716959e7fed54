// The list view and its five buttons, shared by every list page.
#include "settings_ui/list_page.h"

#include <commctrl.h>

#include <algorithm>

#include "common/module.h"
#include "common/resources.h"

namespace quorin {

namespace {

// While the page moves or removes rows itself, the list tells of the states in between, in which
// no row is highlighted; the buttons follow only the outcome, or one that holds the keyboard
// focus would give it away for a moment and not get it back.
class RowsChanging {
public:
    explicit RowsChanging(bool& flag) noexcept : flag_(flag) { flag_ = true; }
    ~RowsChanging() { flag_ = false; }
    RowsChanging(const RowsChanging&) = delete;
    RowsChanging& operator=(const RowsChanging&) = delete;

private:
    bool& flag_;
};

// A screen context with the list's font selected, for measuring its texts.
class ListFontDc {
public:
    explicit ListFontDc(HWND list) : list_(list), dc_(GetDC(list)) {
        if (!dc_) return;
        auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0));
        previous_ = SelectObject(dc_, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    }
    ~ListFontDc() {
        if (!dc_) return;
        if (previous_) SelectObject(dc_, previous_);
        ReleaseDC(list_, dc_);
    }
    ListFontDc(const ListFontDc&) = delete;
    ListFontDc& operator=(const ListFontDc&) = delete;

    HDC get() const noexcept { return dc_; }
    // The text's width in the list's font, or −1.
    LONG width(const std::wstring& text) const {
        SIZE extent{};
        return dc_ && GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &extent) ? extent.cx : -1;
    }

private:
    HWND list_;
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace

ListPage::ListPage(WORD templateId, const Controls& ids) : PropertyPage(moduleHandle(), templateId), ids_(ids) {}

void ListPage::setUpList(const std::vector<UINT>& columnCaptions) {
    list_ = item(ids_.list);
    up_ = item(ids_.up);
    down_ = item(ids_.down);
    add_ = item(ids_.add);
    edit_ = item(ids_.edit);
    delete_ = item(ids_.remove);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    captions_.clear();
    for (UINT captionId : columnCaptions) {
        std::wstring caption = loadString(captionId);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = caption.data();
        const int index = static_cast<int>(captions_.size());
        if (SendMessageW(list_, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)) >= 0)
            captions_.push_back(std::move(caption));
    }
}

void ListPage::showRows() {
    const std::size_t count = entryCount();
    sizeColumns(count > 0 ? widestTexts() : std::vector<std::wstring>());
    SendMessageW(list_, LVM_SETITEMCOUNT, count, 0);
}

std::vector<std::wstring> ListPage::widestTexts() const {
    std::vector<std::wstring> widest(captions_.size());
    std::vector<LONG> widths(captions_.size(), -1);
    const ListFontDc dc(list_);
    for (std::size_t i = 0, count = entryCount(); dc.get() && i < count; ++i) {
        std::vector<std::wstring> row = entryTexts(i);
        for (std::size_t column = 0; column < row.size() && column < widest.size(); ++column) {
            const LONG width = dc.width(row[column]);
            if (width <= widths[column]) continue;
            widths[column] = width;
            widest[column] = std::move(row[column]);
        }
    }
    return widest;
}

// The list would measure every row, asking for each; a row of the widest texts, the only one
// while the columns are sized, gives the same widths.
void ListPage::sizeColumns(const std::vector<std::wstring>& widest) {
    measurePadding();
    sizingRow_ = widest;
    SendMessageW(list_, LVM_SETITEMCOUNT, widest.empty() ? 0 : 1, 0);
    // Some list views size a column to its caption without the header's margins, which cuts the
    // caption short; the caption's own width plus those margins is the least a column gets.
    const int margins = 8 * GetSystemMetrics(SM_CXEDGE);
    for (int column = 0; column < static_cast<int>(captions_.size()); ++column) {
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
        const int least = static_cast<int>(SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0,
                                                        reinterpret_cast<LPARAM>(captions_[column].c_str()))) +
                          margins;
        if (columnWidth(column) < least) SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(least, 0));
    }
    SendMessageW(list_, LVM_SETITEMCOUNT, 0, 0);
    sizingRow_.clear();
}

// What a column adds to the width of its text, from a row the list sizes alone: so that a column
// is widened later without the list measuring every row again.
void ListPage::measurePadding() {
    sizingRow_.assign(captions_.size(), L"0");
    SendMessageW(list_, LVM_SETITEMCOUNT, 1, 0);
    const ListFontDc dc(list_);
    padding_.assign(captions_.size(), 0);
    for (int column = 0; column < static_cast<int>(captions_.size()); ++column) {
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LVSCW_AUTOSIZE, 0));
        padding_[column] = std::max(0, columnWidth(column) - static_cast<int>(dc.width(sizingRow_[column])));
    }
}

// A text added or edited that is wider than its column widens it, so that it is not shown cut short.
void ListPage::widenColumnsFor(std::size_t index) {
    const std::vector<std::wstring> texts = entryTexts(index);
    const ListFontDc dc(list_);
    for (std::size_t column = 0; column < texts.size() && column < padding_.size(); ++column) {
        const int wanted = static_cast<int>(dc.width(texts[column])) + padding_[column];
        const int at = static_cast<int>(column);
        if (wanted > columnWidth(at)) SendMessageW(list_, LVM_SETCOLUMNWIDTH, at, MAKELPARAM(wanted, 0));
    }
}

int ListPage::columnWidth(int column) const {
    return static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, column, 0));
}

std::wstring ListPage::cellText(int row, int column) const {
    if (row < 0 || column < 0) return std::wstring();
    const auto index = static_cast<std::size_t>(row);
    std::vector<std::wstring> texts;
    if (!sizingRow_.empty()) {
        if (index == 0) texts = sizingRow_;
    } else if (index < entryCount()) {
        texts = entryTexts(index);
    }
    const auto at = static_cast<std::size_t>(column);
    return at < texts.size() ? std::move(texts[at]) : std::wstring();
}

// Into the list's own buffer, cut to its size.
void ListPage::giveText(const LVITEMW& item) const {
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    const std::wstring text = cellText(item.iItem, item.iSubItem);
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
    text.copy(item.pszText, length);
    item.pszText[length] = L'\0';
}

// Typing into the list goes to the next row whose first column starts with what was typed, letter
// case ignored, as in a list that holds its texts itself.
int ListPage::findRow(const NMLVFINDITEMW& find) const {
    const LVFINDINFOW& info = find.lvfi;
    const int count = static_cast<int>(entryCount());
    if (!(info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !info.psz || count == 0) return -1;
    const bool partial = (info.flags & LVFI_PARTIAL) != 0;
    const int wanted = lstrlenW(info.psz);
    const int start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
    const int steps = info.flags & LVFI_WRAP ? count : count - start;
    for (int step = 0; step < steps; ++step) {
        const int row = (start + step) % count;
        const std::wstring text = cellText(row, 0);
        const int length = static_cast<int>(text.size());
        if (length < wanted || (!partial && length != wanted)) continue;
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), wanted, info.psz, wanted) == CSTR_EQUAL)
            return row;
    }
    return -1;
}

int ListPage::rowCount() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

// The row the user highlighted; the focused row may be another, or may remain when a click below
// the rows took the highlight away.
int ListPage::currentRow() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ListPage::setRowState(int row, UINT state) {
    LVITEMW change{};
    change.stateMask = state;
    change.state = state;
    SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&change));
}

void ListPage::updateButtons(bool moveButtonsOnly) {
    const int count = rowCount();
    const int current = currentRow();
    const bool hasCurrent = count > 0 && current >= 0;
    if (!moveButtonsOnly) {
        enableButton(edit_, hasCurrent);
        enableButton(delete_, hasCurrent);
    }
    enableButton(up_, hasCurrent && current > 0);
    enableButton(down_, hasCurrent && current < count - 1);
}

// A button that goes grey with the keyboard focus would leave the sheet without one, and Tab,
// Enter and Escape with it; the list takes the focus first, through the sheet so that OK stays
// the default button.
void ListPage::enableButton(HWND button, bool enable) {
    if (!enable && GetFocus() == button)
        SendMessageW(sheetHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list_), TRUE);
    EnableWindow(button, enable);
}

INT_PTR ListPage::onNotify(HWND hwnd, WPARAM wParam, const NMHDR& header) {
    switch (header.code) {
    case LVN_ITEMCHANGED:
        if (!rowsChanging_) updateButtons(false);
        return TRUE;
    case LVN_GETDISPINFOW:
        if (header.hwndFrom == list_) giveText(reinterpret_cast<const NMLVDISPINFOW&>(header).item);
        return TRUE;
    case LVN_ODFINDITEMW:
        setResult(header.hwndFrom == list_ ? findRow(reinterpret_cast<const NMLVFINDITEMW&>(header)) : -1);
        return TRUE;
    default:
        return PropertyPage::onNotify(hwnd, wParam, header);
    }
}

INT_PTR ListPage::onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) != 0) return PropertyPage::onCommand(hwnd, wParam, lParam);
    if (id == ids_.up)
        moveCurrent(-1);
    else if (id == ids_.down)
        moveCurrent(1);
    else if (id == ids_.add)
        addRow();
    else if (id == ids_.edit)
        editCurrent();
    else if (id == ids_.remove)
        deleteCurrent();
    else
        return PropertyPage::onCommand(hwnd, wParam, lParam);
    return TRUE;
}

void ListPage::moveCurrent(int offset) {
    const int current = currentRow();
    const int target = current + offset;
    if (current < 0 || target < 0 || target >= rowCount()) return;
    {
        RowsChanging changing(rowsChanging_);
        const int first = std::min(current, target), second = std::max(current, target);
        swapEntries(static_cast<std::size_t>(first), static_cast<std::size_t>(second));
        SendMessageW(list_, LVM_REDRAWITEMS, first, second);
        setRowState(target, LVIS_FOCUSED | LVIS_SELECTED);
    }
    setModified(true);
    updateButtons(true);
}

// The new last row appears without moving the view, the highlight or the focus.
void ListPage::addRow() {
    if (!addEntry()) return;
    SendMessageW(list_, LVM_SETITEMCOUNT, entryCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    widenColumnsFor(entryCount() - 1);
    setModified(true);
    updateButtons(false);
}

void ListPage::editCurrent() {
    const int current = currentRow();
    if (current < 0 || !editEntry(static_cast<std::size_t>(current))) return;
    SendMessageW(list_, LVM_REDRAWITEMS, current, current);
    widenColumnsFor(static_cast<std::size_t>(current));
    setModified(true);
    updateButtons(false);
}

void ListPage::deleteCurrent() {
    const int current = currentRow();
    if (current < 0) return;
    {
        RowsChanging changing(rowsChanging_);
        removeEntry(static_cast<std::size_t>(current));
        SendMessageW(list_, LVM_DELETEITEM, current, 0);
        // The row that moved up into its place, or the new last row, is the one highlighted next.
        const int count = rowCount();
        if (count > 0) setRowState(std::min(current, count - 1), LVIS_FOCUSED | LVIS_SELECTED);
    }
    setModified(true);
    updateButtons(false);
}

}  // namespace quorin
