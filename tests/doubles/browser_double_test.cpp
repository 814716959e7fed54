#include <gtest/gtest.h>
#include <exdispid.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "browser/custom_messages.h"
#include "browser/frame_windows.h"
#include "common/com_ptr.h"
#include "common/shared_string.h"
#include "common/variant.h"
#include "shared/class_ids.h"
#include "support/library.h"
#include "support/page_builder.h"

using namespace quorin;
using namespace quorin::test;

namespace {

// Records each event with the types of its arguments, in rgvarg order.
class RecordingSink final : public ComDouble<IDispatch> {
public:
    struct Event {
        DISPID id;
        std::vector<VARTYPE> types;
        IDispatch* browser;  // rgvarg[cArgs - 1] when it is a VT_DISPATCH
        std::wstring url;    // the second argument when it is a by-reference string
    };
    std::vector<Event> events;
    bool cancelNext = false;

    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        EXPECT_EQ(flags, DISPATCH_METHOD);
        EXPECT_EQ(params->cNamedArgs, 0u);
        Event event{id, {}, nullptr, {}};
        for (UINT i = 0; i < params->cArgs; ++i) event.types.push_back(params->rgvarg[i].vt);
        if (params->cArgs >= 2) {
            const VARIANT& first = params->rgvarg[params->cArgs - 1];
            if (first.vt == VT_DISPATCH) event.browser = first.pdispVal;
            const VARIANT& second = params->rgvarg[params->cArgs - 2];
            if (second.vt == (VT_BYREF | VT_VARIANT) && second.pvarVal->vt == VT_BSTR)
                event.url = second.pvarVal->bstrVal;
        }
        if (id == DISPID_BEFORENAVIGATE2 && cancelNext) *params->rgvarg[0].pboolVal = VARIANT_TRUE;
        events.push_back(event);
        return S_OK;
    }

protected:
    void* baseInterface(REFIID riid) override { return riid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr; }
};

class BrowserDoubleTest : public testing::Test {
protected:
    void SetUp() override { sink = ComPtr<RecordingSink>::adopt(new RecordingSink); }
    void TearDown() override {
        sink.reset();
        EXPECT_EQ(DoubleBase::liveDoubles(), live_) << "a double leaked";
    }
    DWORD advise(BrowserDouble* browser) {
        ComPtr<IConnectionPoint> point;
        EXPECT_EQ(browser->FindConnectionPoint(DIID_DWebBrowserEvents2, point.put()), S_OK);
        DWORD cookie = 0;
        EXPECT_EQ(point->Advise(sink->unknown(), &cookie), S_OK);
        return cookie;
    }

    LONG live_ = DoubleBase::liveDoubles();
    ComPtr<RecordingSink> sink;
};

bool isTop(IDispatch* browser) {
    VARIANT_BOOL top = VARIANT_FALSE;
    static_cast<IWebBrowser2*>(browser)->get_TopLevelContainer(&top);
    return top != VARIANT_FALSE;
}

}  // namespace

