// Listing a page's sheets: grouping by title, fixed sheets, frames, the page context, and what
// failing document calls and navigations do to the lists.

#include "style_fixture.h"

using namespace quorin;
using namespace quorin::test;

namespace {

class SheetListing : public StyleFixture {};

TEST_F(SheetListing, UntitledSheetsOnlyAreFixedAndCounted) {
    PageBuilder page;
    page.sheet(std::nullopt, L"base.css");
    page.sheet(std::nullopt);
    StyleEngine& e = open(page);

    EXPECT_EQ(e.refreshList(), 0);
    EXPECT_TRUE(e.sheetTitles().empty());
    EXPECT_TRUE(e.hasFixedSheets());
    EXPECT_EQ(e.sheetCount(), 2);
}

TEST_F(SheetListing, TitlesAreListedOnceInOrderOfFirstAppearance) {
    PageBuilder page;
    page.sheet(L"B", L"b1.css", true);
    page.sheet(L"A", L"a1.css", false);
    page.sheet(L"B", L"b2.css", false);
    page.sheet(std::nullopt);
    page.sheet(L"A", L"a2.css", true);
    StyleEngine& e = open(page);

    EXPECT_EQ(e.refreshList(), 2);
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"B", L"A"}));
    EXPECT_EQ(flags(e.sheetTitles()), "DE") << "the first sheet of a title decides";
    EXPECT_EQ(std::wstring(e.sheetTitles()[0].href.c_str()), L"b1.css");
    EXPECT_EQ(e.sheetCount(), 5);
    EXPECT_TRUE(e.hasFixedSheets());
    EXPECT_EQ(titles(store.page.sheetTitles), (Texts{L"B", L"A"}));
    EXPECT_EQ(flags(store.page.sheetTitles), "DE");
}

TEST_F(SheetListing, TitlesDifferingInAnyCodeUnitAreDistinctAndEmptyIsATitle) {
    PageBuilder page;
    page.sheet(L"Blue");
    page.sheet(L"blue");
    page.sheet(L"\u00e9");
    page.sheet(L"e\u0301");
    page.sheet(L"");
    page.sheet(L"Blue");
    StyleEngine& e = open(page);

    EXPECT_EQ(e.refreshList(), 5);
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"Blue", L"blue", L"\u00e9", L"e\u0301", L""}));
    EXPECT_FALSE(e.hasFixedSheets()) << "an empty title is present, not absent";
}

TEST_F(SheetListing, FramesFollowTheTopDocumentAndForeignFramesAreSkipped) {
    PageBuilder page;
    page.sheet(L"A");
    PageBuilder& left = page.frame(L"http://example.test/left.html");
    left.sheet(L"B");
    left.sheet(L"A");
    page.deniedFrame(L"http://other.test/ad.html").sheet(L"Foreign");
    page.frame(L"http://example.test/right.html").sheet(L"C");
    StyleEngine& e = open(page);

    EXPECT_EQ(e.refreshList(), 3);
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"A", L"B", L"C"}));
    EXPECT_EQ(e.sheetCount(), 4);
}

TEST_F(SheetListing, WithoutFrameAwarenessOnlyTheFramesetIsListed) {
    store.Etc.FrameAware = false;
    PageBuilder page;
    page.sheet(L"Frameset");
    page.frame(L"http://example.test/left.html").sheet(L"Left");
    StyleEngine& e = open(page);

    EXPECT_EQ(e.refreshList(), 1);
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"Frameset"}));
    EXPECT_EQ(e.sheetCount(), 1);
}

TEST_F(SheetListing, FailingCallsSkipTheirItemAndTheWalkGoesOn) {
    PageBuilder page;
    page.sheet(L"A").failMethod("get_title", E_FAIL);
    page.sheet(L"B").failMethod("get_disabled", E_FAIL);
    page.sheet(L"C").failMethod("get_href", E_FAIL);
    page.sheet(L"D").refuseInterface(IID_IHTMLStyleSheet);
    page.sheet(L"E");
    PageBuilder& broken = page.frame(L"http://example.test/broken.html");
    broken.sheet(L"F");
    broken.doc().failMethod("get_styleSheets", E_FAIL);
    page.frame(L"http://example.test/gone.html").sheet(L"G");
    page.doc().frames()[1]->nullMethod("get_document");
    page.frame(L"http://example.test/ok.html").sheet(L"H");
    StyleEngine& e = open(page);

    EXPECT_EQ(e.refreshList(), 2);
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"E", L"H"}));
    EXPECT_EQ(e.sheetCount(), 2);
}

