#pragma once
// Reading the browser's document: the document itself, its elements of one tag, and string
// properties that may be absent.

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include "common/com_ptr.h"
#include "common/shared_string.h"
#include "common/variant.h"

namespace quorin {

// The browser's current document; empty when there is none or it is not an HTML document.
ComPtr<IHTMLDocument2> browserDocument(IWebBrowser2* browser) noexcept;

// The document's elements of one tag in document order; empty when the collection cannot be had.
ComPtr<IHTMLElementCollection> elementsByTag(IHTMLDocument2* document, const wchar_t* tag);

// Calls visit with every element of the collection that can be fetched, in order.
template <class Visit>
void forEachElement(IHTMLElementCollection* elements, Visit&& visit) {
    long length = 0;
    if (FAILED(elements->get_length(&length))) return;
    for (long i = 0; i < length; ++i) {
        ComPtr<IDispatch> element;
        if (FAILED(elements->item(Variant::fromInt(i).value(), Variant::fromInt(0).value(), element.put())) ||
            !element)
            continue;
        visit(element.get());
    }
}

// The string a BSTR getter gives; null when the call fails or gives none.
template <class Getter>
SharedString readString(Getter&& get) {
    SharedString value;
    if (FAILED(get(value.out()))) return SharedString();
    return value;
}

}  // namespace quorin