TEST_F(BrowserDoubleTest, EventsHaveTheBrowsersArgumentLayout) {
    PageBuilder page(L"http://server/a.html", L"A");
    BrowserDouble* browser = page.browser();
    advise(browser);
    EXPECT_FALSE(browser->fireBeforeNavigate2(browser, L"http://server/a.html"));
    browser->fireNavigateComplete2(browser, L"http://server/a.html");
    browser->fireDocumentComplete(browser, L"http://server/a.html");
    browser->fireDownloadBegin();
    browser->fireDownloadComplete();
    browser->fireTitleChange(L"A");
    browser->fireOnQuit();

    const VARTYPE ref = VT_BYREF | VT_VARIANT;
    ASSERT_EQ(sink->events.size(), 7u);
    EXPECT_EQ(sink->events[0].id, DISPID_BEFORENAVIGATE2);
    EXPECT_EQ(sink->events[0].types, (std::vector<VARTYPE>{VT_BYREF | VT_BOOL, ref, ref, ref, ref, ref, VT_DISPATCH}));
    EXPECT_EQ(sink->events[0].url, L"http://server/a.html");
    for (int i : {1, 2}) {
        EXPECT_EQ(sink->events[i].types, (std::vector<VARTYPE>{ref, VT_DISPATCH}));
        EXPECT_EQ(sink->events[i].browser, static_cast<IDispatch*>(browser->webBrowser()));
        EXPECT_EQ(sink->events[i].url, L"http://server/a.html");
    }
    EXPECT_EQ(sink->events[1].id, DISPID_NAVIGATECOMPLETE2);
    EXPECT_EQ(sink->events[2].id, DISPID_DOCUMENTCOMPLETE);
    EXPECT_EQ(sink->events[3].id, DISPID_DOWNLOADBEGIN);
    EXPECT_TRUE(sink->events[3].types.empty());
    EXPECT_EQ(sink->events[4].id, DISPID_DOWNLOADCOMPLETE);
    EXPECT_EQ(sink->events[5].id, DISPID_TITLECHANGE);
    EXPECT_EQ(sink->events[5].types, std::vector<VARTYPE>{VT_BSTR});
    EXPECT_EQ(sink->events[6].id, DISPID_ONQUIT);

    sink->cancelNext = true;
    EXPECT_TRUE(browser->fireBeforeNavigate2(browser, L"http://server/b.html")) << "a sink may cancel";
}

TEST_F(BrowserDoubleTest, PageLoadReportsTopLevelAndFrameBrowsers) {
    PageBuilder page(L"http://server/frames.html", L"Frames");
    page.frame(L"http://server/toc.html", L"toc");
    page.frame(L"http://server/body.html", L"body").frame(L"http://server/inner.html");
    page.deniedFrame(L"http://other/ad.html");
    BrowserDouble* browser = page.browser();
    const DWORD cookie = advise(browser);
    ASSERT_TRUE(browser->playPageLoad());
    EXPECT_EQ(browser->readyState(), READYSTATE_COMPLETE);
    ASSERT_EQ(browser->frameBrowsers().size(), 4u) << "a frame of another site loads too";

    std::vector<std::pair<DISPID, bool>> sequence;
    for (const auto& event : sink->events)
        sequence.push_back({event.id, event.browser ? isTop(event.browser) : false});
    ASSERT_GE(sequence.size(), 6u);
    EXPECT_EQ(sequence.front(), std::make_pair(DISPID(DISPID_BEFORENAVIGATE2), true));
    EXPECT_EQ(sequence.back(), std::make_pair(DISPID(DISPID_DOCUMENTCOMPLETE), true));
    int frameCompletes = 0;
    for (const auto& [id, top] : sequence) frameCompletes += id == DISPID_DOCUMENTCOMPLETE && !top;
    EXPECT_EQ(frameCompletes, 4);
    // A frame browser gives the frame's document.
    ComPtr<IDispatch> document;
    browser->frameBrowsers()[0]->get_Document(document.put());
    SharedString url;
    document.as<IHTMLDocument2>()->get_URL(url.out());
    EXPECT_STREQ(url.c_str(), L"http://server/toc.html");

    ComPtr<IConnectionPoint> point;
    browser->FindConnectionPoint(DIID_DWebBrowserEvents2, point.put());
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(browser->connectionPoint()->adviseCount(), 1);
    EXPECT_EQ(browser->connectionPoint()->unadviseCount(), 2);
}

