// Converted real manual pages with the default link types.

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

}  // namespace
