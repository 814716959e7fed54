#pragma once
// A link, a or area element, known by the first of their interfaces it answers, with the values
// classification reads from it. Each value is null when the element has none or the call fails.

#include <windows.h>
#include <mshtml.h>

#include "common/com_ptr.h"
#include "common/shared_string.h"
#include "link/link_words.h"

namespace quorin {

class LinkElement {
public:
    explicit LinkElement(IHTMLElement* element);

    // False for an element of none of the three kinds.
    bool known() const noexcept { return link_ || anchor_ || area_; }

    SharedString rel() const;  // areas have none
    SharedString rev() const;  // areas have none
    SharedString href() const;
    // The title of a link, the inner text of an anchor, the alt text of an area.
    SharedString text() const;

    // Whether the element is matched by its words: anchors and areas are.
    bool hasWords() const noexcept { return anchor_ || area_; }
    // The words it shows, given its text as read: that text; for an anchor without any, the alt
    // text of the first image inside it; failing those, its title. Each fallback is read only when
    // the words before it are empty.
    LinkWords words(const SharedString& text) const;

private:
    SharedString title() const;
    SharedString firstImageAlt() const;

    IHTMLElement* element_;
    ComPtr<IHTMLLinkElement> link_;
    ComPtr<IHTMLAnchorElement> anchor_;
    ComPtr<IHTMLAreaElement> area_;
};

}  // namespace quorin
