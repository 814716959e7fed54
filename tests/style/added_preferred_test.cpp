// The user's added sheets in every completed document, and the preferred title per address.

#include <utility>

#include "style_fixture.h"

using namespace quorin;
using namespace quorin::test;

namespace {

class AddedSheets : public StyleFixture {
protected:
    AddedSheets() {
        addSheet(L"Mine", L"C:\\styles\\mine.css");
        addSheet(L"Large", L"http://example.test/large.css");
    }
};

TEST_F(AddedSheets, AreAppendedInListOrderTitledAndDisabled) {
    PageBuilder page;
    page.filler(6);
    StyleEngine& e = open(page);
    EXPECT_EQ(flags(e.addedSheets()), "DD");
    EXPECT_EQ(std::wstring(e.addedSheets()[0].href.c_str()), L"C:\\styles\\mine.css");

    e.attachDocument(nullptr, true);

    const auto created = page.doc().createdSheets();
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[0]->title(), OptText(L"Mine"));
    EXPECT_EQ(created[0]->imports(), (Texts{L"C:\\styles\\mine.css"}));
    EXPECT_EQ(created[1]->title(), OptText(L"Large"));
    EXPECT_EQ(created[1]->imports(), (Texts{L"http://example.test/large.css"}));
    EXPECT_EQ(states(page.doc()), "DD");
    ASSERT_EQ(page.doc().createCalls().size(), 2u);
    EXPECT_EQ(page.doc().createCalls()[0].href, L"");
    EXPECT_EQ(page.doc().createCalls()[0].index, -1);

    EXPECT_TRUE(e.sheetTitles().empty()) << "added sheets are not page titles";
    EXPECT_FALSE(e.hasFixedSheets());
    EXPECT_EQ(e.sheetCount(), 2);
    EXPECT_EQ(flags(e.addedSheets()), "DD");
}

TEST_F(AddedSheets, AreSwitchedLikeAuthorSheetsInEveryDocument) {
    PageBuilder page;
    page.sheet(L"Author", L"author.css", false);
    PageBuilder& frame = page.frame(L"http://example.test/frame.html");
    frame.sheet(L"Author", L"author.css", false);
    const ComPtr<BrowserDouble> frameView = frameBrowser(frame);
    StyleEngine& e = open(page);
    e.beginNavigation();
    e.frameCompleted(frameView.get(), true);
    e.attachDocument(nullptr, true);

    e.selectSheet(SharedString(L"Large"));
    EXPECT_EQ(states(page.doc()), "DDE");
    EXPECT_EQ(states(frame.doc()), "DDE");
    EXPECT_EQ(flags(e.addedSheets()), "DE");
    EXPECT_EQ(flags(e.sheetTitles()), "D");

    e.setUseSheets(false);
    e.setUseSheets(true);
    EXPECT_EQ(states(page.doc()), "DDE");

    e.refreshList();
    EXPECT_EQ(flags(e.addedSheets()), "DE") << "read back from the documents";
    EXPECT_EQ(e.sheetCount(), 6);
}

TEST_F(AddedSheets, APageSheetOfAnAddedTitleWithAnHrefIsAPageTitle) {
    PageBuilder page;
    page.sheet(L"Mine", L"page-mine.css", false);
    StyleEngine& e = open(page);
    e.refreshList();
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"Mine"}));
    EXPECT_EQ(flags(e.addedSheets()), "DD");
}

TEST_F(AddedSheets, ARefusedCreationSkipsThatEntryOnly) {
    PageBuilder page;
    page.doc().nullMethod("createStyleSheet");
    StyleEngine& e = open(page);
    e.injectAddedSheets(page.browser());
    page.doc().nullMethod("createStyleSheet", false);
    page.doc().failMethod("createStyleSheet", E_ACCESSDENIED);
    e.injectAddedSheets(page.browser());
    EXPECT_TRUE(page.doc().sheets().empty());
    EXPECT_EQ(page.doc().createCalls().size(), 4u) << "every entry is tried";

    e.injectAddedSheets(nullptr);
    page.browser()->failMethod("get_Document", E_FAIL);
    e.injectAddedSheets(page.browser());
    EXPECT_EQ(page.doc().createCalls().size(), 4u);
}

