#include "link_fixture.h"

using namespace quorin;
using namespace quorin::test;

namespace {

class Cruise : public LinkFixture {};

TEST_F(Cruise, FollowsTheHighestPriorityTypeThePageOffers) {
    PageBuilder both(L"http://server/a.html");
    both.anchor(L"up.html", L"Up", L"up");
    both.anchor(L"next.html", L"Next", L"next");
    EXPECT_TRUE(open(both).cruise());
    EXPECT_EQ(navigations(both), (Texts{L"http://server/next.html"}));

    PageBuilder contents(L"http://server/a.html");
    contents.link(L"contents", L"toc.html");
    contents.link(L"prev", L"prev.html");
    EXPECT_TRUE(open(contents).cruise());
    EXPECT_EQ(navigations(contents), (Texts{L"http://server/toc.html"}));

    PageBuilder none(L"http://server/a.html");
    none.link(L"prev", L"prev.html");
    none.anchor(L"b.html", L"B");
    EXPECT_FALSE(open(none).cruise());
    EXPECT_TRUE(navigations(none).empty());
}

TEST_F(Cruise, ALinkElementWinsOverAnAnchorOfTheSameRelation) {
    PageBuilder page(L"http://server/a.html");
    page.anchor(L"anchor.html", L"A", L"next");
    page.link(L"next", L"link.html");
    EXPECT_TRUE(open(page).cruise());
    EXPECT_EQ(navigations(page), (Texts{L"http://server/link.html"}));
}

TEST_F(Cruise, StepsNamingNoTypeAreSkipped) {
    store.LinkType[0].Title = L"Next page";       // the cruise still names the old title
    store.LinkCruise[1].Title = L"1つ上 ";         // differs from the type's title
    PageBuilder page(L"http://server/a.html");
    page.link(L"next", L"next.html");
    page.link(L"up", L"up.html");
    page.link(L"index", L"index.html");
    EXPECT_TRUE(open(page).cruise());
    EXPECT_EQ(navigations(page), (Texts{L"http://server/index.html"}));
    EXPECT_EQ(store.LinkCruise[0].index, -1);
    EXPECT_EQ(store.LinkCruise[3].index, 4);
}

TEST_F(Cruise, AnEmptyFirstAddressEndsTheCruise) {
    PageBuilder page(L"http://server/a.html");
    page.link(L"next", std::wstring(2080, L'x'));  // too long to combine
    page.link(L"up", L"up.html");
    EXPECT_FALSE(open(page).cruise());
    EXPECT_TRUE(navigations(page).empty());
}

TEST_F(Cruise, EmptyTypeListsNeverNavigate) {
    store.LinkEtc.MaxEtcNum = 0;
    PageBuilder page;
    page.link(L"next", L"next.html");
    EXPECT_FALSE(open(page).cruise());
    EXPECT_TRUE(navigations(page).empty());
}

TEST_F(Cruise, ReloadingTheStoreDoesNotBreakIt) {
    PageBuilder page(L"http://server/a.html");
    page.link(L"up", L"up.html");
    LinkCollection& links = open(page);
    store.loadAll();  // what opening and cancelling a settings sheet does
    for (const CruiseEntry& step : store.LinkCruise) EXPECT_EQ(step.index, -1);
    EXPECT_TRUE(links.cruise());
    EXPECT_EQ(navigations(page), (Texts{L"http://server/up.html"}));
}

TEST_F(Cruise, AWordsTypeTakesItsPlaceInTheOrder) {
    addWordsRows();
    PageBuilder words(L"http://server/list/2.html");
    words.anchor(L"1.html", L"« 前へ");
    words.anchor(L"index.html", L"目次");
    words.anchor(L"3.html", L"次へ »");
    EXPECT_TRUE(open(words).cruise());
    EXPECT_EQ(navigations(words), (Texts{L"http://server/list/3.html"}));

    PageBuilder upToo(L"http://server/list/2.html");
    upToo.link(L"up", L"../index.html");
    upToo.anchor(L"3.html", L"Next");
    EXPECT_TRUE(open(upToo).cruise());
    EXPECT_EQ(navigations(upToo), (Texts{L"http://server/list/3.html"})) << "after 次, before 1つ上";

    PageBuilder relNext(L"http://server/list/2.html");
    relNext.anchor(L"words.html", L"Next");
    relNext.anchor(L"rel.html", L"Onwards", L"next");
    EXPECT_TRUE(open(relNext).cruise());
    EXPECT_EQ(navigations(relNext), (Texts{L"http://server/list/rel.html"}));

    PageBuilder back(L"http://server/list/2.html");
    back.anchor(L"1.html", L"« 前へ");
    EXPECT_FALSE(open(back).cruise()) << "前(文字) is not in the cruise";
}

TEST_F(Cruise, AFailingNavigationIsSilent) {
    PageBuilder page(L"http://server/a.html");
    page.link(L"next", L"next.html");
    page.doc().location()->failMethod("put_href", E_FAIL);
    EXPECT_FALSE(open(page).cruise());
}

}  // namespace
