#include "link/link_element.h"

#include <utility>

#include "common/variant.h"
#include "page/page_document.h"

namespace quorin {

LinkElement::LinkElement(IHTMLElement* element) : element_(element) {
    if ((link_ = queryAs<IHTMLLinkElement>(element))) return;
    if ((anchor_ = queryAs<IHTMLAnchorElement>(element))) return;
    area_ = queryAs<IHTMLAreaElement>(element);
}

SharedString LinkElement::rel() const {
    if (link_) return readString([&](BSTR* out) { return link_->get_rel(out); });
    if (anchor_) return readString([&](BSTR* out) { return anchor_->get_rel(out); });
    return SharedString();
}

SharedString LinkElement::rev() const {
    if (link_) return readString([&](BSTR* out) { return link_->get_rev(out); });
    if (anchor_) return readString([&](BSTR* out) { return anchor_->get_rev(out); });
    return SharedString();
}

SharedString LinkElement::href() const {
    if (link_) return readString([&](BSTR* out) { return link_->get_href(out); });
    if (anchor_) return readString([&](BSTR* out) { return anchor_->get_href(out); });
    if (area_) return readString([&](BSTR* out) { return area_->get_href(out); });
    return SharedString();
}

SharedString LinkElement::title() const {
    return readString([&](BSTR* out) { return element_->get_title(out); });
}

SharedString LinkElement::text() const {
    if (link_) return title();
    if (anchor_) return readString([&](BSTR* out) { return element_->get_innerText(out); });
    if (area_) return readString([&](BSTR* out) { return area_->get_alt(out); });
    return SharedString();
}

LinkWords LinkElement::words(const SharedString& text) const {
    LinkWords words;
    if (!hasWords()) return words;
    words.comparable = comparableWords(text.textOrEmpty());
    const auto take = [&](SharedString source) {
        words.comparable = comparableWords(source.textOrEmpty());
        words.shown = std::move(source);
    };
    if (words.comparable.empty() && anchor_) take(firstImageAlt());
    if (words.comparable.empty()) take(title());
    return words;
}

SharedString LinkElement::firstImageAlt() const {
    const ComPtr<IHTMLElement2> element = queryAs<IHTMLElement2>(element_);
    if (!element) return SharedString();
    const SharedString tag(L"img");
    ComPtr<IHTMLElementCollection> images;
    if (FAILED(element->getElementsByTagName(tag.bstr(), images.put())) || !images) return SharedString();
    // The first item without asking for the length first: one call fewer, and null when there is none.
    const Variant first = Variant::fromInt(0);
    ComPtr<IDispatch> item;
    if (FAILED(images->item(first.value(), first.value(), item.put())) || !item) return SharedString();
    const ComPtr<IHTMLImgElement> image = item.as<IHTMLImgElement>();
    if (!image) return SharedString();
    return readString([&](BSTR* out) { return image->get_alt(out); });
}

}  // namespace quorin
