#include "style/inline_style_stash.h"

#include "common/com_ptr.h"
#include "common/variant.h"

namespace quorin {

namespace {

ComPtr<IHTMLStyle> styleOf(IHTMLElement* element) {
    ComPtr<IHTMLStyle> style;
    if (FAILED(element->get_style(style.put()))) style.reset();
    return style;
}

}  // namespace

InlineStyleStash::InlineStyleStash() : name_(L"Quorin_style") {}

void InlineStyleStash::store(IHTMLElement* element) const {
    const ComPtr<IHTMLStyle> style = styleOf(element);
    if (!style) return;
    SharedString css;
    if (FAILED(style->get_cssText(css.out())) || css.isEmpty()) return;
    // The callee copies its by-value argument, so the text is lent, not copied and freed again.
    VARIANT stored;
    VariantInit(&stored);
    stored.vt = VT_BSTR;
    stored.bstrVal = css.bstr();
    // Clearing a style that could not be kept would lose it for good.
    if (FAILED(element->setAttribute(name_.bstr(), stored, 0))) return;
    style->put_cssText(nullptr);
}

// Most elements never had a style kept: their style object is not asked for.
void InlineStyleStash::restore(IHTMLElement* element) const {
    Variant stored;
    if (FAILED(element->getAttribute(name_.bstr(), 0, stored.out())) || stored.type() != VT_BSTR) return;
    if (const ComPtr<IHTMLStyle> style = styleOf(element)) style->put_cssText(stored.ref().bstrVal);
}

}  // namespace quorin
