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

void ListPage::sizeColumns() {
    // Some list views size a column to its caption without the header's margins, which cuts the
    // caption short; the caption's own width plus those margins is the least a column gets.
    const int margins = 8 * GetSystemMetrics(SM_CXEDGE);
    for (int column = 0; column < static_cast<int>(captions_.size()); ++column) {
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
        const int least = static_cast<int>(SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0,
                                                        reinterpret_cast<LPARAM>(captions_[column].c_str()))) +
                          margins;
        if (SendMessageW(list_, LVM_GETCOLUMNWIDTH, column, 0) < least)
            SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(least, 0));
    }
}

int ListPage::writeRow(int index, const std::vector<std::wstring>& texts) {
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    int target = index;
    for (std::size_t column = 0; column < texts.size() && column < captions_.size(); ++column) {
        row.iSubItem = static_cast<int>(column);
        row.pszText = const_cast<wchar_t*>(texts[column].c_str());
        if (column == 0 && index < 0) {
            row.iItem = rowCount();
            target = static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
            if (target < 0) return -1;
            continue;
        }
        SendMessageW(list_, LVM_SETITEMTEXTW, target, reinterpret_cast<LPARAM>(&row));
    }
    return target;
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
    if (header.code != LVN_ITEMCHANGED) return PropertyPage::onNotify(hwnd, wParam, header);
    if (!rowsChanging_) updateButtons(false);
    return TRUE;
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
        swapEntries(static_cast<std::size_t>(std::min(current, target)),
                    static_cast<std::size_t>(std::max(current, target)));
        setRowState(target, LVIS_FOCUSED | LVIS_SELECTED);
    }
    setModified(true);
    updateButtons(true);
}

void ListPage::addRow() {
    if (!addEntry()) return;
    setModified(true);
    updateButtons(false);
}

void ListPage::editCurrent() {
    const int current = currentRow();
    if (current < 0 || !editEntry(static_cast<std::size_t>(current))) return;
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
