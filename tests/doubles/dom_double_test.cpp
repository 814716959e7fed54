#include <gtest/gtest.h>
#include <mshtml.h>

#include "common/com_ptr.h"
#include "common/shared_string.h"
#include "common/variant.h"
#include "support/page_builder.h"

using namespace quorin;
using namespace quorin::test;

namespace {

class DomDoubleTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(DoubleBase::liveDoubles(), live_) << "a double leaked"; }
    LONG live_ = DoubleBase::liveDoubles();
};

ComPtr<IHTMLDocument2> documentOf(IWebBrowser2* browser) {
    ComPtr<IDispatch> dispatch;
    if (FAILED(browser->get_Document(dispatch.put()))) return {};
    return dispatch.as<IHTMLDocument2>();
}

ComPtr<IHTMLElementCollection> tagsOf(IHTMLDocument2* document, const wchar_t* tag) {
    ComPtr<IHTMLElementCollection> all;
    if (FAILED(document->get_all(all.put())) || !all) return {};
    ComPtr<IDispatch> tags;
    Variant name = Variant::fromString(tag);
    if (FAILED(all->tags(name.value(), tags.put()))) return {};
    return tags.as<IHTMLElementCollection>();
}

ComPtr<IDispatch> itemAt(IHTMLElementCollection* collection, long index) {
    ComPtr<IDispatch> item;
    collection->item(Variant::fromInt(index).value(), Variant::fromInt(0).value(), item.put());
    return item;
}

}  // namespace

TEST_F(DomDoubleTest, ElementsAreReachedThroughBrowserDocumentAndTags) {
    PageBuilder page(L"http://server/dir/a.html", L"A");
    page.skeleton();
    page.link(L"next", L"b.html", L"B");
    page.anchor(L"x.html", L"");
    page.anchor(std::nullopt, std::nullopt, L"prev");

    auto document = documentOf(page.browser());
    ASSERT_TRUE(document);
    ComPtr<IHTMLElementCollection> all;
    ASSERT_EQ(document->get_all(all.put()), S_OK);
    LONG length = 0;
    EXPECT_EQ(all->get_length(&length), S_OK);
    EXPECT_EQ(length, 7);

    auto anchors = tagsOf(document.get(), L"A");
    ASSERT_TRUE(anchors);
    anchors->get_length(&length);
    ASSERT_EQ(length, 2);
    auto first = itemAt(anchors.get(), 0).as<IHTMLAnchorElement>();
    ASSERT_TRUE(first);
    EXPECT_FALSE(itemAt(anchors.get(), 0).as<IHTMLLinkElement>()) << "an anchor is no link element";
    SharedString href, rel, text;
    EXPECT_EQ(first->get_href(href.out()), S_OK);
    EXPECT_STREQ(href.c_str(), L"http://server/dir/x.html") << "resolved as the browser gives it";
    first->get_rel(rel.out());
    EXPECT_TRUE(rel.isNull()) << "absent rel reads as a null string";
    queryAs<IHTMLElement>(first.get())->get_innerText(text.out());
    EXPECT_FALSE(text.isNull());
    EXPECT_TRUE(text.isEmpty());
    EXPECT_FALSE(itemAt(anchors.get(), 2)) << "beyond the end gives null";
}

