// The browser helper's side of the routing: which browser events become which messages to the
// band's window, with what lParam, and how the subscription follows the helper's site. A
// recording window of the band's class stands in for the band.

#include <gtest/gtest.h>
#include <exdispid.h>

#include <map>
#include <string>
#include <vector>

#include "browser/custom_messages.h"
#include "common/com_ptr.h"
#include "shared/class_ids.h"
#include "support/browser_double.h"
#include "support/library.h"
#include "support/page_builder.h"

using namespace quorin;
using namespace quorin::test;

namespace {

// Logs each message of the band's range as "NAME lParam", lParam told as 0, top or frame.
class Recorder {
public:
    Recorder(HWND parent, const BrowserDouble& top) : top_(top) {
        WNDCLASSEXW info{sizeof info};
        info.lpfnWndProc = procedure;
        info.hInstance = GetModuleHandleW(nullptr);
        info.lpszClassName = kMessageWindowClass;
        RegisterClassExW(&info);
        window = CreateWindowExW(0, kMessageWindowClass, nullptr, WS_CHILD, 0, 0, 0, 0, parent, nullptr,
                                 GetModuleHandleW(nullptr), this);
    }
    ~Recorder() {
        if (IsWindow(window)) DestroyWindow(window);
        UnregisterClassW(kMessageWindowClass, GetModuleHandleW(nullptr));
    }
    HWND window;
    std::vector<std::string> log;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<Recorder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        static const std::map<UINT, std::string> names{
            {UM_TOP_BEFORE_NAVIGATE, "TOP_BEFORE_NAVIGATE"},     {UM_TOP_NAVIGATE_COMPLETE, "TOP_NAVIGATE_COMPLETE"},
            {UM_TITLE_CHANGE, "TITLE_CHANGE"},                   {UM_TOP_DOCUMENT_COMPLETE, "TOP_DOCUMENT_COMPLETE"},
            {UM_HELPER_ATTACHED, "HELPER_ATTACHED"},             {UM_BROWSER_QUIT, "BROWSER_QUIT"},
            {UM_FRAME_BEFORE_NAVIGATE, "FRAME_BEFORE_NAVIGATE"}, {UM_FRAME_NAVIGATE_COMPLETE, "FRAME_NAVIGATE_COMPLETE"},
            {UM_FRAME_DOCUMENT_COMPLETE, "FRAME_DOCUMENT_COMPLETE"}};
        const auto name = names.find(message);
        if (self && name != names.end()) self->log.push_back(name->second + " " + self->kind(lParam, wParam));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    std::string kind(LPARAM lParam, WPARAM wParam) const {
        if (wParam) return "wParam!";
        if (!lParam) return "0";
        auto* object = reinterpret_cast<IDispatch*>(lParam);
        if (object == static_cast<IDispatch*>(const_cast<BrowserDouble&>(top_).webBrowser())) return "top";
        for (const auto& frame : top_.frameBrowsers())
            if (object == static_cast<IDispatch*>(frame->webBrowser())) return "frame";
        return "unknown";
    }
    const BrowserDouble& top_;
};

using Log = std::vector<std::string>;

class BrowserHelperTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(library.create(CLSID_BrowserHelper, IID_IObjectWithSite, helper.putVoid()), S_OK);
        // No band: the recorder plays its window.
        browser->bandFactory = [](REFCLSID, IUnknown**) { return E_FAIL; };
    }
    void TearDown() override {
        helper.reset();
        browser->quit();
        browser.reset();
        EXPECT_EQ(library.canUnloadNow(), S_OK);
    }
    // The helper's sink, as the browser calls it.
    IDispatch* sink() const { return browser->connectionPoint()->sinks().at(0); }
    HRESULT invoke(DISPID id, VARIANT* args, UINT count) {
        DISPPARAMS params{args, nullptr, count, 0};
        return sink()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
    void downloadOnce(READYSTATE state) {
        browser->setReadyState(state);
        browser->fireDownloadBegin();
        browser->fireDownloadComplete();
    }

    // Declared first, so that it looks once every double below is gone.
    struct LeakCheck {
        const LONG before = DoubleBase::liveDoubles();
        ~LeakCheck() { EXPECT_EQ(DoubleBase::liveDoubles(), before) << "a double was not released"; }
    } leakCheck;
    Library library;
    BrowserFrame frame;
    PageBuilder page{L"http://server/frames.html"};
    PageBuilder& inner = page.frame(L"http://server/toc.html", L"toc");
    ComPtr<BrowserDouble> browser{page.browser(&frame)};
    Recorder band{frame.rebar(), *browser.get()};
    ComPtr<IObjectWithSite> helper;
};

