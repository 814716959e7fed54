#include <gtest/gtest.h>
#include <mshtml.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "common/shared_string.h"
#include "common/variant.h"
#include "support/page_file.h"

using namespace quorin;
using namespace quorin::test;

namespace {

class PageFileTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(DoubleBase::liveDoubles(), live_) << "a double leaked"; }
    LONG live_ = DoubleBase::liveDoubles();
};

std::vector<std::wstring> pageFiles(const std::wstring& folder) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.page").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do files.push_back(folder + L"\\" + found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

std::unique_ptr<PageBuilder> loadConverted(const std::wstring& relative) {
    std::string error;
    auto page = loadPageFile(pagesFolder() + L"\\" + relative, &error);
    EXPECT_TRUE(page) << error;
    return page;
}

}  // namespace

TEST_F(PageFileTest, ParsesEveryRecordKind) {
    std::string error;
    auto page = parsePage(
        "quorin-page 1\n"
        "# a comment\n"
        "document url=\"http://server/a.html\" title=\"Say \\\"hi\\\"\"\n"
        "element link rel=\"next\" href=\"b.html\" title\n"
        "element a href=\"x.html\" :text=\"tab\\there \xe6\x97\xa5\"\n"
        "element p style=\"color: red\"\n"
        "element img alt=\"go\" :in=\"a\"\n"
        "sheet title=\"Blue\" href=\"blue.css\" disabled\n"
        "sheet\n"
        "frame name=\"toc\" url=\"http://server/toc.html\"\n"
        "  document title=\"Contents\"\n"
        "  element a href=\"a.html\"\n"
        "  frame url=\"http://server/inner.html\"\n"
        "  end\n"
        "end\n"
        "frame url=\"http://other/ad.html\" denied\n"
        "end\n",
        &error);
    ASSERT_TRUE(page) << error;
    DocumentDouble& doc = page->doc();
    EXPECT_EQ(doc.url(), L"http://server/a.html");
    EXPECT_EQ(doc.title(), L"Say \"hi\"");
    ASSERT_EQ(doc.elements().size(), 4u);
    ASSERT_EQ(doc.elements()[1]->contained().size(), 1u);
    EXPECT_EQ(doc.elements()[1]->contained()[0].get(), doc.elements()[3].get()) << ":in names the anchor before it";
    EXPECT_EQ(doc.elements()[0]->attribute(L"title"), OptText(L"")) << "a bare token is present and empty";
    EXPECT_EQ(doc.elements()[0]->attribute(L"rev"), std::nullopt);
    EXPECT_EQ(doc.elements()[1]->innerText(), OptText(L"tab\there \x65e5"));
    EXPECT_EQ(doc.elements()[1]->attribute(L":text"), std::nullopt);
    EXPECT_EQ(doc.elements()[2]->cssText(), L"color: red");
    ASSERT_EQ(doc.sheets().size(), 2u);
    EXPECT_TRUE(doc.sheets()[0]->disabled());
    EXPECT_EQ(doc.sheets()[1]->title(), std::nullopt);
    EXPECT_EQ(doc.sheets()[1]->href(), OptText(L""));
    ASSERT_EQ(doc.frames().size(), 2u);
    DocumentDouble* toc = doc.frames()[0]->document();
    EXPECT_EQ(toc->url(), L"http://server/toc.html");
    EXPECT_EQ(toc->title(), L"Contents");
    EXPECT_EQ(toc->elements().size(), 1u);
    EXPECT_EQ(toc->frames().size(), 1u);
    EXPECT_TRUE(doc.frames()[1]->accessDenied());
}

TEST_F(PageFileTest, MalformedDescriptionsNameTheirLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "line 0: empty page description"},
        {"<html>\n", "line 1: not a page description"},
        {"quorin-page 1\nelement a href=x\n", "line 2: value of href is not quoted"},
        {"quorin-page 1\nelement a href=\"x\n", "line 2: value of href has no closing quote"},
        {"quorin-page 1\nframe\n", "line 2: a frame has no \"end\""},
        {"quorin-page 1\nend\n", "line 2: \"end\" without a frame"},
        {"quorin-page 1\nwidget\n", "line 2: unknown record \"widget\""},
        {"quorin-page 1\nelement img :in=\"a\"\nelement a\n", "line 2: no \"a\" element before it"},
    };
    for (const auto& [text, message] : cases) {
        std::string error;
        EXPECT_FALSE(parsePage(text, &error)) << text;
        EXPECT_EQ(error.rfind(message, 0), 0u) << "got: " << error;
    }
}

