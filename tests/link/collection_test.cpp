#include <string>
#include <utility>

#include "link_fixture.h"

using namespace quorin;
using namespace quorin::test;

namespace {

class Collection : public LinkFixture {};

TEST_F(Collection, AddressesResolveAgainstTheFirstBaseElseTheDocument) {
    PageBuilder withBase(L"http://server/a.html");
    withBase.base(L"http://server/dir/");
    withBase.base(L"http://ignored/");
    withBase.anchor(L"x.html", L"X");
    LinkCollection& based = collect(withBase);
    EXPECT_EQ(based.baseAddress(), SharedString(L"http://server/dir/"));
    EXPECT_EQ(targets(based.generalLinks()), (Texts{L"http://server/dir/x.html"}));

    PageBuilder plain(L"http://server/a.html");
    plain.anchor(L"x.html", L"X");
    EXPECT_EQ(targets(collect(plain).generalLinks()), (Texts{L"http://server/x.html"}));

    PageBuilder hrefless(L"http://server/a.html");
    hrefless.base(std::nullopt);
    LinkCollection& fallback = collect(hrefless);
    EXPECT_EQ(fallback.baseAddress(), fallback.documentAddress());
}

// The browser resolves the hrefs of links itself; the addresses of non-links must come out the
// same, or choosing one opens another page than the one the author named.
TEST_F(Collection, ARelativeBaseIsTakenFromTheDocumentsAddressLikeTheBrowserTakesIt) {
    store.LinkEtc.EnumNonLink = true;
    const std::pair<const wchar_t*, std::wstring> bases[] = {{L"/manual/", L"http://server/manual/"},
                                                             {L"//mirror.example/manual/", L"http://mirror.example/manual/"},
                                                             {L"http://other/docs/", L"http://other/docs/"}};
    for (const auto& [written, resolved] : bases) {
        PageBuilder page(L"http://server/dir/a.html");
        page.base(written);
        page.anchor(L"x.html", L"X");
        page.attributed(L"blockquote", L"cite", L"quoted.html");
        page.attributed(L"img", L"longdesc", L"../desc.html");
        page.meta(L"Refresh", L"3;URL=next.html");
        page.meta(L"Refresh", L"3");
        LinkCollection& links = collect(page);
        EXPECT_EQ(links.baseAddress(), SharedString(resolved.c_str()));
        EXPECT_EQ(links.documentAddress(), SharedString(L"http://server/dir/a.html"));
        const std::wstring root = resolved.substr(0, resolved.find(L'/', 7) + 1);
        EXPECT_EQ(targets(links.generalLinks()), (Texts{resolved + L"x.html"}));
        EXPECT_EQ(targets(links.nonLinks()),
                  (Texts{resolved + L"quoted.html", root + L"desc.html", resolved + L"next.html", resolved}))
            << "base " << written;
    }
}

TEST_F(Collection, DuplicatesAreDroppedPerListOnlyWhenAsked) {
    PageBuilder page(L"http://server/a.html");
    page.link(L"next", L"b.html", L"Next");
    page.anchor(L"b.html", L"one");
    page.anchor(L"http://server/b.html", L"two");
    page.anchor(L"http://server/B.html", L"three");
    page.meta(L"refresh", L"5;url=b.html");
    page.meta(L"refresh", L"5;url=b.html");
    page.attributed(L"q", L"cite", L"b.html");
    page.attributed(L"q", L"cite", L"b.html");
    store.LinkEtc.EnumNonLink = true;
    EXPECT_EQ(texts(collect(page).generalLinks()), (Texts{L"one", L"two", L"three"}));

    store.LinkEtc.ElimDuplLinks = true;
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(links.generalLinks()), (Texts{L"one", L"three"})) << "letter case makes a different target";
    EXPECT_EQ(texts(typeList(L"次")), (Texts{L"Next"}));
    EXPECT_EQ(texts(links.nonLinks()),
              (Texts{L"(q - cite)\tb.html", L"<Refresh: 5s>\tb.html", L"<Refresh: 5s>\tb.html"}))
        << "every refresh is listed";
}

