#include "page/browser_access.h"

#include <docobj.h>
#include <servprov.h>

namespace quorin {

ComPtr<IWebBrowser2> browserFromSite(IUnknown* site) {
    ComPtr<IWebBrowser2> browser;
    const ComPtr<IOleCommandTarget> target = queryAs<IOleCommandTarget>(site);
    const ComPtr<IServiceProvider> services = target.as<IServiceProvider>();
    if (!services) return browser;
    // The web browser service is named by the browser application's interface id.
    if (FAILED(services->QueryService(__uuidof(IWebBrowserApp), __uuidof(IWebBrowser2), browser.putVoid())))
        browser.reset();
    return browser;
}

ComPtr<IHTMLDocument2> documentOf(IWebBrowser2* browser) {
    if (!browser) return {};
    ComPtr<IDispatch> document;
    if (FAILED(browser->get_Document(document.put()))) return {};
    return document.as<IHTMLDocument2>();
}

SharedString locationUrlOf(IWebBrowser2* browser) {
    SharedString url;
    if (!browser || FAILED(browser->get_LocationURL(url.out()))) return {};
    return url;
}

bool addressOf(IHTMLDocument2* document, SharedString& address) {
    ComPtr<IHTMLLocation> location;
    if (FAILED(document->get_location(location.put())) || !location) return false;
    return SUCCEEDED(location->get_href(address.out()));
}

}  // namespace quorin
