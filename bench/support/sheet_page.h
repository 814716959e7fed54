#pragma once
// The stylesheets the style benchmarks give a page.

#include <optional>
#include <string>

#include "support/page_builder.h"

namespace quorin::bench {

// Sheets as authors write them: titled ones in pairs of one title, every fourth untitled.
inline void addSheets(test::PageBuilder& page, int sheets) {
    for (int i = 0; i < sheets; ++i) {
        if (i % 4 == 3)
            page.sheet(std::nullopt);
        else
            page.sheet(L"Title " + std::to_wstring(i / 2), L"s" + std::to_wstring(i) + L".css", i % 2 == 1);
    }
}

}  // namespace quorin::bench