TEST_F(BrowserHelperTest, APageLoadBecomesTopAndFrameMessagesWithTheirBrowsers) {
    ASSERT_EQ(helper->SetSite(browser->unknown()), S_OK);
    EXPECT_EQ(band.log, Log{"HELPER_ATTACHED 0"});
    EXPECT_EQ(browser->connectionPoint()->sinkCount(), 1u);
    band.log.clear();
    browser->playPageLoad();
    const Log load{"TOP_BEFORE_NAVIGATE top",     "TOP_NAVIGATE_COMPLETE top",   "FRAME_BEFORE_NAVIGATE frame",
                   "FRAME_NAVIGATE_COMPLETE frame", "FRAME_DOCUMENT_COMPLETE frame", "TITLE_CHANGE 0",
                   "TOP_DOCUMENT_COMPLETE top"};
    EXPECT_EQ(band.log, load) << "downloads before the top document completes announce nothing";
    band.log.clear();
    browser->fireOnQuit();
    EXPECT_EQ(band.log, Log{"BROWSER_QUIT 0"});
    EXPECT_EQ(browser->connectionPoint()->sinkCount(), 0u);
    EXPECT_EQ(helper->SetSite(nullptr), S_OK);
    EXPECT_EQ(browser->connectionPoint()->unadviseCount(), 1) << "once, on OnQuit";
}

TEST_F(BrowserHelperTest, TheLastDownloadInTheInteractiveStateCompletesTheTopDocumentAgain) {
    ASSERT_EQ(helper->SetSite(browser->unknown()), S_OK);
    browser->playPageLoad();
    band.log.clear();
    downloadOnce(READYSTATE_INTERACTIVE);
    downloadOnce(READYSTATE_COMPLETE);
    EXPECT_EQ(band.log, Log{"TOP_DOCUMENT_COMPLETE 0"});
    browser->setReadyState(READYSTATE_INTERACTIVE);
    browser->fireDownloadBegin();
    browser->fireDownloadBegin();
    browser->fireDownloadComplete();
    EXPECT_EQ(band.log.size(), 1u) << "one download still pending";
    browser->fireDownloadComplete();
    browser->fireBeforeNavigate2(browser->frameBrowsers().at(0).get(), L"http://server/toc2.html");
    downloadOnce(READYSTATE_INTERACTIVE);
    EXPECT_EQ(band.log, (Log{"TOP_DOCUMENT_COMPLETE 0", "TOP_DOCUMENT_COMPLETE 0", "FRAME_BEFORE_NAVIGATE frame",
                             "TOP_DOCUMENT_COMPLETE 0"}))
        << "a frame's navigation leaves the top document complete";
    band.log.clear();
    browser->fireBeforeNavigate2(browser.get(), L"http://server/next.html");
    downloadOnce(READYSTATE_LOADING);
    browser->fireNavigateComplete2(browser.get(), L"http://server/next.html");
    downloadOnce(READYSTATE_INTERACTIVE);
    EXPECT_EQ(band.log, (Log{"TOP_BEFORE_NAVIGATE top", "TOP_NAVIGATE_COMPLETE top"}))
        << "a top navigation disarms it until its document completes";
}

TEST_F(BrowserHelperTest, ANavigationThatBringsNoDocumentEndsWhenTheBrowserShowsOneAgain) {
    ASSERT_EQ(helper->SetSite(browser->unknown()), S_OK);
    browser->playPageLoad();
    band.log.clear();
    browser->fireBeforeNavigate2(browser.get(), L"mailto:someone@example.test");
    downloadOnce(READYSTATE_INTERACTIVE);  // F5: a new document, and only its download reported
    EXPECT_EQ(band.log, (Log{"TOP_BEFORE_NAVIGATE top", "TOP_DOCUMENT_COMPLETE 0"}));
    downloadOnce(READYSTATE_INTERACTIVE);
    EXPECT_EQ(band.log.size(), 3u) << "armed again";

    band.log.clear();
    browser->fireBeforeNavigate2(browser.get(), L"http://server/setup.exe");
    browser->setReadyState(READYSTATE_LOADING);
    browser->fireDownloadBegin();
    browser->fireDownloadBegin();
    browser->fireDownloadComplete();
    browser->setReadyState(READYSTATE_COMPLETE);  // the user cancels the download
    browser->fireDownloadComplete();
    EXPECT_EQ(band.log, (Log{"TOP_BEFORE_NAVIGATE top", "TOP_DOCUMENT_COMPLETE 0"}));
}