TEST_F(AddedSheets, ASheetThatRefusesItsTitleStaysOffAndCarriesNoImport) {
    PageBuilder page;
    page.filler(6);
    page.sheet(L"Author", L"author.css", false);
    bool first = true;
    page.doc().onCreateSheet = [&first](StyleSheetDouble& sheet) {
        if (std::exchange(first, false)) sheet.failMethod("put_title", E_FAIL);
    };
    StyleEngine& e = open(page);
    e.attachDocument(nullptr, true);

    const auto created = page.doc().createdSheets();
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(states(page.doc()), "EDD");
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"Author"})) << "the untitled sheet is not listed";
    EXPECT_EQ(flags(e.addedSheets()), "DD");
    EXPECT_TRUE(created[0]->imports().empty()) << "untitled, it would be turned on as a fixed sheet";
    EXPECT_EQ(created[1]->imports(), (Texts{L"http://example.test/large.css"}));
}

TEST_F(AddedSheets, ReloadingSettingsRereadsTheListAndRefreshingReloadsCompletely) {
    PageBuilder page;
    StyleEngine& e = open(page);
    e.setAddedCommandId(1, 40202);
    EXPECT_EQ(e.addedSheets()[1].commandId, 40202);

    store.AddSheet.erase(store.AddSheet.begin());
    store.Etc.UseSheetShortcut = 0x025A;
    store.Etc.UseAttrShortcut = 0x0251;
    e.reloadSettings();
    EXPECT_EQ(titles(e.addedSheets()), (Texts{L"Large"}));
    EXPECT_EQ(e.addedSheets()[0].commandId, 0);
    EXPECT_EQ(e.useSheetShortcut(), 0x025A);
    EXPECT_EQ(e.useAttrShortcut(), 0x0251);

    e.refreshPage();
    EXPECT_EQ(page.browser()->refreshLevels(), (std::vector<LONG>{REFRESH_COMPLETELY}));
}

class PreferredSheets : public StyleFixture {};

TEST_F(PreferredSheets, APreferredAddedSheetWinsOverTheAuthorsTitles) {
    addSheet(L"Mine", L"mine.css");
    prefer(L"http://example.test/", L"Mine");
    PageBuilder page(L"http://example.test/doc.html");
    page.filler(6);
    page.sheet(L"Author", L"author.css", false);
    page.sheet(std::nullopt, L"fixed.css", false);
    StyleEngine& e = open(page);

    e.attachDocument(nullptr, true);

    EXPECT_EQ(states(page.doc()), "DEE");
    EXPECT_EQ(flags(e.addedSheets()), "E");
    EXPECT_EQ(flags(e.sheetTitles()), "D");
}

TEST_F(PreferredSheets, ATitleThePageLacksLeavesOnlyTheFixedSheets) {
    prefer(L"http://example.test/", L"Nowhere");
    PageBuilder page(L"http://example.test/doc.html");
    page.sheet(L"A", L"a.css", false);
    page.sheet(std::nullopt, L"fixed.css", true);
    page.sheet(L"B", L"b.css", false);
    StyleEngine& e = open(page);
    e.attachDocument(nullptr, true);
    EXPECT_EQ(states(page.doc()), "DED");
}

TEST_F(PreferredSheets, TheFirstMatchingEntryDecidesWhateverTheCaseOfThePattern) {
    prefer(L"HTTP://EXAMPLE.TEST/", L"First");
    prefer(L"http://example.test/doc", L"Second");
    PageBuilder page(L"http://example.test/doc.html");
    page.sheet(L"Second", L"2.css", false);
    page.sheet(L"First", L"1.css", true);
    StyleEngine& e = open(page);
    e.attachDocument(nullptr, true);
    EXPECT_EQ(states(page.doc()), "DE");
    EXPECT_TRUE(e.useSheets());
}

