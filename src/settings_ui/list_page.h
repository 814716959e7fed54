#pragma once
// Base of the pages whose main control is an ordered list edited with Up, Down, Add, Edit and
// Delete. It holds the list view and the five buttons; the entries themselves belong to the
// derived page (EntryListPage), and the list asks for the texts of the rows it draws, so that a
// list of any length opens and closes at once. The current entry is the highlighted (selected)
// row; without one, no button acts on an entry.

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <vector>

#include "settings_ui/property_page.h"

namespace quorin {

class ListPage : public PropertyPage {
public:
    // Control ids of the list view and its buttons on one page.
    struct Controls {
        int list, up, down, add, edit, remove;
    };

    // Enables Up and Down, and unless moveButtonsOnly also Edit and Delete, by the highlighted
    // row; Add is always enabled.
    void updateButtons(bool moveButtonsOnly);

protected:
    ListPage(WORD templateId, const Controls& ids);

    INT_PTR onNotify(HWND hwnd, WPARAM wParam, const NMHDR& header) override;
    INT_PTR onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) override;

    // Takes the six controls and gives the list its style and its columns (string ids).
    void setUpList(const std::vector<UINT>& columnCaptions);
    // Shows one row per entry, each column as wide as its widest text and its caption.
    void showRows();
    int rowCount() const;

    // The entries behind the rows.
    virtual std::size_t entryCount() const = 0;
    virtual std::vector<std::wstring> entryTexts(std::size_t index) const = 0;  // one per column
    virtual void swapEntries(std::size_t first, std::size_t second) = 0;
    virtual bool addEntry() = 0;                    // asks for a new entry; appends it
    virtual bool editEntry(std::size_t index) = 0;  // asks for changes
    virtual void removeEntry(std::size_t index) = 0;

private:
    std::wstring cellText(int row, int column) const;
    void giveText(const LVITEMW& item) const;
    int findRow(const NMLVFINDITEMW& find) const;
    // Per column, the text that is widest in the list's font.
    std::vector<std::wstring> widestTexts() const;
    // Sizes every column to its caption and, when given, its widest text.
    void sizeColumns(const std::vector<std::wstring>& widest);
    void measurePadding();
    void widenColumnsFor(std::size_t index);
    int columnWidth(int column) const;
    int currentRow() const;
    void enableButton(HWND button, bool enable);
    void setRowState(int row, UINT state);
    void moveCurrent(int offset);
    void addRow();
    void editCurrent();
    void deleteCurrent();

    Controls ids_;
    std::vector<std::wstring> captions_;  // of the columns
    HWND list_ = nullptr;
    HWND up_ = nullptr;
    HWND down_ = nullptr;
    HWND add_ = nullptr;
    HWND edit_ = nullptr;
    HWND delete_ = nullptr;
    bool rowsChanging_ = false;  // the page itself is moving or removing rows
    // While the columns are sized, the list's one row and its texts: the widest of every column.
    std::vector<std::wstring> sizingRow_;
    std::vector<int> padding_;  // per column, what the list adds to the width of a text
};

}  // namespace quorin