TEST_F(Collection, LimitsBoundEachListByItself) {
    store.LinkEtc.MaxEtcNum = 1;
    store.LinkEtc.MaxUnRelNum = 2;
    store.LinkEtc.MaxNonLinkNum = 2;
    store.LinkEtc.EnumNonLink = true;
    PageBuilder page;
    for (const wchar_t* href : {L"1.html", L"2.html", L"3.html"}) {
        page.link(L"next prev", href);
        page.link(L"bookmark", href);
        page.anchor(href, href);
        page.attributed(L"blockquote", L"cite", href);
    }
    LinkCollection& links = collect(page);
    // Untitled links show their href as the browser gives it: resolved.
    EXPECT_EQ(texts(typeList(L"次")), (Texts{L"http://example.test/1.html"}));
    EXPECT_EQ(texts(typeList(L"前")), (Texts{L"http://example.test/1.html"}));
    EXPECT_EQ(links.otherLinks().size(), 1u);
    EXPECT_EQ(texts(links.generalLinks()), (Texts{L"1.html", L"2.html"}));
    EXPECT_EQ(texts(links.nonLinks()), (Texts{L"(blockquote - cite)\t1.html", L"(blockquote - cite)\t2.html"}));
}

TEST_F(Collection, AFullGeneralListLeavesRoomForSameSiteLinks) {
    store.LinkEtc.MaxUnRelNum = 1;
    store.LinkEtc.GroupSameSite = true;
    PageBuilder page(L"http://server/a.html");
    page.anchor(L"http://x/1", L"X1");
    page.anchor(L"http://x/2", L"X2");
    page.anchor(L"http://server/b.html", L"B");
    page.anchor(L"http://server/c.html", L"C");
    page.link(L"next", L"n.html", L"N");
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(links.generalLinks()), (Texts{L"X1"}));
    EXPECT_EQ(texts(links.sameSiteLinks()), (Texts{L"B"}));
    EXPECT_EQ(texts(typeList(L"次")), (Texts{L"N"}));
}

TEST_F(Collection, ZeroAndNegativeLimitsAdmitNothing) {
    store.LinkEtc.MaxEtcNum = 0;
    store.LinkEtc.MaxUnRelNum = -1;
    store.LinkEtc.MaxNonLinkNum = 0;
    store.LinkEtc.EnumNonLink = true;
    PageBuilder page;
    page.link(L"next", L"b.html");
    page.link(L"bookmark", L"c.html");
    page.anchor(L"d.html", L"D");
    page.meta(L"Refresh", L"0");
    LinkCollection& links = collect(page);
    for (const LinkTypeEntry& type : links.linkTypes()) EXPECT_TRUE(type.links.empty());
    EXPECT_TRUE(links.otherLinks().empty());
    EXPECT_TRUE(links.generalLinks().empty());
    EXPECT_TRUE(links.nonLinks().empty());
}

TEST_F(Collection, EntryTextsComeFromTitleInnerTextOrAltElseTheHref) {
    PageBuilder page;
    page.anchor(L"long.html", std::wstring(100, L'x'));
    page.anchor(L"image.html", L"");
    page.anchor(L"bare.html", std::nullopt);
    page.link(L"next", L"untitled.html");
    page.link(L"next", L"titled.html", L"Titled");
    page.area(L"map.html", L"Map");
    page.area(L"nomap.html", std::nullopt);
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(links.generalLinks()),
              (Texts{std::wstring(79, L'x'), L"", L"http://example.test/bare.html", L"Map",
                     L"http://example.test/nomap.html"}))
        << "the href serves as it is read: resolved by the browser";
    EXPECT_EQ(texts(typeList(L"次")), (Texts{L"http://example.test/untitled.html", L"Titled"}));
}