TEST_F(DomDoubleTest, HrefsOfLinksAnchorsAndAreasAreResolvedAgainstTheFirstBaseWithAnHref) {
    const auto hrefOf = [](ElementDouble& element) {
        SharedString href;
        if (ComPtr<IHTMLAnchorElement> a = queryAs<IHTMLAnchorElement>(element.dispatch())) a->get_href(href.out());
        if (ComPtr<IHTMLLinkElement> l = queryAs<IHTMLLinkElement>(element.dispatch())) l->get_href(href.out());
        if (ComPtr<IHTMLAreaElement> r = queryAs<IHTMLAreaElement>(element.dispatch())) r->get_href(href.out());
        if (ComPtr<IHTMLBaseElement> b = queryAs<IHTMLBaseElement>(element.dispatch())) b->get_href(href.out());
        return href.isNull() ? std::wstring(L"<null>") : std::wstring(href.c_str());
    };
    PageBuilder page(L"http://server/dir/a.html");
    ElementDouble& anchor = page.anchor(L"x.html#part", L"X");
    ElementDouble& link = page.link(L"next", L"../b.html");
    ElementDouble& area = page.area(L"", L"here");
    ElementDouble& mail = page.anchor(L"mailto:someone@server", L"mail");
    ElementDouble& none = page.anchor(std::nullopt, L"no href");
    EXPECT_EQ(hrefOf(anchor), L"http://server/dir/x.html#part");
    EXPECT_EQ(hrefOf(link), L"http://server/b.html");
    EXPECT_EQ(hrefOf(area), L"http://server/dir/a.html") << "an empty href is the document itself";
    EXPECT_EQ(hrefOf(mail), L"mailto:someone@server");
    EXPECT_EQ(hrefOf(none), L"<null>");
    EXPECT_EQ(hrefOf(page.anchor(L"//cdn.test/x.js", L"")), L"http://cdn.test/x.js");
    EXPECT_EQ(hrefOf(page.anchor(L"?page=2", L"")), L"http://server/dir/a.html?page=2");
    EXPECT_EQ(hrefOf(page.anchor(L"./c/./d/../e.html", L"")), L"http://server/dir/c/e.html");
    EXPECT_EQ(hrefOf(page.anchor(L"/top/../..", L"")), L"http://server/");
    const std::wstring huge(2100, L'x');
    EXPECT_EQ(hrefOf(page.anchor(huge, L"")), huge) << "beyond the browser's longest address: as written";

    ElementDouble& bare = page.base(std::nullopt);
    EXPECT_EQ(hrefOf(anchor), L"http://server/dir/x.html#part") << "a base without an href counts for nothing";
    ElementDouble& base = page.base(L"../mirror/");
    page.base(L"http://ignored/");
    EXPECT_EQ(hrefOf(anchor), L"http://server/mirror/x.html#part") << "the base resolves against the address";
    EXPECT_EQ(hrefOf(link), L"http://server/b.html");
    EXPECT_EQ(hrefOf(base), L"../mirror/") << "the base element's own href is as written";
    bare.attr(L"href", L"http://other/");
    EXPECT_EQ(hrefOf(area), L"http://other/") << "the first base with an href wins";
    EXPECT_EQ(anchor.attribute(L"href"), L"x.html#part") << "the attribute stays as written";
}