TEST_F(PreferredSheets, NoMatchOrNoLocationLeavesThePageAsItIs) {
    prefer(L"http://elsewhere.test/", L"A");
    PageBuilder page(L"http://example.test/doc.html");
    page.sheet(L"A", L"a.css", true);
    page.sheet(L"B", L"b.css", false);
    StyleEngine& e = open(page);
    e.applyPreferred(page.browser());
    EXPECT_EQ(states(page.doc()), "DE");

    prefer(L"", L"A");
    page.doc().failMethod("get_location", E_FAIL);
    e.applyPreferred(page.browser());
    EXPECT_EQ(states(page.doc()), "DE");
    e.applyPreferred(nullptr);
}

TEST_F(PreferredSheets, AppliesToADocumentWithoutListingOrTurningSheetsOn) {
    prefer(L"http://example.test/", L"B");
    PageBuilder page(L"http://example.test/doc.html");
    page.sheet(L"A", L"a.css", false);
    page.sheet(L"B", L"b.css", true);
    StyleEngine& e = open(page);
    e.refreshList();
    e.setUseSheets(false);

    e.applyPreferred(page.browser());
    EXPECT_EQ(states(page.doc()), "DE");
    EXPECT_FALSE(e.useSheets());
    EXPECT_EQ(flags(e.sheetTitles()), "DE");
}

TEST_F(PreferredSheets, ADocumentCompletingAgainKeepsTheUsersChoiceAndAReloadedOneStartsAfresh) {
    addSheet(L"Mine", L"mine.css");
    prefer(L"http://example.test/", L"Author");
    PageBuilder page(L"http://example.test/doc.html");
    page.filler(6);
    page.sheet(L"Author", L"author.css", false);
    PageBuilder& frame = page.frame(L"http://example.test/frame.html");
    frame.sheet(L"Author", L"author.css", false);
    const LONG topOwn = page.doc().refCount(), frameOwn = frame.doc().refCount();
    const ComPtr<BrowserDouble> frameView = frameBrowser(frame);
    StyleEngine& e = open(page);
    e.beginNavigation();
    e.frameCompleted(frameView.get(), true);
    e.attachDocument(nullptr, true);
    ASSERT_EQ(states(page.doc()), "ED");
    e.selectSheet(SharedString(L"Mine"));
    ASSERT_EQ(states(page.doc()), "DE");

    // A later download of the page ends, and the frame reports its document once more.
    e.attachDocument(nullptr, true);
    e.frameCompleted(frameView.get(), true);
    EXPECT_EQ(states(page.doc()), "DE") << "no second added sheet, the choice stays";
    EXPECT_EQ(states(frame.doc()), "DE");
    EXPECT_EQ(flags(e.addedSheets()), "E");
    EXPECT_EQ(flags(e.sheetTitles()), "D");

    // Reloading puts new documents into the same browsers.
    PageBuilder reloaded(L"http://example.test/doc.html");
    reloaded.filler(6);
    reloaded.sheet(L"Author", L"author.css", false);
    PageBuilder& reloadedFrame = reloaded.frame(L"http://example.test/frame.html");
    reloadedFrame.sheet(L"Author", L"author.css", false);
    page.browser()->setDocument(reloaded.document());
    frameView->setDocument(reloadedFrame.document());
    e.frameCompleted(frameView.get(), true);
    e.attachDocument(nullptr, true);
    EXPECT_EQ(states(reloaded.doc()), "ED");
    EXPECT_EQ(states(reloadedFrame.doc()), "ED");
    EXPECT_EQ(states(page.doc()), "DE") << "the old documents are left alone";
    EXPECT_EQ(page.doc().refCount(), topOwn) << "neither the browsers nor the engine hold the old documents";
    EXPECT_EQ(frame.doc().refCount(), frameOwn);
}