// U+1F600, one character in two units: a cut between them would leave half a character.
const std::wstring kPair = L"\xD83D\xDE00";

TEST_F(Collection, TextsCutAt79UnitsKeepEveryCharacterWhole) {
    store.LinkEtc.EnumNonLink = true;
    PageBuilder page;
    page.anchor(L"parted.html", std::wstring(78, L'a') + kPair);
    page.anchor(L"whole.html", std::wstring(77, L'b') + kPair + L"b");
    page.link(L"made-up" + std::wstring(70, L'r') + kPair, L"other.html", L"Other");
    page.attributed(L"blockquote", L"cite", L"q.html").attr(L"title", std::wstring(58, L'q') + kPair);
    page.meta(L"Refresh", L"5;URL=r.html").attr(L"title", std::wstring(64, L'm') + kPair);
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(links.generalLinks()), (Texts{std::wstring(78, L'a'), std::wstring(77, L'b') + kPair}));
    EXPECT_EQ(texts(links.otherLinks()), (Texts{L"(made-up" + std::wstring(70, L'r')}))
        << "nothing follows a piece that was cut";
    EXPECT_EQ(texts(links.nonLinks()),
              (Texts{L"(blockquote - cite)\t" + std::wstring(58, L'q'), L"<Refresh: 5s>\t" + std::wstring(64, L'm')}));
}

TEST_F(Collection, ScanGoesByTagLinksFirstThenAnchorsThenAreas) {
    PageBuilder page;
    page.area(L"area.html", L"area");
    page.anchor(L"a.html", L"a", L"next");
    page.link(L"next", L"link.html", L"link");
    page.anchor(L"a2.html", L"a2");
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(typeList(L"次")), (Texts{L"link", L"a"}));
    EXPECT_EQ(texts(links.generalLinks()), (Texts{L"a2", L"area"}));
}

TEST_F(Collection, NonLinksAreListedOnlyWhenAskedAndByTagOrder) {
    PageBuilder page(L"http://server/a.html");
    page.attributed(L"del", L"cite", L"why-deleted.html");
    page.attributed(L"head", L"profile", L"http://profiles/p");
    page.attributed(L"blockquote", L"cite", L"quoted.html").attr(L"title", L"Quoted");
    page.attributed(L"img", L"longdesc", L"desc.html");
    page.attributed(L"ins", L"cite", L"why-added.html");
    page.attributed(L"q", L"cite", std::nullopt);
    page.element(L"blockquote");
    EXPECT_TRUE(collect(page).nonLinks().empty());

    store.LinkEtc.EnumNonLink = true;
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(links.nonLinks()), (Texts{L"(head - profile)\thttp://profiles/p", L"(blockquote - cite)\tQuoted",
                                              L"(img - longdesc)\tdesc.html", L"(ins - cite)\twhy-added.html",
                                              L"(del - cite)\twhy-deleted.html"}));
    EXPECT_EQ(targets(links.nonLinks())[1], L"http://server/quoted.html");
}

TEST_F(Collection, MetaRefreshGivesAnEntryForRefreshOnly) {
    store.LinkEtc.EnumNonLink = true;
    PageBuilder page(L"http://server/dir/a.html");
    page.meta(L"refresh", L"3");
    page.meta(L"REFRESH", L"3;url=page2.html").attr(L"title", L"Second");
    page.meta(L"Refresh", L"-5;URL=x");
    page.meta(L"Content-Type", L"0;url=never.html");
    page.meta(L"Refresh", std::nullopt);
    page.meta(std::nullopt, L"0;url=never.html");
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(links.nonLinks()), (Texts{L"<Refresh: 3s>\thttp://server/dir/a.html", L"<Refresh: 3s>\tSecond"}));
    EXPECT_EQ(targets(links.nonLinks()), (Texts{L"http://server/dir/a.html", L"http://server/dir/page2.html"}));
}

