// Converted real pages: manuals with the default link types, and pages that mark their next and
// previous pages only by the words of their links, with link types of words added.

#include <cstdlib>
#include <memory>
#include <string>

#include "link_fixture.h"
#include "support/page_file.h"

using namespace quorin;
using namespace quorin::test;

namespace {

std::unique_ptr<PageBuilder> loadConverted(const std::wstring& relative) {
    std::string error;
    auto page = loadPageFile(pagesFolder() + L"\\" + relative, &error);
    EXPECT_TRUE(page) << error;
    return page;
}

// The pages of tests/link/pages, converted at build time (QUORIN_SITE_PAGES).
std::unique_ptr<PageBuilder> loadSite(const wchar_t* name) {
    const char* folder = std::getenv("QUORIN_SITE_PAGES");
    if (!folder) {
        ADD_FAILURE() << "QUORIN_SITE_PAGES is not set";
        return nullptr;
    }
    std::string error;
    auto page = loadPageFile(fromUtf8(folder) + L"\\" + name, &error);
    EXPECT_TRUE(page) << error;
    return page;
}

class RealPages : public LinkFixture {};

TEST_F(RealPages, ManualPageWithLinkElementsAndNavigationAnchors) {
    REQUIRE_PAGES("libffi");
    auto page = loadConverted(L"libffi\\Types.page");
    ASSERT_TRUE(page);
    LinkCollection& links = collect(*page);
    const std::wstring dir = L"http://pages.test/libffi/";
    EXPECT_EQ(texts(typeList(L"次")), (Texts{L"Multiple ABIs", L"Multiple ABIs"}));
    EXPECT_EQ(targets(typeList(L"次")), (Texts{dir + L"Multiple-ABIs.html", dir + L"Multiple-ABIs.html"}));
    EXPECT_EQ(texts(typeList(L"前")), (Texts{L"Simple Example", L"Simple Example"}));
    EXPECT_EQ(texts(typeList(L"1つ上")), (Texts{L"Using libffi", L"Using libffi"}));
    EXPECT_TRUE(typeList(L"目次").empty());
    EXPECT_EQ(targets(typeList(L"索引")), (Texts{dir + L"Index.html", dir + L"Index.html"}));
    EXPECT_EQ(texts(typeList(L"先頭")), (Texts{L"Top"}));
    EXPECT_TRUE(typeList(L"作者").empty());
    EXPECT_TRUE(links.otherLinks().empty());
    EXPECT_EQ(texts(links.generalLinks()),
              (Texts{L"Primitive Types", L"Structures", L"Size and Alignment", L"Arrays, Unions, and Enumerations",
                     L"Type Example", L"Complex Types", L"Complex Type Example"}));
    EXPECT_EQ(targets(links.generalLinks())[0], dir + L"Primitive-Types.html");

    store.LinkEtc.ElimDuplLinks = true;
    collect(*page);
    EXPECT_EQ(texts(typeList(L"次")), (Texts{L"Multiple ABIs"}));
    EXPECT_TRUE(collection->cruise());
    EXPECT_EQ(navigations(*page), (Texts{dir + L"Multiple-ABIs.html"}));
}

TEST_F(RealPages, ManualPageWithRepeatedFooterLinks) {
    REQUIRE_PAGES("m4");
    auto page = loadConverted(L"m4\\Define.page");
    ASSERT_TRUE(page);
    const std::wstring dir = L"http://pages.test/m4/";
    store.LinkEtc.EnumNonLink = true;
    LinkCollection& links = collect(*page);
    EXPECT_EQ(texts(typeList(L"次")), (Texts{L"Arguments", L"Arguments to macros"}));
    EXPECT_TRUE(typeList(L"前").empty());
    EXPECT_EQ(texts(typeList(L"1つ上")), (Texts{L"Definitions", L"How to define new macros"}));
    EXPECT_EQ(texts(typeList(L"目次")), (Texts{L"Table of Contents", L"Contents", L"Contents"}));
    EXPECT_EQ(targets(typeList(L"目次"))[0], dir + L"index.html#SEC_Contents");
    EXPECT_EQ(texts(typeList(L"索引")), (Texts{L"Indices", L"Index", L"Index"}));
    EXPECT_EQ(texts(typeList(L"先頭")), (Texts{L"Top"}));
    EXPECT_EQ(links.generalLinks().size(), 10u);
    EXPECT_EQ(links.generalLinks().front().text, L"\x00b6");
    EXPECT_EQ(targets(links.generalLinks())[0], dir + L"Define.html#index-define");
    EXPECT_TRUE(links.nonLinks().empty()) << "its only http-equiv is Content-Type";

    store.LinkEtc.ElimDuplLinks = true;
    collect(*page);
    EXPECT_EQ(texts(typeList(L"目次")), (Texts{L"Table of Contents"}));
    EXPECT_EQ(texts(typeList(L"索引")), (Texts{L"Indices"}));
    EXPECT_EQ(collection->generalLinks().size(), 10u) << "no general link repeats";
}

TEST_F(RealPages, EveryConvertedPageCollectsWithEveryOptionOn) {
    REQUIRE_PAGES("m4");
    REQUIRE_PAGES("libffi");
    store.LinkEtc.EnumNonLink = true;
    store.LinkEtc.EnumStyleSheet = true;
    store.LinkEtc.GroupSameSite = true;
    store.LinkEtc.ElimDuplLinks = true;
    int pages = 0;
    for (const wchar_t* set : {L"m4", L"libffi"}) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((pagesFolder() + L"\\" + set + L"\\*.page").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            auto page = loadConverted(std::wstring(set) + L"\\" + found.cFileName);
            if (!page) continue;
            ++pages;
            const size_t elements = page->doc().elementsByTag(L"a").size() + page->doc().elementsByTag(L"link").size();
            LinkCollection& links = collect(*page);
            size_t listed = links.otherLinks().size() + links.generalLinks().size() + links.sameSiteLinks().size();
            for (const LinkTypeEntry& type : links.linkTypes()) listed += type.links.size();
            EXPECT_LE(listed, elements) << found.cFileName;
            EXPECT_GT(listed, 0u) << found.cFileName;
            collection.reset();
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(pages, 40);
}

class SitePages : public LinkFixture {
protected:
    SitePages() { addWordsRows(); }
};

// A blog engine's paged front page: "← Older posts" and "Newer posts →" below the excerpts, whose
// titles and "Continue reading →" links come first; rel only for home, bookmarks and categories.
TEST_F(SitePages, BlogOlderAndNewerPostsNeedTheirOwnWords) {
    store.LinkType.push_back(wordsType(L"古い記事", L"Older posts|Older entries|古い記事"));
    store.LinkType.push_back(wordsType(L"新しい記事", L"Newer posts|Newer entries"));
    CruiseEntry older;
    older.Title = L"古い記事";
    store.LinkCruise.push_back(older);
    auto page = loadSite(L"blog.page");
    ASSERT_TRUE(page);
    LinkCollection& links = collect(*page);
    EXPECT_TRUE(typeList(L"次(文字)").empty());
    EXPECT_TRUE(typeList(L"前(文字)").empty());
    EXPECT_EQ(targets(typeList(L"古い記事")), (Texts{L"http://sites.test/page/3/"}));
    EXPECT_EQ(texts(typeList(L"古い記事")), (Texts{L"← Older posts"}));
    EXPECT_EQ(targets(typeList(L"新しい記事")), (Texts{L"http://sites.test/"}));
    EXPECT_EQ(texts(links.otherLinks()),
              (Texts{L"(alternate)\tNotes from the workshop » Feed", L"(home)\tNotes from the workshop",
                     L"(bookmark)\tNext generation lathes", L"(category tag)\tTools",
                     L"(bookmark)\tOlder posts, cleaned up"}));
    EXPECT_EQ(links.generalLinks().size(), 6u) << "skip link, two menu items, two Continue reading, privacy";
    EXPECT_TRUE(collection->cruise());
    EXPECT_EQ(navigations(*page), (Texts{L"http://sites.test/page/3/"}));
}

// A bulletin board's thread page: "« 前へ 1 2 3 次へ »" above the posts with rel prev and next,
// and again below them with rel nofollow; inside the posts, links whose words are "次" and
// "次のページ" too.
TEST_F(SitePages, ForumPagerAboveAndBelowThePosts) {
    auto page = loadSite(L"forum.page");
    ASSERT_TRUE(page);
    const std::wstring next = L"http://sites.test/viewtopic.php?t=120&start=20";
    LinkCollection& links = collect(*page);
    EXPECT_EQ(targets(typeList(L"次")), (Texts{next}));
    EXPECT_EQ(texts(typeList(L"次(文字)")), (Texts{L"次へ »", L"次", L"次のページ", L"次へ »"}))
        << "whole words cannot tell a post's own 次 from the pager's";
    EXPECT_EQ(targets(typeList(L"次(文字)"))[3], next);
    EXPECT_EQ(texts(typeList(L"前(文字)")), (Texts{L"« 前へ", L"« 前へ"}));
    EXPECT_TRUE(links.otherLinks().empty()) << "the nofollow links matched by their words are not other relations";
    EXPECT_EQ(texts(links.generalLinks()).back(), L"掲示板に戻る");

    store.LinkEtc.ElimDuplLinks = true;
    collect(*page);
    EXPECT_EQ(texts(typeList(L"次(文字)")), (Texts{L"次へ »", L"次", L"次のページ"}));
    EXPECT_TRUE(collection->cruise());
    EXPECT_EQ(navigations(*page), (Texts{next}));
}

// A search site's numbered pager, "1 2 3 4 次へ" and an arrow image button, below results whose
// titles begin with "Next" and "次の".
TEST_F(SitePages, SearchResultsNumberedPagerWithAnImageButton) {
    auto page = loadSite(L"search.page");
    ASSERT_TRUE(page);
    const std::wstring second = L"http://sites.test/search?q=%E6%97%8B%E7%9B%A4&p=2";
    LinkCollection& links = collect(*page);
    EXPECT_EQ(targets(typeList(L"次(文字)")), (Texts{second, second}));
    EXPECT_EQ(texts(typeList(L"次(文字)")), (Texts{L"次へ", L"次のページ"})) << "the image button by its alt";
    EXPECT_EQ(texts(links.generalLinks()),
              (Texts{L"Next Generation Lathe 特集", L"次の旋盤を選ぶまで", L"旋盤 - 工作用語集", L"2", L"3", L"4",
                     L"ヘルプ", L""}));
    EXPECT_TRUE(collection->cruise());
    EXPECT_EQ(navigations(*page), (Texts{second}));
}

// A hand-written site of old: an image map as the navigation bar, image buttons below the text,
// the "next" one with a title instead of an alt text.
TEST_F(SitePages, HandmadeSiteWithAnImageMapAndImageButtons) {
    auto page = loadSite(L"handmade.page");
    ASSERT_TRUE(page);
    LinkCollection& links = collect(*page);
    EXPECT_EQ(targets(typeList(L"次(文字)")),
              (Texts{L"http://sites.test/kiroku04.html", L"http://sites.test/kiroku04.html"}));
    EXPECT_EQ(targets(typeList(L"前(文字)")), (Texts{L"http://sites.test/kiroku02.html"}))
        << "\"Back\" is not among the words";
    EXPECT_EQ(texts(links.generalLinks()), (Texts{L"前回の写真", L"", L"", L"目次"}));
    EXPECT_TRUE(collection->cruise());
    EXPECT_EQ(navigations(*page), (Texts{L"http://sites.test/kiroku04.html"}));
}

}  // namespace
