#include "style/title_list.h"

namespace quorin {

std::size_t TitleList::TitleHash::operator()(const SharedString& title) const noexcept {
    // FNV-1a over the code units; null and empty hash alike but compare unequal.
    std::size_t hash = 2166136261u;
    const wchar_t* text = title.textOrEmpty();
    for (std::size_t i = 0, n = title.length(); i < n; ++i) {
        hash = (hash ^ static_cast<std::size_t>(static_cast<unsigned>(text[i]) & 0xFFFFu)) * 16777619u;
    }
    return hash;
}

void TitleList::clear() noexcept {
    positions_.clear();
    entries_.clear();
}

void TitleList::addIfNew(const SheetEntry& entry) {
    if (positions_.count(entry.title)) return;
    entries_.push_back(entry);
    positions_.emplace(entry.title, entries_.size() - 1);
}

SheetEntry* TitleList::find(const SharedString& title) noexcept {
    const auto it = positions_.find(title);
    return it == positions_.end() ? nullptr : &entries_[it->second];
}

const SheetEntry* TitleList::find(const SharedString& title) const noexcept {
    const auto it = positions_.find(title);
    return it == positions_.end() ? nullptr : &entries_[it->second];
}

void TitleList::setCommandId(std::size_t index, int commandId) noexcept {
    if (index < entries_.size()) entries_[index].commandId = commandId;
}

void TitleList::keepCommandIds(const TitleList& earlier) noexcept {
    for (SheetEntry& entry : entries_) {
        if (const SheetEntry* was = earlier.find(entry.title)) entry.commandId = was->commandId;
    }
}

}  // namespace quorin
