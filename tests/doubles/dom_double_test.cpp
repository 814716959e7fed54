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
    EXPECT_STREQ(href.c_str(), L"x.html");
    first->get_rel(rel.out());
    EXPECT_TRUE(rel.isNull()) << "absent rel reads as a null string";
    queryAs<IHTMLElement>(first.get())->get_innerText(text.out());
    EXPECT_FALSE(text.isNull());
    EXPECT_TRUE(text.isEmpty());
    EXPECT_FALSE(itemAt(anchors.get(), 2)) << "beyond the end gives null";
}
