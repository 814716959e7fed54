#include "link/page_document.h"

#include "common/variant.h"

namespace quorin {

ComPtr<IHTMLDocument2> browserDocument(IWebBrowser2* browser) noexcept {
    if (!browser) return nullptr;
    ComPtr<IDispatch> document;
    if (FAILED(browser->get_Document(document.put())) || !document) return nullptr;
    return document.as<IHTMLDocument2>();
}

ComPtr<IHTMLElementCollection> elementsByTag(IHTMLDocument2* document, const wchar_t* tag) {
    ComPtr<IHTMLElementCollection> all;
    if (FAILED(document->get_all(all.put())) || !all) return nullptr;
    Variant name = Variant::fromString(tag);
    ComPtr<IDispatch> tagged;
    if (FAILED(all->tags(name.value(), tagged.put())) || !tagged) return nullptr;
    return tagged.as<IHTMLElementCollection>();
}

}  // namespace quorin
