#pragma once
// A list page over one kind of settings entry: the page edits a working copy of the store's list,
// row by row, and writes the copy back as a whole when the sheet applies. A concrete page names
// the store's list, its columns, the texts of a row and the entry dialog.

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings_store.h"
#include "settings_ui/list_page.h"

namespace quorin {

template <class Entry>
class EntryListPage : public ListPage {
protected:
    EntryListPage(SettingsStore& store, WORD templateId, const Controls& ids) : ListPage(templateId, ids), store_(&store) {}

    // What a concrete page supplies.
    virtual std::vector<Entry>& storeList() const = 0;
    virtual std::vector<UINT> columnCaptions() const = 0;
    virtual std::vector<std::wstring> rowTexts(const Entry& entry) const = 0;
    virtual Entry newEntry() const { return Entry{}; }
    // Runs the page's entry dialog on entry; true when it ended with OK.
    virtual bool runDialog(Entry& entry) = 0;

    INT_PTR onInitDialog() override {
        setUpList(columnCaptions());
        workingCopy_ = storeList();
        showRows();
        updateButtons(false);
        return 1;
    }

    void saveToStore() override { storeList() = workingCopy_; }

    SettingsStore& store() const noexcept { return *store_; }

private:
    std::size_t entryCount() const override { return workingCopy_.size(); }

    std::vector<std::wstring> entryTexts(std::size_t index) const override {
        return index < workingCopy_.size() ? rowTexts(workingCopy_[index]) : std::vector<std::wstring>();
    }

    void swapEntries(std::size_t first, std::size_t second) override {
        if (first >= workingCopy_.size() || second >= workingCopy_.size()) return;
        std::swap(workingCopy_[first], workingCopy_[second]);
    }

    bool addEntry() override {
        Entry entry = newEntry();
        if (!runDialog(entry)) return false;
        workingCopy_.push_back(std::move(entry));
        return true;
    }

    bool editEntry(std::size_t index) override {
        if (index >= workingCopy_.size()) return false;
        Entry entry = workingCopy_[index];
        if (!runDialog(entry)) return false;
        workingCopy_[index] = std::move(entry);
        return true;
    }

    void removeEntry(std::size_t index) override {
        if (index < workingCopy_.size()) workingCopy_.erase(workingCopy_.begin() + static_cast<std::ptrdiff_t>(index));
    }

    SettingsStore* store_;
    std::vector<Entry> workingCopy_;
};

}  // namespace quorin