TEST_F(Collection, FramesAreNotLookedInto) {
    PageBuilder page(L"http://server/frames.html");
    page.link(L"contents", L"toc.html", L"TOC");
    page.frame(L"http://server/body.html").link(L"next", L"b.html", L"B");
    page.frame(L"http://server/side.html").anchor(L"c.html", L"C");
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(typeList(L"目次")), (Texts{L"TOC"}));
    EXPECT_TRUE(typeList(L"次").empty());
    EXPECT_TRUE(links.generalLinks().empty());
}

TEST_F(Collection, AddressesTooLongToCombineAreListedWithoutTarget) {
    PageBuilder page(L"http://server/a.html");
    page.anchor(std::wstring(2071, L'y'), L"long");
    page.anchor(std::wstring(2070, L'y'), L"longest");
    page.anchor(std::wstring(2069, L'y'), L"fits");
    LinkCollection& links = collect(page);
    ASSERT_EQ(links.generalLinks().size(), 3u);
    EXPECT_TRUE(links.generalLinks().entries()[0].target.isNull());
    EXPECT_TRUE(links.generalLinks().entries()[1].target.isNull()) << "2084 characters are beyond any browser address";
    EXPECT_EQ(links.generalLinks().entries()[2].target.length(), 2083u);
    EXPECT_FALSE(links.navigate(links.generalLinks().entries()[0])) << "an unresolved address goes nowhere";
    EXPECT_TRUE(navigations(page).empty());

    store.LinkEtc.ElimDuplLinks = true;
    EXPECT_EQ(texts(collect(page).generalLinks()), (Texts{L"long", L"fits"})) << "unresolved targets are one target";
}

TEST_F(Collection, NavigateSetsTheLocationOfTheDocument) {
    PageBuilder page(L"http://server/a.html");
    page.anchor(L"b.html", L"B");
    page.anchor(L"", L"self");
    LinkCollection& links = collect(page);
    EXPECT_TRUE(links.navigate(links.generalLinks().entries()[0]));
    EXPECT_EQ(navigations(page), (Texts{L"http://server/b.html"}));
    LinkEntry empty;
    empty.target = SharedString(L"");
    EXPECT_FALSE(links.navigate(empty));
    EXPECT_EQ(navigations(page).size(), 1u);
}

TEST_F(Collection, SettingsAreASnapshotUntilApplied) {
    PageBuilder page;
    page.anchor(L"b.html", L"B");
    LinkCollection& links = open(page);
    store.LinkEtc.MaxUnRelNum = 0;
    store.LinkType.clear();
    links.collect();
    EXPECT_EQ(links.generalLinks().size(), 1u);
    EXPECT_EQ(links.linkTypes().size(), 7u);
    links.applySettings();
    links.collect();
    EXPECT_TRUE(links.generalLinks().empty());
    EXPECT_TRUE(links.linkTypes().empty());
    EXPECT_EQ(links.cruiseShortcut(), 0x0255);
}

TEST_F(Collection, ClearListsEmptiesEverything) {
    store.LinkEtc.EnumNonLink = true;
    PageBuilder page;
    page.link(L"next", L"b.html");
    page.link(L"bookmark", L"c.html");
    page.anchor(L"d.html", L"D");
    page.meta(L"refresh", L"1");
    LinkCollection& links = collect(page);
    links.clearLists();
    EXPECT_TRUE(typeList(L"次").empty());
    EXPECT_TRUE(links.otherLinks().empty());
    EXPECT_TRUE(links.generalLinks().empty());
    EXPECT_TRUE(links.nonLinks().empty());
    EXPECT_FALSE(links.generalLinks().holdsTarget(SharedString(L"http://example.test/d.html")));
}

class CollectionFailures : public LinkFixture {};