TEST_F(DomDoubleTest, SheetsReportTitleHrefAndDisabledAndRecordCreatedSheets) {
    PageBuilder page;
    page.sheet(std::nullopt, L"base.css");
    page.sheet(L"", L"");
    page.sheet(L"Blue", L"blue.css", true);
    ComPtr<IHTMLStyleSheetsCollection> sheets;
    ASSERT_EQ(page.doc().get_styleSheets(sheets.put()), S_OK);
    LONG length = 0;
    sheets->get_length(&length);
    ASSERT_EQ(length, 3);

    auto sheetAt = [&](long index) {
        Variant result;
        Variant position = Variant::fromInt(index);
        const HRESULT hr = sheets->item(position.get(), result.out());
        return hr == S_OK && result.type() == VT_DISPATCH ? queryAs<IHTMLStyleSheet>(result.ref().pdispVal)
                                                          : ComPtr<IHTMLStyleSheet>();
    };
    SharedString title, href;
    sheetAt(0)->get_title(title.out());
    EXPECT_TRUE(title.isNull()) << "untitled";
    sheetAt(1)->get_title(title.out());
    EXPECT_FALSE(title.isNull());
    EXPECT_TRUE(title.isEmpty()) << "present but empty title";
    VARIANT_BOOL disabled = VARIANT_FALSE;
    sheetAt(2)->get_disabled(&disabled);
    EXPECT_EQ(disabled, VARIANT_TRUE);
    sheetAt(2)->get_href(href.out());
    EXPECT_STREQ(href.c_str(), L"blue.css");
    EXPECT_EQ(sheetAt(2)->put_disabled(VARIANT_FALSE), S_OK);
    EXPECT_FALSE(page.doc().sheets()[2]->disabled());
    Variant beyond;
    Variant three = Variant::fromInt(3);
    EXPECT_EQ(sheets->item(three.get(), beyond.out()), E_INVALIDARG);

    ComPtr<IHTMLStyleSheet> created;
    ASSERT_EQ(page.doc().createStyleSheet(nullptr, -1, created.put()), S_OK);
    LONG index = 0;
    EXPECT_EQ(created->addImport(SharedString(L"file:///user.css").bstr(), -1, &index), S_OK);
    created->put_title(SharedString(L"Mine").bstr());
    created->put_disabled(VARIANT_TRUE);
    ASSERT_EQ(page.doc().sheets().size(), 4u);
    auto added = page.doc().createdSheets();
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0], page.doc().sheets().back().get()) << "index -1 appends";
    EXPECT_EQ(added[0]->imports(), std::vector<std::wstring>{L"file:///user.css"});
    EXPECT_EQ(added[0]->title(), OptText(L"Mine"));
    EXPECT_TRUE(added[0]->disabled());
    ASSERT_EQ(page.doc().createCalls().size(), 1u);
    EXPECT_EQ(page.doc().createCalls()[0].index, -1);
    created->get_href(href.out());
    EXPECT_TRUE(href.isEmpty()) << "a created sheet has no href of its own";
    // The earlier collection is a snapshot; a new one lists the created sheet.
    ComPtr<IHTMLStyleSheetsCollection> again;
    page.doc().get_styleSheets(again.put());
    again->get_length(&length);
    EXPECT_EQ(length, 4);
}

TEST_F(DomDoubleTest, InlineStyleAndExpandoAttributes) {
    PageBuilder page;
    auto& styled = page.element(L"p").attr(L"style", L"color: red");
    auto& plain = page.element(L"p");
    auto element = queryAs<IHTMLElement>(&styled);
    ComPtr<IHTMLStyle> style;
    ASSERT_EQ(element->get_style(style.put()), S_OK);
    SharedString css;
    style->get_cssText(css.out());
    EXPECT_STREQ(css.c_str(), L"color: red");

    EXPECT_EQ(element->setAttribute(SharedString(L"Quorin_style").bstr(), Variant::fromString(L"color: red").value(), 0),
              S_OK);
    EXPECT_EQ(style->put_cssText(nullptr), S_OK);
    EXPECT_EQ(styled.cssText(), L"");
    style->get_cssText(css.out());
    EXPECT_TRUE(css.isNull()) << "an empty inline style reads as null";
    EXPECT_EQ(styled.attribute(L"quorin_style"), OptText(L"color: red")) << "names ignore letter case";

    Variant value;
    EXPECT_EQ(element->getAttribute(SharedString(L"Quorin_style").bstr(), 0, value.out()), S_OK);
    ASSERT_EQ(value.type(), VT_BSTR);
    EXPECT_STREQ(value.ref().bstrVal, L"color: red");
    EXPECT_EQ(queryAs<IHTMLElement>(&plain)->getAttribute(SharedString(L"Quorin_style").bstr(), 0, value.out()), S_OK);
    EXPECT_EQ(value.type(), VT_NULL) << "an absent attribute";
    ASSERT_EQ(styled.attributeCalls().size(), 2u);
    EXPECT_EQ(styled.attributeCalls()[0].method, L"setAttribute");
    EXPECT_EQ(styled.attributeCalls()[0].flags, 0);
}

