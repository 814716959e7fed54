#pragma once
// The way from the band's site to the browser, and from a browser to its current document.

#include <exdisp.h>
#include <mshtml.h>

#include "common/com_ptr.h"
#include "common/shared_string.h"

namespace quorin {

// site -> IOleCommandTarget -> IServiceProvider -> the web browser service; empty on any failure.
ComPtr<IWebBrowser2> browserFromSite(IUnknown* site);

// The browser's current document as an HTML document; empty when there is none.
ComPtr<IHTMLDocument2> documentOf(IWebBrowser2* browser);

// The browser's LocationURL; null when it yields no string.
SharedString locationUrlOf(IWebBrowser2* browser);

// The document's location href; false when the location cannot be read.
bool addressOf(IHTMLDocument2* document, SharedString& address);

}  // namespace quorin
