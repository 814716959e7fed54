#pragma once
// One document of the page in view, with the titles of its sheets and which of them are in use
// there: what the last list rebuild read and the selections since made, so that turning the
// sheets on again gives each document its own choice back.

#include <mshtml.h>

#include <unordered_map>

#include "common/com_ptr.h"
#include "style/title_list.h"

namespace quorin {

struct DocumentEntry {
    struct TitleState {
        bool enabled = false;
        bool page = false;   // a sheet of the page bears the title
        bool added = false;  // one of the user's added sheets bears it
    };

    ComPtr<IHTMLDocument2> document;
    ComPtr<IUnknown> identity;  // tells the document apart from those of an earlier list
    std::unordered_map<SharedString, TitleState, TitleList::TitleHash> titles;

    // Whether both entries are of one document.
    bool sameDocument(const DocumentEntry& other) const noexcept {
        return identity && identity.get() == other.identity.get();
    }
    // Whether a page sheet of this document bears the title, code unit by code unit.
    bool holdsTitle(const SharedString& title) const noexcept {
        const auto found = titles.find(title);
        return found != titles.end() && found->second.page;
    }
    // A sheet met by a list rebuild; the first sheet of a title decides its state.
    void record(const SharedString& title, bool enabled, bool added) {
        const auto [state, isNew] = titles.try_emplace(title);
        if (isNew) state->second.enabled = enabled;
        (added ? state->second.added : state->second.page) = true;
    }
    // A sheet a selection switched.
    void choose(const SharedString& title, bool enabled) { titles[title].enabled = enabled; }
    // Takes the states an earlier list of this document had for the titles both know.
    void takeChoices(const DocumentEntry& earlier) {
        for (auto& [title, state] : titles) {
            if (const TitleState* was = earlier.find(title)) state.enabled = was->enabled;
        }
    }
    // The state of the title here; null when no sheet of this document bore it.
    const TitleState* find(const SharedString& title) const noexcept {
        const auto found = titles.find(title);
        return found == titles.end() ? nullptr : &found->second;
    }
};

}  // namespace quorin
