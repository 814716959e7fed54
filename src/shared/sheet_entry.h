#pragma once
// One titled or added stylesheet as the style menu lists it.

#include "common/shared_string.h"

namespace quorin {

struct SheetEntry {
    bool disabled = false;
    SharedString title;
    SharedString href;   // page sheet: as the document reports it; added sheet: its path
    int commandId = 0;   // given by the last menu build
};

}  // namespace quorin
