#pragma once
// The page's titled sheets, one entry per distinct title in order of first appearance, with an
// index so that pages with many sheets are listed and switched in linear time.

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "shared/sheet_entry.h"

namespace quorin {

class TitleList {
public:
    struct TitleHash {
        std::size_t operator()(const SharedString& title) const noexcept;
    };

    const std::vector<SheetEntry>& entries() const noexcept { return entries_; }
    std::size_t size() const noexcept { return entries_.size(); }

    void clear() noexcept;
    // Appends the entry unless its title is listed already; the first of a title stays.
    void addIfNew(const SheetEntry& entry);
    // The entry of that title, or null.
    SheetEntry* find(const SharedString& title) noexcept;
    const SheetEntry* find(const SharedString& title) const noexcept;
    void setCommandId(std::size_t index, int commandId) noexcept;
    // Each entry takes the menu command id its title had in earlier, so that a choice from a menu
    // shown before a rebuild still names its title.
    void keepCommandIds(const TitleList& earlier) noexcept;

private:
    std::vector<SheetEntry> entries_;
    std::unordered_map<SharedString, std::size_t, TitleHash> positions_;
};

}  // namespace quorin