TEST_F(DomDoubleTest, FramesGiveTheirDocumentsOrRefuseAnotherSite) {
    PageBuilder page(L"http://server/frames.html");
    page.frame(L"http://server/toc.html", L"toc").anchor(L"a.html", L"A");
    page.deniedFrame(L"http://other/ad.html", L"ad");
    ComPtr<IHTMLFramesCollection2> frames;
    ASSERT_EQ(page.doc().get_frames(frames.put()), S_OK);
    LONG length = 0;
    frames->get_length(&length);
    ASSERT_EQ(length, 2);
    auto windowAt = [&](long index) {
        Variant result;
        Variant position = Variant::fromInt(index);
        frames->item(position.get(), result.out());
        return result.type() == VT_DISPATCH ? queryAs<IHTMLWindow2>(result.ref().pdispVal) : ComPtr<IHTMLWindow2>();
    };
    ComPtr<IHTMLDocument2> document;
    ASSERT_EQ(windowAt(0)->get_document(document.put()), S_OK);
    SharedString url;
    document->get_URL(url.out());
    EXPECT_STREQ(url.c_str(), L"http://server/toc.html");
    EXPECT_EQ(windowAt(1)->get_document(document.put()), E_ACCESSDENIED);
    EXPECT_FALSE(document);
}

TEST_F(DomDoubleTest, LocationRecordsNavigation) {
    PageBuilder page(L"http://server/a.html");
    std::vector<std::wstring> seen;
    page.doc().location()->onNavigate = [&](const std::wstring& url) { seen.push_back(url); };
    ComPtr<IHTMLLocation> location;
    ASSERT_EQ(page.doc().get_location(location.put()), S_OK);
    SharedString href;
    location->get_href(href.out());
    EXPECT_STREQ(href.c_str(), L"http://server/a.html");
    EXPECT_EQ(location->put_href(SharedString(L"http://server/b.html").bstr()), S_OK);
    EXPECT_EQ(location->put_href(nullptr), S_OK);
    EXPECT_EQ(page.doc().location()->navigations(), (std::vector<std::wstring>{L"http://server/b.html", L""}));
    EXPECT_EQ(seen, page.doc().location()->navigations());
    location->get_href(href.out());
    EXPECT_STREQ(href.c_str(), L"http://server/a.html") << "navigation is recorded, not performed";
}

TEST_F(DomDoubleTest, FailuresNullsAndEmptiesCanBeInjected) {
    PageBuilder page;
    page.skeleton();
    page.anchor(L"x.html", L"text");
    page.element(L"head");

    page.doc().failMethod("get_all", E_FAIL);
    ComPtr<IHTMLElementCollection> all;
    EXPECT_EQ(page.doc().get_all(all.put()), E_FAIL);
    EXPECT_FALSE(all);
    page.doc().failMethod("get_all", S_OK);
    page.doc().nullMethod("get_all");
    EXPECT_EQ(page.doc().get_all(all.put()), S_OK);
    EXPECT_FALSE(all);
    page.doc().nullMethod("get_all", false);
    page.doc().emptyMethod("get_all");
    ASSERT_EQ(page.doc().get_all(all.put()), S_OK);
    LONG length = -1;
    all->get_length(&length);
    EXPECT_EQ(length, 0);
    page.doc().emptyMethod("get_all", false);

    // Collections are reached through the hook; a key with an argument hits only that argument.
    page.doc().onCollection = [](ElementCollectionDouble& collection) {
        if (collection.name() == "all") collection.nullMethod("tags(head)");
        if (collection.name() == "tags(a)") collection.failMethod("item(0)", E_UNEXPECTED);
    };
    ASSERT_EQ(page.doc().get_all(all.put()), S_OK);
    ComPtr<IDispatch> tags;
    EXPECT_EQ(all->tags(Variant::fromString(L"head").value(), tags.put()), S_OK);
    EXPECT_FALSE(tags);
    ASSERT_EQ(all->tags(Variant::fromString(L"a").value(), tags.put()), S_OK);
    auto anchors = tags.as<IHTMLElementCollection>();
    ComPtr<IDispatch> item;
    EXPECT_EQ(anchors->item(Variant::fromInt(0).value(), Variant::fromInt(0).value(), item.put()), E_UNEXPECTED);

    auto& anchor = *page.doc().elementsByTag(L"a")[0];
    anchor.failMethod("get_innerText", E_FAIL);
    anchor.emptyMethod("get_href");
    anchor.refuseInterface(IID_IHTMLAnchorElement);
    SharedString text;
    EXPECT_EQ(queryAs<IHTMLElement>(&anchor)->get_innerText(text.out()), E_FAIL);
    EXPECT_FALSE(queryAs<IHTMLAnchorElement>(&anchor));
    SharedString href;
    ComPtr<IHTMLAnchorElement> direct(static_cast<IHTMLAnchorElement*>(&anchor));
    direct->get_href(href.out());
    EXPECT_FALSE(href.isNull());
    EXPECT_TRUE(href.isEmpty());
}

