#pragma once
// One document of the page in view, with the titled sheets the last list rebuild found in it.

#include <mshtml.h>

#include <vector>

#include "common/com_ptr.h"
#include "shared/sheet_entry.h"

namespace quorin {

struct DocumentEntry {
    ComPtr<IHTMLDocument2> document;
    std::vector<SheetEntry> sheets;  // collection order; a title may occur more than once

    // Whether a titled sheet of this document bears the title, code unit by code unit.
    bool holdsTitle(const SharedString& title) const noexcept {
        for (const SheetEntry& sheet : sheets) {
            if (sheet.title == title) return true;
        }
        return false;
    }
};

}  // namespace quorin
