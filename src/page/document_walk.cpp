#include "page/document_walk.h"

#include "common/variant.h"

namespace quorin {

namespace {

template <class Interface>
ComPtr<Interface> dispatchAs(const Variant& item) {
    if (item.type() != VT_DISPATCH) return {};
    return queryAs<Interface>(item.ref().pdispVal);
}

}  // namespace

ComPtr<IHTMLStyleSheetsCollection> styleSheetsOf(IHTMLDocument2* document) {
    ComPtr<IHTMLStyleSheetsCollection> sheets;
    if (!document || FAILED(document->get_styleSheets(sheets.put()))) sheets.reset();
    return sheets;
}

ComPtr<IHTMLElementCollection> elementsOf(IHTMLDocument2* document) {
    ComPtr<IHTMLElementCollection> elements;
    if (!document || FAILED(document->get_all(elements.put()))) elements.reset();
    return elements;
}

ComPtr<IHTMLFramesCollection2> framesOf(IHTMLDocument2* document) {
    ComPtr<IHTMLFramesCollection2> frames;
    if (!document || FAILED(document->get_frames(frames.put()))) frames.reset();
    return frames;
}

ComPtr<IHTMLStyleSheet> styleSheetAt(IHTMLStyleSheetsCollection* sheets, long index) {
    Variant position = Variant::fromInt(index);
    Variant item;
    if (FAILED(sheets->item(position.get(), item.out()))) return {};
    return dispatchAs<IHTMLStyleSheet>(item);
}

ComPtr<IHTMLElement> elementAt(IHTMLElementCollection* elements, long index) {
    const Variant name = Variant::fromInt(index);
    const Variant subIndex = Variant::fromInt(0);
    ComPtr<IDispatch> item;
    if (FAILED(elements->item(name.value(), subIndex.value(), item.put()))) return {};
    return item.as<IHTMLElement>();
}

ComPtr<IHTMLDocument2> frameDocumentAt(IHTMLFramesCollection2* frames, long index) {
    Variant position = Variant::fromInt(index);
    Variant item;
    if (FAILED(frames->item(position.get(), item.out()))) return {};
    const ComPtr<IHTMLWindow2> window = dispatchAs<IHTMLWindow2>(item);
    ComPtr<IHTMLDocument2> document;
    if (!window || FAILED(window->get_document(document.put()))) document.reset();
    return document;
}

}  // namespace quorin