TEST_F(DomDoubleTest, CountingNumbersCallsAndTellsRefusedQueriesApart) {
    PageBuilder page;
    ElementDouble& anchor = page.anchor(L"x.html", L"text");
    const SharedString name(L"Quorin_style");
    Variant value;
    const auto calls = [&] {
        queryAs<IHTMLLinkElement>(&anchor);
        queryAs<IHTMLElement>(&anchor)->getAttribute(name.bstr(), 0, value.out());
    };
    CallFaults::count();
    calls();
    CallFaults::stop();
    EXPECT_EQ(CallFaults::callCount(), 2) << "the element interface and getAttribute";
    EXPECT_EQ(CallFaults::refusalCount(), 1) << "the link interface, refused, takes no number";

    CallFaults::inject(2, CallFaults::Outcome::Fail);
    calls();
    CallFaults::stop();
    EXPECT_EQ(CallFaults::hitMethod(), "getAttribute");

    // A failure set for one argument holds whether or not calls are numbered.
    anchor.failMethod("getAttribute(Quorin_style)", E_ACCESSDENIED);
    EXPECT_EQ(queryAs<IHTMLElement>(&anchor)->getAttribute(name.bstr(), 0, value.out()), E_ACCESSDENIED);
    anchor.failMethod("getAttribute(Quorin_style)", S_OK);

    const std::size_t recorded = anchor.attributeCalls().size();
    ElementDouble::recordAttributeCalls(false);
    queryAs<IHTMLElement>(&anchor)->getAttribute(name.bstr(), 0, value.out());
    ElementDouble::recordAttributeCalls(true);
    EXPECT_EQ(anchor.attributeCalls().size(), recorded) << "nothing recorded while switched off";
}

TEST_F(DomDoubleTest, ReferencesTakenByTheCallerKeepDoublesAlive) {
    ComPtr<IHTMLElementCollection> all;
    ComPtr<IHTMLElement> element;
    {
        PageBuilder page;
        page.anchor(L"x.html", L"x");
        ASSERT_EQ(page.doc().get_all(all.put()), S_OK);
        ComPtr<IDispatch> item;
        all->item(Variant::fromInt(0).value(), Variant::fromInt(0).value(), item.put());
        element = item.as<IHTMLElement>();
        EXPECT_EQ(page.doc().elements()[0]->refCount(), 4) << "document, collection, item, element";
    }
    EXPECT_GT(DoubleBase::liveDoubles(), live_) << "the collection outlives the builder";
    SharedString text;
    EXPECT_EQ(element->get_innerText(text.out()), S_OK);
    EXPECT_STREQ(text.c_str(), L"x");
    all.reset();
    element.reset();
}
