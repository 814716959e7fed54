#include <string>

#include "link/link_classification.h"
#include "link_fixture.h"

using namespace quorin;
using namespace quorin::test;

namespace {

LinkTypeEntry linkType(const wchar_t* attr, int which = 0, int submenu = 2) {
    LinkTypeEntry type;
    type.Title = attr;
    type.Attr = attr;
    type.Which = which;
    type.Submenu = submenu;
    return type;
}

bool relMatches(const wchar_t* attr, const wchar_t* rel) {
    return matchesLinkType(linkType(attr), SharedString(rel), SharedString());
}

TEST(MatchesLinkType, WholeWordsSeparatedBySpacesInAnyCase) {
    EXPECT_TRUE(relMatches(L"Next", L"Next"));
    EXPECT_TRUE(relMatches(L"Next", L"next"));
    EXPECT_TRUE(relMatches(L"Next", L"NEXT"));
    EXPECT_TRUE(relMatches(L"Next", L"prev next"));
    EXPECT_TRUE(relMatches(L"Prev", L"prev next"));
    EXPECT_TRUE(relMatches(L"Next", L"  next  "));
    EXPECT_TRUE(relMatches(L"Next", L"next-page next")) << "a later occurrence is still found";
    EXPECT_FALSE(relMatches(L"Next", L"next-page"));
    EXPECT_FALSE(relMatches(L"Next", L"nextnext"));
    EXPECT_FALSE(relMatches(L"Next", L"prev\tnext")) << "only the space separates words";
    EXPECT_FALSE(relMatches(L"Prev", L"prev\tnext"));
    EXPECT_FALSE(relMatches(L"Next", L""));
}

TEST(MatchesLinkType, SeveralWordsMatchThatRunOfWords) {
    EXPECT_TRUE(relMatches(L"alternate stylesheet", L"Alternate StyleSheet"));
    EXPECT_FALSE(relMatches(L"alternate stylesheet", L"stylesheet alternate"));
    EXPECT_TRUE(relMatches(L"ab ab", L"xab ab ab")) << "the run that overlaps a failed occurrence";
}

TEST(MatchesLinkType, AttributeSideSeparatorsAndOddRows) {
    const SharedString next(L"next"), made(L"made");
    EXPECT_FALSE(matchesLinkType(linkType(L"next", 1), next, SharedString())) << "Which 1 ignores rel";
    EXPECT_TRUE(matchesLinkType(linkType(L"made", 1), next, made));
    EXPECT_FALSE(matchesLinkType(linkType(L"made", 0), next, made));
    EXPECT_FALSE(matchesLinkType(linkType(L"next", 2), next, next));
    EXPECT_FALSE(matchesLinkType(linkType(L"next", -1), next, next));
    EXPECT_FALSE(matchesLinkType(linkType(L"next", 0, 99), next, next)) << "separator row";
    EXPECT_FALSE(matchesLinkType(linkType(L"next"), SharedString(), next)) << "absent rel";
    EXPECT_FALSE(matchesLinkType(linkType(L""), next, next)) << "an empty value names no type";
    EXPECT_FALSE(matchesLinkType(linkType(L""), SharedString(L""), next));
}

TEST(IsSameSite, SchemeHostAndPathSlashMustAgreeExactly) {
    const SharedString doc(L"http://server/a.html");
    EXPECT_TRUE(isSameSite(L"http://server/b.html", doc));
    EXPECT_TRUE(isSameSite(L"http://server/a.html", doc));
    EXPECT_TRUE(isSameSite(L"http://server/dir/c.html", doc));
    EXPECT_FALSE(isSameSite(L"http://server", doc));
    EXPECT_FALSE(isSameSite(L"http://server2/x", doc));
    EXPECT_FALSE(isSameSite(L"https://server/x", doc));
    EXPECT_FALSE(isSameSite(L"HTTP://server/x", doc)) << "letter case counts";
    EXPECT_FALSE(isSameSite(L"mailto:someone@server", SharedString(L"mailto:someone@server")));
    EXPECT_FALSE(isSameSite(L"b.html", doc)) << "the href as given, not resolved";
    EXPECT_FALSE(isSameSite(L"http://server/b.html", SharedString()));
}

TEST(IsSameSite, OnlyTheFirst2083CharactersAreCompared) {
    const std::wstring path(3000, L'x');
    const SharedString doc((L"http://server/" + path).c_str());
    EXPECT_TRUE(isSameSite((L"http://server/" + path + L"y").c_str(), doc));
    EXPECT_TRUE(isSameSite((L"http://server/" + path).c_str(), doc));
}

class ClassifyLink : public LinkFixture {};

TEST_F(ClassifyLink, EveryMatchingTypeReceivesTheLink) {
    PageBuilder page(L"http://server/a.html");
    page.link(L"next", L"b.html", L"B", L"made");
    page.link(L"prev next", L"c.html", L"C");
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(typeList(L"次")), (Texts{L"B", L"C"}));
    EXPECT_EQ(texts(typeList(L"前")), (Texts{L"C"}));
    EXPECT_EQ(targets(typeList(L"作者")), (Texts{L"http://server/b.html"}));
    EXPECT_TRUE(links.otherLinks().empty());
}

