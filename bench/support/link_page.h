#pragma once
// The generated page the link benchmarks share: as documentation generators write them, a few link
// elements in the head, then anchors of which one in ten names a relation and every address
// appears twice.

#include <algorithm>
#include <memory>
#include <string>

#include "support/page_builder.h"

namespace quorin::bench {

inline std::unique_ptr<test::PageBuilder> makeLinkPage(int anchors) {
    auto page = std::make_unique<test::PageBuilder>(L"http://bench.test/dir/index.html", L"Bench");
    page->skeleton();
    page->link(L"start", L"index.html", L"Top");
    page->link(L"next", L"next.html", L"Next");
    page->link(L"prev", L"prev.html", L"Previous");
    page->link(L"stylesheet", L"style.css");
    for (int i = 0; i < anchors; ++i) {
        const std::wstring href = L"page" + std::to_wstring(i % std::max(1, anchors / 2)) + L".html";
        const std::wstring text = L"Section " + std::to_wstring(i);
        if (i % 10 == 0)
            page->anchor(href, text, i % 20 == 0 ? L"next" : L"bookmark");
        else
            page->anchor(href, text);
    }
    return page;
}

}  // namespace quorin::bench
