#pragma once
// Walks over the collections of one document: its style sheets, its elements and its frames'
// documents. An item that cannot be had is skipped and the walk goes on with the next one.

#include <mshtml.h>

#include "common/com_ptr.h"

namespace quorin {

ComPtr<IHTMLStyleSheetsCollection> styleSheetsOf(IHTMLDocument2* document);
ComPtr<IHTMLElementCollection> elementsOf(IHTMLDocument2* document);
ComPtr<IHTMLFramesCollection2> framesOf(IHTMLDocument2* document);

// A collection that cannot tell its length, or tells a negative one, is empty.
template <class Collection>
long lengthOf(Collection* collection) noexcept {
    long length = 0;
    if (!collection || FAILED(collection->get_length(&length)) || length < 0) return 0;
    return length;
}

ComPtr<IHTMLStyleSheet> styleSheetAt(IHTMLStyleSheetsCollection* sheets, long index);
ComPtr<IHTMLElement> elementAt(IHTMLElementCollection* elements, long index);
// Empty for a frame whose document is refused, as one from another site is.
ComPtr<IHTMLDocument2> frameDocumentAt(IHTMLFramesCollection2* frames, long index);

// Imported sheets are not visited.
template <class Step>
void forEachStyleSheet(IHTMLDocument2* document, Step&& step) {
    const ComPtr<IHTMLStyleSheetsCollection> sheets = styleSheetsOf(document);
    const long length = lengthOf(sheets.get());
    for (long i = 0; i < length; ++i) {
        if (const ComPtr<IHTMLStyleSheet> sheet = styleSheetAt(sheets.get(), i)) step(sheet.get());
    }
}

template <class Step>
void forEachElement(IHTMLDocument2* document, Step&& step) {
    const ComPtr<IHTMLElementCollection> elements = elementsOf(document);
    const long length = lengthOf(elements.get());
    for (long i = 0; i < length; ++i) {
        if (const ComPtr<IHTMLElement> element = elementAt(elements.get(), i)) step(element.get());
    }
}

// Frames of frames are not visited.
template <class Step>
void forEachFrameDocument(IHTMLDocument2* document, Step&& step) {
    const ComPtr<IHTMLFramesCollection2> frames = framesOf(document);
    const long length = lengthOf(frames.get());
    for (long i = 0; i < length; ++i) {
        if (const ComPtr<IHTMLDocument2> frame = frameDocumentAt(frames.get(), i)) step(frame);
    }
}

}  // namespace quorin