TEST_F(ClassifyLink, UnmatchedRelationsGoToOtherLinksWithTheirValue) {
    store.LinkType.pop_back();  // no type for rev made
    PageBuilder page(L"http://server/a.html");
    page.anchor(L"author.html", L"Me", std::nullopt, L"made");
    page.anchor(L"x.html", L"X", L"bookmark", L"made");
    page.anchor(L"e.html", L"Empty", L"");
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(links.otherLinks()), (Texts{L"<made>\tMe", L"(bookmark)\tX", L"()\tEmpty"}));
    EXPECT_EQ(targets(links.otherLinks())[0], L"http://server/author.html");
    EXPECT_TRUE(links.generalLinks().empty()) << "an empty rel still counts as present";
}

TEST_F(ClassifyLink, StyleSheetLinksAreDroppedUnlessEnumerated) {
    PageBuilder page;
    page.link(L"alternate stylesheet", L"blue.css", L"Blue");
    page.link(L"StyleSheet", L"main.css");
    LinkCollection& off = collect(page);
    EXPECT_TRUE(off.otherLinks().empty());

    store.LinkEtc.EnumStyleSheet = true;
    LinkCollection& on = collect(page);
    EXPECT_EQ(texts(on.otherLinks()),
              (Texts{L"(alternate stylesheet)\tBlue", L"(StyleSheet)\thttp://example.test/main.css"}));
}

TEST_F(ClassifyLink, ATypeForStyleSheetsCollectsThemWhateverTheFlag) {
    LinkTypeEntry sheets = linkType(L"stylesheet");
    sheets.Title = L"Sheets";
    store.LinkType.push_back(sheets);
    PageBuilder page;
    page.link(L"alternate stylesheet", L"blue.css", L"Blue");
    collect(page);
    EXPECT_EQ(texts(typeList(L"Sheets")), (Texts{L"Blue"}));
}

TEST_F(ClassifyLink, SeparatorRowsAndEmptyAttributesReceiveNothing) {
    store.LinkType.insert(store.LinkType.begin(), linkType(L"next", -1, 99));
    store.LinkType.insert(store.LinkType.begin(), linkType(L""));
    PageBuilder page;
    page.link(L"next", L"b.html", L"B");
    page.link(L"", L"c.html", L"C");
    LinkCollection& links = collect(page);
    EXPECT_TRUE(links.linkTypes()[0].links.empty());
    EXPECT_TRUE(links.linkTypes()[1].links.empty());
    EXPECT_EQ(texts(typeList(L"次")), (Texts{L"B"}));
    EXPECT_EQ(texts(links.otherLinks()), (Texts{L"()\tC"}));
}

TEST_F(ClassifyLink, HyperlinksSplitBySiteOnlyWhenGrouping) {
    PageBuilder page(L"http://server/a.html");
    page.anchor(L"http://server/b.html", L"B");
    page.anchor(L"http://server2/x", L"X");
    page.anchor(L"mailto:me@server", L"Mail");
    page.anchor(std::nullopt, L"named");
    page.area(L"http://server/map.html", L"Map");
    LinkCollection& flat = collect(page);
    EXPECT_EQ(texts(flat.generalLinks()), (Texts{L"B", L"X", L"Mail", L"Map"}));
    EXPECT_TRUE(flat.sameSiteLinks().empty());

    store.LinkEtc.GroupSameSite = true;
    LinkCollection& grouped = collect(page);
    EXPECT_EQ(texts(grouped.sameSiteLinks()), (Texts{L"B", L"Map"}));
    EXPECT_EQ(texts(grouped.generalLinks()), (Texts{L"X", L"Mail"}));
}

TEST_F(ClassifyLink, SameSiteComparesWithTheDocumentNotTheBase) {
    store.LinkEtc.GroupSameSite = true;
    PageBuilder page(L"http://server/a.html");
    page.base(L"http://other/dir/");
    page.anchor(L"http://server/b.html", L"B");
    page.anchor(L"http://other/dir/c.html", L"C");
    LinkCollection& links = collect(page);
    EXPECT_EQ(links.documentAddress(), SharedString(L"http://server/a.html"));
    EXPECT_EQ(texts(links.sameSiteLinks()), (Texts{L"B"}));
    EXPECT_EQ(texts(links.generalLinks()), (Texts{L"C"}));
}

TEST_F(ClassifyLink, HugeRelValuesEndQuickly) {
    std::wstring rel;
    for (int i = 0; i < 20000; ++i) rel += L"nextx ";
    PageBuilder page;
    page.link(rel, L"b.html", std::wstring(100000, L'T'));
    LinkCollection& links = collect(page);
    EXPECT_TRUE(typeList(L"次").empty());
    ASSERT_EQ(links.otherLinks().size(), 1u);
    EXPECT_EQ(links.otherLinks().front().text.length(), 79u);
}

}  // namespace