TEST_F(BrowserHelperTest, AnArgumentThatIsNoObjectCountsAsNoBrowser) {
    ASSERT_EQ(helper->SetSite(browser->unknown()), S_OK);
    band.log.clear();
    Variant text = Variant::fromString(L"not a browser");
    VARIANT args[2] = {text.value(), text.value()};
    EXPECT_EQ(invoke(DISPID_BEFORENAVIGATE2, args, 2), S_OK);
    args[1].vt = VT_I4;
    args[1].lVal = 0x1234;
    EXPECT_EQ(invoke(DISPID_NAVIGATECOMPLETE2, args, 2), S_OK);
    EXPECT_EQ(invoke(DISPID_DOCUMENTCOMPLETE, nullptr, 0), S_OK);
    EXPECT_EQ(band.log, (Log{"FRAME_BEFORE_NAVIGATE 0", "FRAME_NAVIGATE_COMPLETE 0", "FRAME_DOCUMENT_COMPLETE 0"}));

    for (DISPID id : {DISPID_BEFORENAVIGATE2, DISPID_DOWNLOADCOMPLETE, DISPID_ONQUIT, DISPID_DOCUMENTCOMPLETE, 0})
        EXPECT_EQ(sink()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);
    UINT count = 0;
    EXPECT_EQ(sink()->GetTypeInfoCount(&count), E_NOTIMPL);
    EXPECT_EQ(sink()->GetTypeInfo(0, 0, nullptr), E_NOTIMPL);
    EXPECT_EQ(sink()->GetIDsOfNames(IID_NULL, nullptr, 0, 0, nullptr), E_NOTIMPL);
    EXPECT_EQ(helper->GetSite(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(band.log.size(), 3u);
}

TEST_F(BrowserHelperTest, ANewSiteCancelsTheEarlierSubscription) {
    PageBuilder other(L"http://server/other.html");
    ComPtr<BrowserDouble> second{other.browser(&frame)};
    second->bandFactory = browser->bandFactory;
    ASSERT_EQ(helper->SetSite(browser->unknown()), S_OK);
    ASSERT_EQ(helper->SetSite(second->unknown()), S_OK);
    EXPECT_EQ(browser->connectionPoint()->sinkCount(), 0u) << "the old browser must let the helper go";
    EXPECT_EQ(second->connectionPoint()->sinkCount(), 1u);
    band.log.clear();
    browser->fireTitleChange(L"old");
    second->fireTitleChange(L"new");
    EXPECT_EQ(band.log, Log{"TITLE_CHANGE 0"});
    EXPECT_EQ(helper->SetSite(nullptr), S_OK);
    EXPECT_EQ(second->connectionPoint()->sinkCount(), 0u) << "also without OnQuit";
    void* site = reinterpret_cast<void*>(1);
    EXPECT_EQ(helper->GetSite(IID_IUnknown, &site), E_FAIL);
    EXPECT_EQ(site, nullptr);
    second->quit();
}

TEST_F(BrowserHelperTest, WithoutTheBandsWindowOrTheBrowsersEventsNothingIsSubscribed) {
    DestroyWindow(band.window);
    EXPECT_EQ(helper->SetSite(browser->unknown()), E_FAIL);
    EXPECT_EQ(browser->connectionPoint()->adviseCount(), 0);
    ASSERT_EQ(browser->barCalls().size(), 1u) << "the band is asked for all the same";
    EXPECT_TRUE(browser->barCalls()[0].show);
    EXPECT_EQ(browser->barCalls()[0].sizeType, VT_EMPTY);

    Recorder again(frame.rebar(), *browser.get());
    browser->refuseInterface(IID_IConnectionPointContainer);
    EXPECT_EQ(helper->SetSite(browser->unknown()), E_POINTER);
    auto notABrowser = ComPtr<SiteDouble>::adopt(new SiteDouble);
    EXPECT_EQ(helper->SetSite(notABrowser->unknown()), E_POINTER);
    EXPECT_EQ(helper->SetSite(nullptr), S_OK);
    EXPECT_EQ(notABrowser->refCount(), 1);
}

TEST_F(BrowserHelperTest, EventsAfterTheBandsWindowIsGoneAreDropped) {
    ASSERT_EQ(helper->SetSite(browser->unknown()), S_OK);
    DestroyWindow(band.window);
    EXPECT_TRUE(browser->playPageLoad());
    EXPECT_EQ(browser->fireOnQuit(), S_OK);
    EXPECT_EQ(band.log, Log{"HELPER_ATTACHED 0"});
}

}  // namespace
