#include "support/page_builder.h"

namespace quorin::test {

PageBuilder::PageBuilder(std::wstring url, std::wstring title)
    : document_(ComPtr<DocumentDouble>::adopt(new DocumentDouble(std::move(url)))) {
    document_->setTitle(std::move(title));
}

PageBuilder::~PageBuilder() {
    if (browser_) browser_->closeBands();
}

PageBuilder& PageBuilder::skeleton() {
    element(L"html");
    element(L"head");
    element(L"title").text(document_->title());
    element(L"body");
    return *this;
}

PageBuilder& PageBuilder::filler(int count) {
    for (int i = 0; i < count; ++i) element(L"div");
    return *this;
}

ElementDouble& PageBuilder::set(ElementDouble& element, const wchar_t* name, const OptText& value) {
    return value ? element.attr(name, *value) : element;
}

ElementDouble& PageBuilder::link(OptText rel, OptText href, OptText title, OptText rev) {
    auto& e = element(L"link");
    set(e, L"rel", rel);
    set(e, L"rev", rev);
    set(e, L"href", href);
    return set(e, L"title", title);
}

ElementDouble& PageBuilder::anchor(OptText href, OptText text, OptText rel, OptText rev) {
    auto& e = element(L"a");
    set(e, L"href", href);
    set(e, L"rel", rel);
    set(e, L"rev", rev);
    return e.text(std::move(text));
}

ElementDouble& PageBuilder::area(OptText href, OptText alt) {
    auto& e = element(L"area");
    set(e, L"href", href);
    return set(e, L"alt", alt);
}

ElementDouble& PageBuilder::inside(ElementDouble& container, const std::wstring& tag) {
    ElementDouble& inner = element(tag);
    container.contain(inner);
    return inner;
}

ElementDouble& PageBuilder::base(OptText href) { return set(element(L"base"), L"href", href); }

ElementDouble& PageBuilder::meta(OptText httpEquiv, OptText content) {
    auto& e = element(L"meta");
    set(e, L"http-equiv", httpEquiv);
    return set(e, L"content", content);
}

ElementDouble& PageBuilder::attributed(const std::wstring& tag, const std::wstring& name, OptText value) {
    return set(element(tag), name.c_str(), value);
}

StyleSheetDouble& PageBuilder::sheet(OptText title, OptText href, bool disabled) {
    return document_->addSheet(std::move(title), std::move(href), disabled);
}

PageBuilder& PageBuilder::addFrame(std::wstring url, std::wstring name, bool denied) {
    frames_.push_back(std::make_unique<PageBuilder>(std::move(url)));
    document_->addFrame(frames_.back()->document(), std::move(name), denied);
    return *frames_.back();
}

PageBuilder& PageBuilder::frame(std::wstring url, std::wstring name) {
    return addFrame(std::move(url), std::move(name), false);
}

PageBuilder& PageBuilder::deniedFrame(std::wstring url, std::wstring name) {
    return addFrame(std::move(url), std::move(name), true);
}

BrowserDouble* PageBuilder::browser(BrowserFrame* frame) {
    if (!browser_) browser_ = ComPtr<BrowserDouble>::adopt(new BrowserDouble(document_.get(), frame));
    return browser_.get();
}

}  // namespace quorin::test