TEST_F(BrowserDoubleTest, BrowserCallsAreRecordedAndCanFail) {
    PageBuilder page(L"http://server/a.html");
    BrowserDouble* browser = page.browser();
    Variant level = Variant::fromInt(REFRESH_COMPLETELY);
    EXPECT_EQ(browser->Refresh2(level.get()), S_OK);
    EXPECT_EQ(browser->Refresh(), S_OK);
    EXPECT_EQ(browser->refreshLevels(), (std::vector<LONG>{REFRESH_COMPLETELY, REFRESH_NORMAL}));
    SharedString url;
    EXPECT_EQ(browser->get_LocationURL(url.out()), S_OK);
    EXPECT_STREQ(url.c_str(), L"http://server/a.html");

    browser->failMethod("get_Document", E_FAIL);
    ComPtr<IDispatch> document(reinterpret_cast<IDispatch*>(0));
    EXPECT_EQ(browser->get_Document(document.put()), E_FAIL);
    EXPECT_FALSE(document);
    browser->refuseInterface(IID_IConnectionPointContainer);
    EXPECT_FALSE(queryAs<IConnectionPointContainer>(browser->webBrowser()));
    EXPECT_TRUE(queryAs<IWebBrowserApp>(browser->webBrowser()));
}

TEST_F(BrowserDoubleTest, FrameWindowsAreFoundOnTheCallingThread) {
    BrowserFrame frame;
    EXPECT_EQ(findBrowserFrame(), frame.frame());
    EXPECT_EQ(findDescendantByClass(frame.frame(), L"msctls_statusbar32"), frame.statusBar());
    EXPECT_EQ(findDescendantByClass(frame.frame(), L"Internet Explorer_Server"), frame.documentWindow());
    EXPECT_EQ(findDescendantByClass(frame.frame(), L"ReBarWindow32"), frame.rebar());
}

// The library's helper, given the browser as its site, asks to show the band; the browser double
// creates it and sites it on the rebar, and the helper then finds the band's window and subscribes.
TEST_F(BrowserDoubleTest, HelperAndBandMeetThroughTheBrowserDouble) {
    Library library;
    ASSERT_NE(library.handle(), nullptr);
    {
        BrowserFrame frame;
        PageBuilder page(L"http://server/a.html", L"A");
        BrowserDouble* browser = page.browser(&frame);
        browser->bandFactory = [&](REFCLSID clsid, IUnknown** out) {
            return library.create(clsid, IID_IUnknown, reinterpret_cast<void**>(out));
        };
        ComPtr<IObjectWithSite> helper;
        ASSERT_EQ(library.create(CLSID_BrowserHelper, IID_IObjectWithSite, helper.putVoid()), S_OK);
        EXPECT_EQ(helper->SetSite(browser->unknown()), S_OK);

        ASSERT_EQ(browser->barCalls().size(), 1u);
        LPOLESTR bandId = nullptr;
        StringFromIID(CLSID_ToolbarBand, &bandId);
        EXPECT_EQ(browser->barCalls()[0].classId, bandId);
        CoTaskMemFree(bandId);
        EXPECT_TRUE(browser->barCalls()[0].show);
        ASSERT_EQ(browser->bands().size(), 1u);
        EXPECT_EQ(browser->bands()[0].setSiteResult, S_OK);
        EXPECT_EQ(GetParent(browser->bands()[0].window), frame.rebar());
        EXPECT_EQ(browser->connectionPoint()->sinkCount(), 1u);

        // The band site's service chain reaches the browser.
        auto command = queryAs<IOleCommandTarget>(browser->bands()[0].site->unknown());
        ComPtr<IWebBrowser2> reached;
        ASSERT_TRUE(command);
        command.as<IServiceProvider>()->QueryService(SID_SWebBrowserApp, IID_IWebBrowser2, reached.putVoid());
        EXPECT_EQ(reached.get(), browser->webBrowser());
        reached.reset();

        EXPECT_TRUE(browser->playPageLoad());
        browser->quit();
        EXPECT_EQ(browser->connectionPoint()->unadviseCount(), 1) << "the helper unsubscribes on OnQuit";
        EXPECT_TRUE(browser->bands().empty());
        helper->SetSite(nullptr);
    }
    EXPECT_EQ(library.canUnloadNow(), S_OK) << "the library's objects were all released";
}
