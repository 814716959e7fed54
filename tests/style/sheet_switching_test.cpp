// Switching: selecting a title or the fixed sheets only, and author sheets off and on.

#include "style_fixture.h"

using namespace quorin;
using namespace quorin::test;

namespace {

class SheetSwitching : public StyleFixture {};

TEST_F(SheetSwitching, SelectingATitleEnablesEverySheetOfItAndTheFixedOnes) {
    PageBuilder page;
    page.sheet(L"A", L"a1.css", true);
    page.sheet(L"A", L"a2.css", true);
    page.sheet(L"B", L"b.css", false);
    page.sheet(std::nullopt, L"fixed.css", true);
    StyleEngine& e = open(page);
    e.refreshList();

    e.selectSheet(SharedString(L"A"));
    EXPECT_EQ(states(page.doc()), "EEDE");
    EXPECT_EQ(flags(e.sheetTitles()), "ED");
    EXPECT_EQ(flags(store.page.sheetTitles), "ED");

    e.selectSheet(SharedString(L"B"));
    EXPECT_EQ(states(page.doc()), "DDEE");
    EXPECT_EQ(flags(e.sheetTitles()), "DE");
}

TEST_F(SheetSwitching, ATitleOnlyAFrameHasLeavesTheOtherDocumentsAlone) {
    PageBuilder page;
    page.sheet(L"Top", L"top.css", false);
    page.sheet(L"Other", L"other.css", true);
    PageBuilder& frame = page.frame(L"http://example.test/frame.html");
    frame.sheet(L"FrameOnly", L"f.css", true);
    frame.sheet(L"Top", L"t.css", false);
    StyleEngine& e = open(page);
    e.refreshList();

    e.selectSheet(SharedString(L"FrameOnly"));

    EXPECT_EQ(states(page.doc()), "ED");
    EXPECT_EQ(page.doc().sheets()[0]->disabledWrites() + page.doc().sheets()[1]->disabledWrites(), 0);
    EXPECT_EQ(states(frame.doc()), "ED");
    // The menu shows each title as the first document holding it has it: the top document's.
    EXPECT_EQ(titles(e.sheetTitles()), (Texts{L"Top", L"Other", L"FrameOnly"}));
    EXPECT_EQ(flags(e.sheetTitles()), "EDE");
}

TEST_F(SheetSwitching, FixedSheetsOnlyDisablesEveryTitledSheetEverywhere) {
    addSheet(L"Mine", L"C:\\mine.css");
    PageBuilder page;
    page.sheet(L"A", L"a.css", false);
    page.sheet(std::nullopt, L"fixed.css", true);
    PageBuilder& frame = page.frame(L"http://example.test/frame.html");
    frame.sheet(L"B", L"b.css", false);
    frame.sheet(std::nullopt);
    StyleEngine& e = open(page);
    e.attachDocument(nullptr, true);
    e.selectSheet(SharedString(L"Mine"));
    ASSERT_EQ(states(page.doc()), "DEE");

    e.selectSheet(SharedString());

    EXPECT_EQ(states(page.doc()), "DED");
    EXPECT_EQ(states(frame.doc()), "DE");
    EXPECT_EQ(flags(e.sheetTitles()), "DD");
    EXPECT_EQ(flags(e.addedSheets()), "D");
}

TEST_F(SheetSwitching, AnEmptyTitleIsSelectedInEveryDocumentLikeAnyTitle) {
    PageBuilder page;
    page.sheet(L"", L"empty.css", true);
    page.sheet(L"A", L"a.css", false);
    page.frame(L"http://example.test/frame.html").sheet(L"B", L"b.css", false);
    StyleEngine& e = open(page);
    e.refreshList();

    e.selectSheet(SharedString(L""));

    EXPECT_EQ(states(page.doc()), "ED");
    EXPECT_EQ(flags(e.sheetTitles()), "EDD");
}

TEST_F(SheetSwitching, ASheetThatRefusesTheSwitchKeepsItsListedState) {
    PageBuilder page;
    page.sheet(L"A", L"a.css", true).failMethod("put_disabled", E_FAIL);
    page.sheet(L"B", L"b.css", false);
    StyleEngine& e = open(page);
    e.refreshList();

    e.selectSheet(SharedString(L"A"));

    EXPECT_EQ(states(page.doc()), "DD");
    EXPECT_EQ(flags(e.sheetTitles()), "DD");
}

TEST_F(SheetSwitching, OffAndOnRestoresTheSelectionWithoutAList) {
    PageBuilder page;
    page.sheet(L"A", L"a.css", false);
    page.sheet(L"B", L"b.css", true);
    page.sheet(std::nullopt);
    page.sheet(L"B", L"b2.css", true);
    PageBuilder& frame = page.frame(L"http://example.test/frame.html");
    frame.sheet(L"C", L"c.css", false);
    frame.sheet(L"B", L"b3.css", true);
    page.element(L"p").css(L"color: red");
    StyleEngine& e = open(page);
    e.refreshList();
    e.selectSheet(SharedString(L"B"));
    ASSERT_EQ(states(page.doc()), "DEEE");

    e.setUseSheets(false);
    EXPECT_FALSE(e.useSheets());
    EXPECT_EQ(states(page.doc()), "DDDD");
    EXPECT_EQ(states(frame.doc()), "DD");
    EXPECT_EQ(flags(e.sheetTitles()), "DED") << "recorded choices are kept";

    e.setUseSheets(true);
    EXPECT_TRUE(e.useSheets());
    EXPECT_EQ(states(page.doc()), "DEEE");
    EXPECT_EQ(states(frame.doc()), "DE");
    EXPECT_EQ(page.doc().elements()[0]->cssText(), L"color: red") << "style attributes follow only with SyncUse";
}

TEST_F(SheetSwitching, OffAndOnGivesEachDocumentItsOwnChoiceBack) {
    prefer(L"http://example.test/frames/", L"Night");
    PageBuilder page(L"http://example.test/index.html");
    page.filler(6);
    page.sheet(L"Day", L"day.css", false);
    page.sheet(L"Night", L"night.css", true);
    PageBuilder& side = page.frame(L"http://example.test/frames/side.html");
    PageBuilder& late = page.frame(L"http://example.test/frames/late.html");
    for (PageBuilder* frame : {&side, &late}) {
        frame->filler(6);
        frame->sheet(L"Day", L"day.css", false);
        frame->sheet(L"Night", L"night.css", true);
    }
    const ComPtr<BrowserDouble> sideView = frameBrowser(side), lateView = frameBrowser(late);
    StyleEngine& e = open(page);
    e.beginNavigation();
    e.frameCompleted(sideView.get(), true);
    e.attachDocument(nullptr, true);
    e.frameCompleted(lateView.get(), true);
    ASSERT_EQ(states(side.doc()), "DE") << "each frame is matched by its own address";
    ASSERT_EQ(states(late.doc()), "DE");
    EXPECT_EQ(states(page.doc()), "ED");
    EXPECT_EQ(flags(e.sheetTitles()), "ED") << "the menu shows the top document";

    e.setUseSheets(false);
    e.setUseSheets(true);
    EXPECT_EQ(states(page.doc()), "ED");
    EXPECT_EQ(states(side.doc()), "DE");
    EXPECT_EQ(states(late.doc()), "DE");

    e.selectSheet(SharedString(L"Night"));
    e.setUseSheets(false);
    e.setUseSheets(true);
    EXPECT_EQ(states(page.doc()), "DE") << "a selection is each document's choice from then on";
    EXPECT_EQ(states(side.doc()), "DE");
}

TEST_F(SheetSwitching, SelectingWhileOffTurnsOnTheFramesThatLackTheTitle) {
    PageBuilder page;
    page.sheet(L"A", L"a.css", false);
    page.sheet(L"B", L"b.css", true);
    PageBuilder& frame = page.frame(L"http://example.test/frame.html");
    frame.sheet(std::nullopt);
    frame.sheet(L"C", L"c.css", false);
    StyleEngine& e = open(page);
    e.refreshList();
    e.setUseSheets(false);

    e.selectSheet(SharedString(L"B"));
    EXPECT_TRUE(e.useSheets());
    EXPECT_EQ(states(page.doc()), "DE");
    EXPECT_EQ(states(frame.doc()), "EE") << "the frame keeps its own choice, and in use";
}

TEST_F(SheetSwitching, WithSyncUseStyleAttributesFollow) {
    store.Etc.SyncUse = true;
    PageBuilder page;
    page.sheet(L"A", L"a.css", false);
    ElementDouble& styled = page.element(L"p").css(L"color: red");
    StyleEngine& e = open(page);
    e.refreshList();

    e.setUseSheets(false);
    EXPECT_EQ(styled.cssText(), L"");
    EXPECT_FALSE(e.useStyleAttr());
    EXPECT_EQ(states(page.doc()), "D");

    e.setUseSheets(true);
    EXPECT_EQ(styled.cssText(), L"color: red");
    EXPECT_TRUE(e.useStyleAttr());
    EXPECT_EQ(states(page.doc()), "E");
}

TEST_F(SheetSwitching, WithSyncUseStyleAttributesAlreadyOnAreLeftAlone) {
    store.Etc.SyncUse = true;
    PageBuilder page;
    page.sheet(L"A", L"a.css", false);
    ElementDouble& moved = page.element(L"div").css(L"left: 10px");
    StyleEngine& e = open(page);
    e.refreshList();
    e.setUseSheets(false);
    e.setUseStyleAttr(true);
    moved.css(L"left: 300px");  // a script moves the element
    const int writes = moved.style()->cssTextWrites();

    e.setUseSheets(true);
    EXPECT_EQ(moved.cssText(), L"left: 300px");
    EXPECT_EQ(moved.style()->cssTextWrites(), writes) << "nothing is written back";
    EXPECT_EQ(states(page.doc()), "E");
}

TEST_F(SheetSwitching, APageWithoutSheetsOnlyChangesFlags) {
    store.Etc.SyncUse = true;
    PageBuilder page;
    ElementDouble& styled = page.element(L"p").css(L"margin: 0");
    StyleEngine& e = open(page);
    e.refreshList();
    ASSERT_EQ(e.sheetCount(), 0);

    e.setUseSheets(false);
    EXPECT_FALSE(e.useSheets());
    EXPECT_EQ(styled.cssText(), L"") << "SyncUse still reaches the style attributes";

    e.selectSheet(SharedString());
    e.selectSheet(SharedString(L"A"));
    EXPECT_FALSE(e.useSheets()) << "selecting on a page without sheets changes nothing";
}

TEST_F(SheetSwitching, SelectingTurnsSheetsBackOnAndTheNextListReadsThePage) {
    PageBuilder page;
    page.sheet(L"A", L"a.css", false);
    page.sheet(L"B", L"b.css", true);
    StyleEngine& e = open(page);
    e.refreshList();
    e.setUseSheets(false);

    e.selectSheet(SharedString(L"B"));
    EXPECT_TRUE(e.useSheets());
    EXPECT_EQ(states(page.doc()), "DE");

    page.doc().sheets()[0]->setDisabled(false);
    e.refreshList();
    EXPECT_EQ(flags(e.sheetTitles()), "EE") << "the list reads the states back from the page";
}

}  // namespace
