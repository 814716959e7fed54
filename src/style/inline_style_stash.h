#pragma once
// Turning style attributes off and on: an element's inline style is kept on the element itself,
// in the attribute "Quorin_style", so that every document carries its own state.

#include <mshtml.h>

#include "common/shared_string.h"

namespace quorin {

class InlineStyleStash {
public:
    InlineStyleStash();

    // Stores a non-empty inline style and clears it. An element whose style is empty keeps what
    // an earlier store left, so that the next restore still has it.
    void store(IHTMLElement* element) const;
    // Writes a stored style back; the attribute stays on the element.
    void restore(IHTMLElement* element) const;

private:
    SharedString name_;
};

}  // namespace quorin