TEST_F(CollectionFailures, NoDocumentOrNoBrowserGivesEmptyLists) {
    PageBuilder page;
    page.anchor(L"b.html", L"B");
    page.browser()->failMethod("get_Document", E_FAIL);
    LinkCollection& links = collect(page);
    EXPECT_TRUE(links.generalLinks().empty());
    EXPECT_FALSE(links.navigate(LinkEntry{SharedString(L"http://x/"), L"x", 0}));

    LinkCollection alone(&store);
    alone.setDocument(nullptr);
    alone.collect();
    EXPECT_TRUE(alone.documentAddress().isNull());
    EXPECT_FALSE(alone.cruise());
}

TEST_F(CollectionFailures, SiteWithoutTheServiceChainGivesNoBrowser) {
    PageBuilder page;
    page.anchor(L"b.html", L"B");
    LinkCollection links(&store);
    ComPtr<SiteDouble> refusing = ComPtr<SiteDouble>::adopt(new SiteDouble);
    refusing->setBrowser(page.browser()->unknown());
    refusing->refuseInterface(IID_IOleCommandTarget);
    links.setSite(refusing->unknown());
    links.collect();
    EXPECT_TRUE(links.generalLinks().empty());
    links.setSite(nullptr);
    EXPECT_EQ(refusing->refCount(), 1) << "the site is let go";
}

TEST_F(CollectionFailures, AFailingTagOrElementSkipsOnlyThat) {
    PageBuilder page(L"http://server/a.html");
    page.link(L"next", L"n.html", L"N");
    page.anchor(L"a0.html", L"A0");
    page.anchor(L"a1.html", L"A1");
    page.anchor(L"a2.html", L"A2").refuseInterface(IID_IHTMLAnchorElement);
    page.anchor(L"a3.html", L"A3").failMethod("get_innerText", E_FAIL);
    page.area(L"m.html", L"M");
    page.doc().onCollection = [](ElementCollectionDouble& c) {
        if (c.name() == "tags(link)") c.failMethod("get_length", E_FAIL);
        if (c.name() == "tags(a)") c.failMethod("item(1)", E_FAIL);
    };
    LinkCollection& links = collect(page);
    EXPECT_TRUE(typeList(L"次").empty());
    EXPECT_EQ(texts(links.generalLinks()), (Texts{L"A0", L"http://server/a3.html", L"M"}));
}

TEST_F(CollectionFailures, AMissingTagCollectionEndsTheNonLinkScan) {
    store.LinkEtc.EnumNonLink = true;
    PageBuilder page;
    page.attributed(L"blockquote", L"cite", L"b.html");
    page.attributed(L"img", L"longdesc", L"d.html");
    page.anchor(L"x.html", L"X");
    page.doc().onCollection = [](ElementCollectionDouble& c) {
        if (c.name() == "all") c.nullMethod("tags(q)");
    };
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(links.nonLinks()), (Texts{L"(blockquote - cite)\tb.html"}));
    EXPECT_EQ(links.generalLinks().size(), 1u);
}

// Addresses of non-link attributes are the ones the collection resolves itself; the browser
// gives hrefs of links, anchors and areas resolved already.
TEST_F(CollectionFailures, AFailingBaseLookupFallsBackToTheDocument) {
    store.LinkEtc.EnumNonLink = true;
    PageBuilder page(L"http://server/a.html");
    page.base(L"http://other/");
    page.attributed(L"blockquote", L"cite", L"x.html");
    page.doc().failMethod("getElementsByTagName(base)", E_FAIL);
    EXPECT_EQ(targets(collect(page).nonLinks()), (Texts{L"http://server/x.html"}));
}

TEST_F(CollectionFailures, NoDocumentAddressLeavesHrefsAsWritten) {
    store.LinkEtc.EnumNonLink = true;
    PageBuilder page;
    page.attributed(L"blockquote", L"cite", L"x.html");
    page.browser()->failMethod("get_LocationURL", E_FAIL);
    LinkCollection& links = collect(page);
    EXPECT_TRUE(links.baseAddress().isNull());
    EXPECT_EQ(targets(links.nonLinks()), (Texts{L"x.html"}));
}

}  // namespace
