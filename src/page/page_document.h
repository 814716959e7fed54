#pragma once
// Reading a document: its elements of one tag, and string properties that may be absent.

#include <windows.h>
#include <mshtml.h>

#include "common/com_ptr.h"
#include "common/shared_string.h"
#include "page/document_walk.h"

namespace quorin {

// The document's elements of one tag in document order; empty when the collection cannot be had.
ComPtr<IHTMLElementCollection> elementsByTag(IHTMLDocument2* document, const wchar_t* tag);

// Calls visit with every element of the tag that can be fetched, in document order; false when
// the tag's collection cannot be had.
template <class Visit>
bool forEachElementOfTag(IHTMLDocument2* document, const wchar_t* tag, Visit&& visit) {
    const ComPtr<IHTMLElementCollection> elements = elementsByTag(document, tag);
    if (!elements) return false;
    const long length = lengthOf(elements.get());
    for (long i = 0; i < length; ++i) {
        if (const ComPtr<IHTMLElement> element = elementAt(elements.get(), i)) visit(element.get());
    }
    return true;
}

// The string a BSTR getter gives; null when the call fails or gives none. Most values read (rel
// and rev of plain anchors) are absent, and an absent one costs no allocation.
template <class Getter>
SharedString readString(Getter&& get) {
    BSTR text = nullptr;
    const HRESULT hr = get(&text);
    SharedString value = SharedString::adopt(text);
    if (FAILED(hr)) return SharedString();
    return value;
}

}  // namespace quorin
