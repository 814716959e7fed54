#include "link/link_element.h"

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

SharedString LinkElement::text() const {
    if (link_) return readString([&](BSTR* out) { return element_->get_title(out); });
    if (anchor_) return readString([&](BSTR* out) { return element_->get_innerText(out); });
    if (area_) return readString([&](BSTR* out) { return area_->get_alt(out); });
    return SharedString();
}

}  // namespace quorin