TEST_F(PreferredSheets, FramesTheTopDocumentCannotReachGetTheAddedSheetsOnce) {
    addSheet(L"Mine", L"mine.css");
    prefer(L"http://other.test/", L"Theirs");
    PageBuilder page(L"http://example.test/index.html");
    page.filler(6);
    PageBuilder& foreign = page.deniedFrame(L"http://other.test/ad.html");
    foreign.sheet(L"Plain", L"plain.css", false);
    foreign.sheet(L"Theirs", L"theirs.css", true);
    PageBuilder& outer = page.frame(L"http://example.test/outer.html");
    PageBuilder& nested = outer.frame(L"http://example.test/nested.html");
    const ComPtr<BrowserDouble> foreignView = frameBrowser(foreign), outerView = frameBrowser(outer),
                                nestedView = frameBrowser(nested);
    StyleEngine& e = open(page);
    e.beginNavigation();
    for (BrowserDouble* view : {nestedView.get(), outerView.get(), foreignView.get()}) e.frameCompleted(view, true);
    e.attachDocument(nullptr, true);
    ASSERT_EQ(states(foreign.doc()), "DED");

    // Later downloads end: the top document and every frame complete again.
    for (int round = 0; round < 2; ++round) {
        e.attachDocument(nullptr, true);
        for (BrowserDouble* view : {foreignView.get(), outerView.get(), nestedView.get()}) e.frameCompleted(view, true);
    }
    for (PageBuilder* document : {&page, &foreign, &outer, &nested})
        EXPECT_EQ(document->doc().createdSheets().size(), 1u) << narrow(document->doc().url());
    EXPECT_EQ(states(foreign.doc()), "DED");
}

TEST_F(PreferredSheets, AFrameShowingOneDocumentAfterAnotherKeepsOnlyTheLastAlive) {
    addSheet(L"Mine", L"mine.css");
    PageBuilder page(L"http://example.test/index.html");
    page.filler(6);
    PageBuilder first(L"http://other.test/1.html"), second(L"http://other.test/2.html");
    page.doc().addFrame(first.document(), L"ad", true);
    const LONG own = first.doc().refCount();
    const ComPtr<BrowserDouble> adView = frameBrowser(first);
    StyleEngine& e = open(page);
    e.attachDocument(nullptr, true);
    e.frameCompleted(adView.get(), true);
    ASSERT_GT(first.doc().refCount(), own + 1) << "the engine remembers it";

    adView->setDocument(second.document());
    e.frameCompleted(adView.get(), true);
    EXPECT_EQ(first.doc().refCount(), own) << "the frame's and the engine's references are gone";
    EXPECT_EQ(second.doc().createdSheets().size(), 1u);
}

TEST_F(PreferredSheets, EachFrameGetsTheAddedSheetsAndItsOwnPreferredTitle) {
    addSheet(L"Mine", L"mine.css");
    prefer(L"http://example.test/left", L"Mine");
    prefer(L"http://example.test/right", L"Right");
    for (bool frameAware : {true, false}) {
        SCOPED_TRACE(frameAware ? "frame-aware" : "frameset only");
        store.Etc.FrameAware = frameAware;
        PageBuilder page(L"http://example.test/frameset.html");
        page.sheet(L"Top", L"top.css", false);
        PageBuilder& left = page.frame(L"http://example.test/left.html");
        left.sheet(L"Left", L"left.css", false);
        PageBuilder& right = page.frame(L"http://example.test/right.html");
        right.sheet(L"Plain", L"plain.css", false);
        right.sheet(L"Right", L"right.css", true);
        const ComPtr<BrowserDouble> leftView = frameBrowser(left);
        const ComPtr<BrowserDouble> rightView = frameBrowser(right);
        StyleEngine& e = open(page);

        e.beginNavigation();
        e.frameCompleted(leftView.get(), true);
        e.frameCompleted(rightView.get(), true);
        e.attachDocument(nullptr, true);

        EXPECT_EQ(states(left.doc()), "DE");
        EXPECT_EQ(states(right.doc()), "DED");
        EXPECT_EQ(states(page.doc()), "ED");
        EXPECT_EQ(e.sheetTitles().size(), frameAware ? 4u : 1u);
        EXPECT_EQ(e.sheetCount(), frameAware ? 7 : 2);
        TearDown();
    }
}

}  // namespace
