#include "style/prepared_documents.h"

#include <algorithm>

#include "page/browser_access.h"
#include "page/document_walk.h"

namespace quorin {

namespace {

ComPtr<IUnknown> identityOf(IHTMLDocument2* document) { return queryAs<IUnknown>(document); }

bool holds(const std::vector<ComPtr<IUnknown>>& documents, const ComPtr<IUnknown>& identity) {
    return std::any_of(documents.begin(), documents.end(),
                       [&](const ComPtr<IUnknown>& known) { return known.get() == identity.get(); });
}

}  // namespace

// A document without an identity cannot be recognised again and is taken as new each time.
bool PreparedDocuments::firstVisit(IHTMLDocument2* document) {
    ComPtr<IUnknown> identity = identityOf(document);
    if (!identity) return true;
    if (holds(documents_, identity)) return false;
    documents_.push_back(std::move(identity));
    return true;
}

void PreparedDocuments::keepShown(IWebBrowser2* top, IHTMLDocument2* also) {
    std::vector<ComPtr<IUnknown>> shown;
    if (ComPtr<IUnknown> identity = identityOf(also)) shown.push_back(std::move(identity));
    if (const ComPtr<IHTMLDocument2> document = documentOf(top)) {
        shown.push_back(identityOf(document.get()));
        forEachFrameDocument(document.get(), [&](const ComPtr<IHTMLDocument2>& frame) {
            shown.push_back(identityOf(frame.get()));
        });
    }
    documents_.erase(std::remove_if(documents_.begin(), documents_.end(),
                                    [&](const ComPtr<IUnknown>& known) { return !holds(shown, known); }),
                     documents_.end());
}

}  // namespace quorin
