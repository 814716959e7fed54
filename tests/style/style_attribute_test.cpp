// Style attributes off and on: the inline style kept in "Quorin_style" on each element.

#include "style_fixture.h"

using namespace quorin;
using namespace quorin::test;

namespace {

class StyleAttributes : public StyleFixture {};

OptText stored(const ElementDouble& element) { return element.attribute(L"Quorin_style"); }

TEST_F(StyleAttributes, OffStoresAndClearsOnWritesBack) {
    PageBuilder page;
    ElementDouble& styled = page.element(L"p").css(L"color: red");
    ElementDouble& plain = page.element(L"div");
    ElementDouble& framed = page.frame(L"http://example.test/frame.html").element(L"span").css(L"margin: 0");
    StyleEngine& e = open(page);
    e.refreshList();

    e.setUseStyleAttr(false);
    EXPECT_FALSE(e.useStyleAttr());
    EXPECT_EQ(styled.cssText(), L"");
    EXPECT_EQ(stored(styled), OptText(L"color: red"));
    EXPECT_EQ(framed.cssText(), L"");
    EXPECT_EQ(stored(framed), OptText(L"margin: 0"));
    EXPECT_TRUE(plain.attributeCalls().empty()) << "an element without inline style is left alone";
    EXPECT_EQ(plain.style()->cssTextWrites(), 0);
    ASSERT_EQ(styled.attributeCalls().size(), 1u);
    EXPECT_EQ(styled.attributeCalls()[0].method, L"setAttribute");
    EXPECT_EQ(styled.attributeCalls()[0].flags, 0);
    EXPECT_EQ(styled.attributeValue(L"Quorin_style")->vt, VT_BSTR);

    e.setUseStyleAttr(true);
    EXPECT_TRUE(e.useStyleAttr());
    EXPECT_EQ(styled.cssText(), L"color: red");
    EXPECT_EQ(framed.cssText(), L"margin: 0");
    EXPECT_EQ(stored(styled), OptText(L"color: red")) << "the attribute stays";
    EXPECT_EQ(styled.attributeCalls().back().method, L"getAttribute");
    EXPECT_EQ(styled.attributeCalls().back().flags, 0);
    EXPECT_EQ(plain.style()->cssTextWrites(), 0) << "nothing stored, nothing written";
}

TEST_F(StyleAttributes, AScriptChangeBetweenRoundTripsIsKept) {
    PageBuilder page;
    ElementDouble& changed = page.element(L"p").css(L"color: red");
    ElementDouble& emptied = page.element(L"p").css(L"color: blue");
    StyleEngine& e = open(page);
    e.refreshList();
    e.setUseStyleAttr(false);
    e.setUseStyleAttr(true);

    changed.css(L"color: green");
    emptied.css(L"");
    e.setUseStyleAttr(false);
    EXPECT_EQ(stored(changed), OptText(L"color: green"));
    EXPECT_EQ(stored(emptied), OptText(L"color: blue")) << "the old text is kept";

    e.setUseStyleAttr(true);
    EXPECT_EQ(changed.cssText(), L"color: green");
    EXPECT_EQ(emptied.cssText(), L"color: blue");
}

TEST_F(StyleAttributes, AStyleThatCannotBeStoredIsNotCleared) {
    PageBuilder page;
    ElementDouble& refusing = page.element(L"p").css(L"color: red");
    refusing.failMethod("setAttribute", E_FAIL);
    ElementDouble& next = page.element(L"p").css(L"color: blue");
    StyleEngine& e = open(page);
    e.refreshList();

    e.setUseStyleAttr(false);
    EXPECT_EQ(refusing.cssText(), L"color: red");
    EXPECT_EQ(next.cssText(), L"");
}

TEST_F(StyleAttributes, FailingElementsAreSkipped) {
    PageBuilder page;
    page.element(L"p").css(L"a: 1").failMethod("get_style", E_FAIL);
    page.element(L"p").css(L"b: 2").refuseInterface(IID_IHTMLElement);
    page.element(L"p").css(L"c: 3").style()->failMethod("get_cssText", E_FAIL);
    ElementDouble& nonString = page.element(L"p").css(L"d: 4");
    ElementDouble& fine = page.element(L"p").css(L"e: 5");
    ElementDouble& unreachable = page.element(L"p").css(L"f: 6");
    page.doc().onCollection = [](ElementCollectionDouble& all) { all.failMethod("item(5)", E_FAIL); };
    StyleEngine& e = open(page);
    e.refreshList();

    e.setUseStyleAttr(false);
    EXPECT_EQ(page.doc().elements()[0]->cssText(), L"a: 1");
    EXPECT_EQ(page.doc().elements()[1]->cssText(), L"b: 2");
    EXPECT_EQ(page.doc().elements()[2]->cssText(), L"c: 3");
    EXPECT_EQ(fine.cssText(), L"");
    EXPECT_EQ(unreachable.cssText(), L"f: 6");

    nonString.setAttribute(SharedString(L"Quorin_style").bstr(), Variant::fromInt(7).value(), 0);
    e.setUseStyleAttr(true);
    EXPECT_EQ(nonString.cssText(), L"") << "only a string is written back";
    EXPECT_EQ(fine.cssText(), L"e: 5");
}

TEST_F(StyleAttributes, ANewDocumentStartsWithItsInlineStyles) {
    PageBuilder page;
    page.filler(6);
    page.element(L"p").css(L"color: red");
    StyleEngine& e = open(page);
    e.attachDocument(nullptr, true);
    e.setUseStyleAttr(false);

    PageBuilder next;
    next.filler(6);
    ElementDouble& fresh = next.element(L"p").css(L"color: blue");
    page.browser()->setDocument(next.document());
    e.attachDocument(nullptr, true);

    EXPECT_TRUE(e.useStyleAttr());
    EXPECT_EQ(fresh.cssText(), L"color: blue");
}

}  // namespace
