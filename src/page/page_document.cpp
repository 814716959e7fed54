#include "page/page_document.h"

#include "common/variant.h"

namespace quorin {

ComPtr<IHTMLElementCollection> elementsByTag(IHTMLDocument2* document, const wchar_t* tag) {
    const ComPtr<IHTMLElementCollection> all = elementsOf(document);
    if (!all) return nullptr;
    const Variant name = Variant::fromString(tag);
    ComPtr<IDispatch> tagged;
    if (FAILED(all->tags(name.value(), tagged.put())) || !tagged) return nullptr;
    return tagged.as<IHTMLElementCollection>();
}

}  // namespace quorin
