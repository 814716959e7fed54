#pragma once
// The generated page the link benchmarks share: as documentation generators write them, a few link
// elements in the head, then anchors of which one in ten names a relation and every address
// appears twice. And the calls a collection makes for each anchor, without the collection.

#include <algorithm>
#include <memory>
#include <string>

#include "common/com_ptr.h"
#include "common/shared_string.h"
#include "page/page_document.h"
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

// The calls a collection makes for each anchor, answered by the doubles with nothing done with
// the answers: what the doubles cost, apart from the library.
inline void replayAnchorCalls(IHTMLDocument2* document) {
    forEachElementOfTag(document, L"a", [](IHTMLElement* element) {
        queryAs<IHTMLLinkElement>(element);
        const ComPtr<IHTMLAnchorElement> anchor = queryAs<IHTMLAnchorElement>(element);
        if (!anchor) return;
        SharedString rel, rev, href, text;
        anchor->get_rel(rel.out());
        anchor->get_rev(rev.out());
        anchor->get_href(href.out());
        element->get_innerText(text.out());
    });
}

}  // namespace quorin::bench
