#pragma once
// One collected related document and an ordered list of them with an index of their targets.

#include <cstddef>
#include <unordered_set>
#include <vector>

#include "common/fixed_text.h"
#include "common/shared_string.h"

namespace quorin {

struct LinkEntry {
    SharedString target;   // absolute address; may be null
    FixedText<80> text;    // menu text, at most 79 characters
    int commandId = 0;     // given by the last menu build
};

class LinkList {
public:
    const std::vector<LinkEntry>& entries() const noexcept { return entries_; }
    std::size_t size() const noexcept { return entries_.size(); }
    bool empty() const noexcept { return entries_.empty(); }
    const LinkEntry& front() const { return entries_.front(); }

    // The menu numbers the entries it shows; targets and texts stay as collected.
    void setCommandId(std::size_t position, int id) { entries_.at(position).commandId = id; }

    bool holdsTarget(const SharedString& target) const { return targets_.count(target) != 0; }
    // Appends; the index learns the target once, however often it is listed.
    void append(LinkEntry entry) {
        entries_.push_back(std::move(entry));
        try {
            targets_.insert(entries_.back().target);
        } catch (...) {
            entries_.pop_back();  // the list and its index never disagree
            throw;
        }
    }
    void clear() noexcept {
        entries_.clear();
        targets_.clear();
    }

private:
    std::vector<LinkEntry> entries_;
    // Hashed, so that a list of many entries takes each in constant time.
    std::unordered_set<SharedString, SharedString::Hash> targets_;
};

}  // namespace quorin
