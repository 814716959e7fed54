#pragma once
// The documents that already have the user's added sheets and preferred title, so that a
// document completing again keeps what the user chose since. A document is remembered with the
// browser that shows it (the top one or a frame's) and the page it belongs to, whether or not
// the top document's frames collection can reach it (a frame of another site, a frame of a
// frame). Documents are told apart by COM identity; the references held keep a remembered
// document's address from being reused by a newer document, such as the one a reload makes.

#include <exdisp.h>
#include <mshtml.h>

#include <vector>

#include "common/com_ptr.h"

namespace quorin {

class PreparedDocuments {
public:
    // True the first time the document is met. It is remembered from then on, in place of the
    // document the same browser showed before.
    bool firstVisit(IWebBrowser2* browser, IHTMLDocument2* document, IHTMLDocument2* page);
    // Forgets what belongs to another page than this top document: pages left behind are not
    // kept alive. Without a page nothing is forgotten.
    void keepPage(IHTMLDocument2* page);
    void clear() noexcept { prepared_.clear(); }

private:
    struct Prepared {
        ComPtr<IUnknown> browser;
        ComPtr<IUnknown> document;
        ComPtr<IUnknown> page;
    };
    std::vector<Prepared> prepared_;
};

}  // namespace quorin
