#pragma once
// Page description files: a page (with its frames) as text, loaded into page doubles. Written by
// hand for tests and by tools/html2page.py from real HTML.
//
// UTF-8 text, one record per line; blank lines and lines starting with '#' are skipped; leading
// blanks are ignored. The first record is "quorin-page 1". Records are a keyword and tokens,
// each token either NAME or NAME="VALUE" (a bare NAME is present with an empty value); values
// escape \\ \" \n \r \t.
//
//   quorin-page 1
//   document url="http://server/dir/a.html" title="Chapter 1"
//   element html
//   element link rel="next" href="b.html" title="Chapter 2"
//   element a href="x.html" :text="inner text"      (":text" is the element's innerText)
//   element img alt="Next" :in="a"                   (inside the last "a" element before it)
//   element p style="color: red"                     (a style attribute is the inline cssText)
//   sheet title="Blue" href="blue.css" disabled      (no title token: untitled; no href: "")
//   frame name="toc" url="http://server/dir/toc.html"  (then the frame's records, up to "end")
//     document title="Contents"
//     element a href="a.html" :text="Chapter 1"
//   end
//   frame name="ad" url="http://other/ad.html" denied   (another site: access is refused)
//   end
//
// Elements are the document's all collection in file order.

#include <memory>
#include <string>

#include "support/page_builder.h"

namespace quorin::test {

// The page described by text; null with a message ("line N: ...") in error when it is malformed.
std::unique_ptr<PageBuilder> parsePage(const std::string& text, std::string* error = nullptr);
// The same from a file (UTF-8, path in UTF-16).
std::unique_ptr<PageBuilder> loadPageFile(const std::wstring& path, std::string* error = nullptr);

// The folder of pages the build converted (QUORIN_PAGES), or empty.
std::wstring pagesFolder();
// Whether that folder holds the converted set (e.g. "m4"): the shared real pages are converted
// only where they lie beside the checkout, as in CI.
bool converted(const char* set);
#define REQUIRE_PAGES(set) \
    if (!converted(set)) GTEST_SKIP() << "the shared pages ../shared/pages/" << set << " are not beside this checkout"

std::wstring fromUtf8(const std::string& text);
std::string toUtf8(const std::wstring& text);

}  // namespace quorin::test