TEST_F(PageFileTest, ConverterKeepsSheetStatesTextsAndFrames) {
    if (pagesFolder().empty()) GTEST_SKIP() << "QUORIN_PAGES is not set";
    auto page = loadConverted(L"fixtures\\sheets.page");
    ASSERT_TRUE(page);
    DocumentDouble& doc = page->doc();
    EXPECT_EQ(doc.title(), L"Sheets & links");
    std::vector<std::pair<OptText, bool>> sheets;
    for (const auto& sheet : doc.sheets()) sheets.push_back({sheet->title(), sheet->disabled()});
    const std::vector<std::pair<OptText, bool>> expected = {
        {std::nullopt, false}, {L"Blue", false}, {L"Blue", false}, {L"Red", true},
        {L"Green", true},      {std::nullopt, false}, {L"", false}};
    EXPECT_EQ(sheets, expected) << "the first titled sheet is preferred, alternates start disabled";
    auto links = doc.elementsByTag(L"link");
    ASSERT_EQ(links.size(), 6u);
    EXPECT_EQ(links[5]->attribute(L"rel"), OptText(L""));
    EXPECT_EQ(links[0]->attribute(L"title"), std::nullopt);
    auto anchors = doc.elementsByTag(L"a");
    ASSERT_EQ(anchors.size(), 3u);
    EXPECT_EQ(anchors[0]->innerText(), OptText(L"Next page"));
    EXPECT_EQ(anchors[2]->innerText(), OptText(L"")) << "an anchor holding only an image";
    ASSERT_EQ(anchors[2]->contained().size(), 1u);
    EXPECT_EQ(anchors[2]->contained()[0]->attribute(L"alt"), OptText(L"x"));
    ASSERT_EQ(anchors[0]->contained().size(), 1u) << "the b inside the first anchor";
    EXPECT_EQ(anchors[0]->contained()[0]->tag(), L"b");
    EXPECT_TRUE(anchors[1]->contained().empty());
    EXPECT_EQ(doc.elementsByTag(L"h1")[0]->cssText(), L"color: navy");
    EXPECT_EQ(doc.elementsByTag(L"meta")[0]->attribute(L"http-equiv"), OptText(L"Refresh"));

    auto frameset = loadConverted(L"fixtures\\frameset.page");
    ASSERT_TRUE(frameset);
    const auto& frames = frameset->doc().frames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0]->name(), L"toc");
    EXPECT_EQ(frames[0]->document()->title(), L"Contents");
    EXPECT_EQ(frames[1]->document()->sheets().size(), 7u);
    EXPECT_TRUE(frames[2]->accessDenied());
}

// The real manual pages, through the interfaces the library uses.
TEST_F(PageFileTest, RealPagesLoadWithTheirRelatedDocumentLinks) {
    if (pagesFolder().empty()) GTEST_SKIP() << "QUORIN_PAGES is not set";
    const auto m4 = pageFiles(pagesFolder() + L"\\m4");
    const auto libffi = pageFiles(pagesFolder() + L"\\libffi");
    if (m4.empty() && libffi.empty()) GTEST_SKIP() << "the shared pages were not converted";
    EXPECT_EQ(m4.size(), 20u);
    EXPECT_EQ(libffi.size(), 20u);
    int nexts = 0, untitledSheets = 0;
    for (const auto* files : {&m4, &libffi}) {
        for (const auto& file : *files) {
            std::string error;
            auto page = loadPageFile(file, &error);
            ASSERT_TRUE(page) << error;
            EXPECT_EQ(page->doc().url().rfind(L"http://pages.test/", 0), 0u);
            EXPECT_FALSE(page->doc().title().empty());

            ComPtr<IDispatch> dispatch;
            ASSERT_EQ(page->browser()->get_Document(dispatch.put()), S_OK);
            auto document = dispatch.as<IHTMLDocument2>();
            ComPtr<IHTMLElementCollection> all;
            ASSERT_EQ(document->get_all(all.put()), S_OK);
            LONG length = 0;
            all->get_length(&length);
            EXPECT_GT(length, 5) << "a real page is a usable document";
            ComPtr<IDispatch> tags;
            all->tags(Variant::fromString(L"link").value(), tags.put());
            auto links = tags.as<IHTMLElementCollection>();
            links->get_length(&length);
            for (LONG i = 0; i < length; ++i) {
                ComPtr<IDispatch> item;
                links->item(Variant::fromInt(i).value(), Variant::fromInt(0).value(), item.put());
                auto link = item.as<IHTMLLinkElement>();
                ASSERT_TRUE(link);
                SharedString rel;
                link->get_rel(rel.out());
                nexts += rel.c_str() && std::wstring(rel.c_str()) == L"next";
            }
            for (const auto& sheet : page->doc().sheets()) untitledSheets += !sheet->title();
        }
    }
    if (!m4.empty()) {
        EXPECT_GT(nexts, 15) << "texinfo pages link to the next page";
        EXPECT_GE(untitledSheets, 20);
    }
}
