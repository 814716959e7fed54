#pragma once
// Base of the pages whose main control is an ordered list edited with Up, Down, Add, Edit and
// Delete. It holds the list view and the five buttons; the entries themselves belong to the
// derived page (EntryListPage). The current entry is the highlighted (selected) row; without one,
// no button acts on an entry.

#include <windows.h>

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
    void sizeColumns();
    // Writes one row's column texts; index −1 appends a row. The row's index, or −1.
    int writeRow(int index, const std::vector<std::wstring>& texts);
    int rowCount() const;

    // The entries behind the rows.
    virtual void swapEntries(std::size_t first, std::size_t second) = 0;  // rewrites both rows
    virtual bool addEntry() = 0;                     // asks for a new entry; appends it and its row
    virtual bool editEntry(std::size_t index) = 0;   // asks for changes; rewrites the row
    virtual void removeEntry(std::size_t index) = 0;  // the entry only, not its row

private:
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
};

}  // namespace quorin
