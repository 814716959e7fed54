#pragma once
// The documents that already have the user's added sheets and preferred title, so that a
// document completing again keeps what the user chose since. Documents are told apart by COM
// identity; the references held keep a remembered document's address from being reused by a
// newer document, such as the one a reload makes.

#include <exdisp.h>
#include <mshtml.h>

#include <vector>

#include "common/com_ptr.h"

namespace quorin {

class PreparedDocuments {
public:
    // True the first time the document is met; it is remembered from then on.
    bool firstVisit(IHTMLDocument2* document);
    // Forgets every document but the top browser's, its frames' and also, so that pages left
    // behind are not kept alive.
    void keepShown(IWebBrowser2* top, IHTMLDocument2* also);
    void clear() noexcept { documents_.clear(); }

private:
    std::vector<ComPtr<IUnknown>> documents_;
};

}  // namespace quorin
