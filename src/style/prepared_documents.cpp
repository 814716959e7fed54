#include "style/prepared_documents.h"

#include <algorithm>

#include "style/identity.h"

namespace quorin {

// A document without an identity cannot be recognised again and is taken as new each time.
bool PreparedDocuments::firstVisit(IWebBrowser2* browser, IHTMLDocument2* document, IHTMLDocument2* page) {
    ComPtr<IUnknown> identity = identityOf(document);
    if (!identity) return true;
    const auto known = [&](const Prepared& entry) { return entry.document.get() == identity.get(); };
    if (std::any_of(prepared_.begin(), prepared_.end(), known)) return false;
    ComPtr<IUnknown> view = identityOf(browser);
    // A browser shows one document at a time: what it showed before is gone.
    if (view) {
        prepared_.erase(std::remove_if(prepared_.begin(), prepared_.end(),
                                       [&](const Prepared& entry) { return entry.browser.get() == view.get(); }),
                        prepared_.end());
    }
    prepared_.push_back(Prepared{std::move(view), std::move(identity), identityOf(page)});
    return true;
}

void PreparedDocuments::keepPage(IHTMLDocument2* page) {
    const ComPtr<IUnknown> shown = identityOf(page);
    if (!shown) return;
    prepared_.erase(std::remove_if(prepared_.begin(), prepared_.end(),
                                   [&](const Prepared& entry) { return entry.page.get() != shown.get(); }),
                    prepared_.end());
}

}  // namespace quorin