TEST_F(SheetListing, NoDocumentGivesEmptyLists) {
    PageBuilder page;
    page.sheet(L"A");
    page.browser()->failMethod("get_Document", E_FAIL);
    StyleEngine& e = open(page);

    EXPECT_EQ(e.refreshList(), 0);
    EXPECT_EQ(e.sheetCount(), 0);
    EXPECT_TRUE(e.useSheets());

    StyleEngine withoutSite(store);
    EXPECT_EQ(withoutSite.refreshList(), 0);
    withoutSite.setUseStyleAttr(false);
    withoutSite.refreshPage();
}

TEST_F(SheetListing, AttachingAPageWithoutContentEmptiesTheTitlesOnly) {
    PageBuilder page(L"http://example.test/a.html");
    page.sheet(L"A");
    page.sheet(std::nullopt);
    StyleEngine& e = open(page);
    e.attachDocument(nullptr, true);
    ASSERT_EQ(e.sheetTitles().size(), 1u);
    EXPECT_EQ(std::wstring(store.page.currentUrl.c_str()), L"http://example.test/a.html");

    PageBuilder empty(L"http://example.test/empty.html");
    e.attachDocument(empty.browser(), false);

    EXPECT_TRUE(e.sheetTitles().empty());
    EXPECT_EQ(e.sheetCount(), 2) << "kept from the last refresh";
    EXPECT_TRUE(e.hasFixedSheets());
    EXPECT_FALSE(e.useStyleAttr());
    EXPECT_EQ(std::wstring(store.page.currentUrl.c_str()), L"http://example.test/empty.html");
}

TEST_F(SheetListing, AFailingLocationKeepsThePreviousUrl) {
    PageBuilder page(L"http://example.test/a.html");
    StyleEngine& e = open(page);
    e.attachDocument(nullptr, true);
    page.browser()->failMethod("get_LocationURL", E_FAIL);
    e.attachDocument(nullptr, true);
    EXPECT_EQ(std::wstring(store.page.currentUrl.c_str()), L"http://example.test/a.html");
}

TEST_F(SheetListing, FramesCompletingDuringANavigationWaitForTheTopDocument) {
    PageBuilder page;
    page.sheet(L"Top");
    PageBuilder& frame = page.frame(L"http://example.test/frame.html");
    const ComPtr<BrowserDouble> frameView = frameBrowser(frame);
    StyleEngine& e = open(page);
    e.attachDocument(nullptr, true);

    // The navigation brings its top document, then its frames complete.
    e.beginNavigation();
    PageBuilder next;
    next.sheet(L"Top");
    next.doc().addFrame(frame.document());
    page.browser()->setDocument(next.document());
    frame.sheet(L"Late");
    e.frameCompleted(frameView.get(), true);
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"Top"})) << "no rebuild while navigating";

    e.attachDocument(nullptr, true);
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"Top", L"Late"}));

    frame.sheet(L"Later");
    e.frameCompleted(frameView.get(), true);
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"Top", L"Late", L"Later"})) << "rebuilt once the page is in";

    frame.sheet(L"Ignored");
    e.frameCompleted(frameView.get(), false);
    e.frameCompleted(nullptr, true);
    EXPECT_EQ(e.sheetTitles().size(), 3u);
}

TEST_F(SheetListing, ANavigationThatBroughtNoDocumentLeavesThePageListedForItsFrames) {
    addSheet(L"Mine", L"mine.css");
    PageBuilder page;
    page.filler(6);
    page.sheet(L"Top");
    StyleEngine& e = open(page);
    e.attachDocument(nullptr, true);

    e.beginNavigation();  // a mailto: link: no document follows
    PageBuilder& frame = page.frame(L"http://example.test/frame.html");
    frame.filler(6);
    frame.sheet(L"Late");
    const ComPtr<BrowserDouble> frameView = frameBrowser(frame);
    e.frameCompleted(frameView.get(), true);
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"Top", L"Late"}));
    EXPECT_EQ(frame.doc().createdSheets().size(), 1u);
    EXPECT_EQ(e.sheetCount(), 4);
}

TEST_F(SheetListing, ARebuildReleasesTheDocumentsOfTheLastOne) {
    PageBuilder first;
    first.sheet(L"A");
    const LONG own = first.doc().refCount();
    StyleEngine& e = open(first);
    e.refreshList();

    PageBuilder second;
    first.browser()->setDocument(second.document());
    e.refreshList();
    EXPECT_EQ(first.doc().refCount(), own) << "the engine's and the browser's references are gone";
}

}  // namespace
