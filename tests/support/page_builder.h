#pragma once
// Builds a page for a test in a few lines and owns it: the top document, the documents of its
// frames and, on request, a browser showing it.
//
//   PageBuilder page(L"http://server/dir/a.html", L"Chapter 1");
//   page.skeleton();                                   // html, head, title, body: 4 elements
//   page.link(L"next", L"b.html", L"Chapter 2");        // <link rel=next href=b.html title=...>
//   page.anchor(L"x.html", L"some text");               // <a href=x.html>some text</a>
//   page.anchor(std::nullopt, L"", L"prev");            // no href, empty innerText, rel=prev
//   page.inside(page.anchor(L"2.html", L""), L"img").attr(L"alt", L"Next");  // an image button
//   page.sheet(L"Blue", L"blue.css", true);             // titled sheet, disabled
//   page.sheet(std::nullopt);                           // untitled, embedded (href "")
//   PageBuilder& left = page.frame(L"http://server/dir/toc.html", L"toc");
//   page.deniedFrame(L"http://other/ad.html");          // its window refuses with E_ACCESSDENIED
//   site->setBrowser(page.browser()->unknown());
//   ... library calls ...
//   page.doc().location()->navigations(), page.doc().sheets()[0]->disabled(), element.cssText()
//
// Every std::optional argument left as std::nullopt leaves that attribute (or text) absent; an
// empty string makes it present and empty. Elements go into the all collection in call order.
// Returned references stay valid while the builder lives. The destructor closes the browser's
// bands (see BrowserDouble) and releases everything it holds; objects the library still holds
// stay alive, which DoubleBase::liveDoubles() then shows.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/browser_double.h"
#include "support/dom_double.h"

namespace quorin::test {

class PageBuilder {
public:
    explicit PageBuilder(std::wstring url = L"http://example.test/index.html", std::wstring title = L"");
    ~PageBuilder();
    PageBuilder(const PageBuilder&) = delete;
    PageBuilder& operator=(const PageBuilder&) = delete;

    DocumentDouble& doc() const noexcept { return *document_.get(); }
    DocumentDouble* document() const noexcept { return document_.get(); }

    // html, head, title (its innerText the document title) and body.
    PageBuilder& skeleton();
    // count div elements, e.g. to give the all collection more than 5 elements.
    PageBuilder& filler(int count);

    ElementDouble& element(const std::wstring& tag) { return document_->add(tag); }
    ElementDouble& link(OptText rel, OptText href, OptText title = std::nullopt, OptText rev = std::nullopt);
    ElementDouble& anchor(OptText href, OptText text, OptText rel = std::nullopt, OptText rev = std::nullopt);
    ElementDouble& area(OptText href, OptText alt);
    // An element of the tag inside container, added next; container's getElementsByTagName finds it.
    ElementDouble& inside(ElementDouble& container, const std::wstring& tag);
    ElementDouble& base(OptText href);
    ElementDouble& meta(OptText httpEquiv, OptText content);
    // An element with one attribute, e.g. attributed(L"blockquote", L"cite", L"http://...").
    ElementDouble& attributed(const std::wstring& tag, const std::wstring& name, OptText value);

    StyleSheetDouble& sheet(OptText title, OptText href = std::wstring(), bool disabled = false);

    // A frame of the same site: its document is built with the returned builder.
    PageBuilder& frame(std::wstring url, std::wstring name = L"");
    // A frame of another site: its window refuses the document with E_ACCESSDENIED.
    PageBuilder& deniedFrame(std::wstring url, std::wstring name = L"");

    // The top-level browser showing this page, made on first use (frame: see BrowserDouble).
    BrowserDouble* browser(BrowserFrame* frame = nullptr);

private:
    static ElementDouble& set(ElementDouble& element, const wchar_t* name, const OptText& value);
    PageBuilder& addFrame(std::wstring url, std::wstring name, bool denied);

    ComPtr<DocumentDouble> document_;
    std::vector<std::unique_ptr<PageBuilder>> frames_;
    ComPtr<BrowserDouble> browser_;
};

}  // namespace quorin::test
