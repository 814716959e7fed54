#include <gtest/gtest.h>
#include <shlwapi.h>

#include "browser/band_fixture.h"
#include "browser/custom_messages.h"

using namespace quorin;
using namespace quorin::test;

namespace {

std::wstring className(HWND window) {
    wchar_t name[80] = {};
    GetClassNameW(window, name, 80);
    return name;
}

TEST_F(BandTest, InterfacesShareTheirIdentities) {
    auto deskBand = band.as<IDeskBand>();
    ASSERT_TRUE(deskBand);
    EXPECT_EQ(static_cast<IUnknown*>(band.as<IOleWindow>().get()), deskBand.get());
    EXPECT_EQ(static_cast<IUnknown*>(band.as<IDockingWindow>().get()), deskBand.get());
    auto persistStream = band.as<IPersistStream>();
    ASSERT_TRUE(persistStream);
    EXPECT_EQ(static_cast<IUnknown*>(band.as<IPersist>().get()), persistStream.get());
    EXPECT_EQ(band.as<IUnknown>().get(), static_cast<IUnknown*>(band.get()));
    EXPECT_TRUE(band.as<IInputObject>());

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(band->QueryInterface(IID_IDispatch, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}

TEST_F(BandTest, BandInformationFollowsTheRequestMask) {
    auto deskBand = band.as<IDeskBand>();
    DESKBANDINFO info{};
    FillMemory(&info, sizeof info, 0x5a);
    const DESKBANDINFO untouched = info;
    info.dwMask = DBIM_MINSIZE;
    ASSERT_EQ(deskBand->GetBandInfo(0, DBIF_VIEWMODE_NORMAL, &info), S_OK);
    EXPECT_EQ(info.dwMask, static_cast<DWORD>(DBIM_MINSIZE));
    EXPECT_EQ(info.ptMinSize.x, 68);
    EXPECT_EQ(info.ptMinSize.y, 22);
    EXPECT_EQ(memcmp(&info.ptMaxSize, &untouched.ptMaxSize, sizeof info.ptMaxSize), 0);
    EXPECT_EQ(memcmp(info.wszTitle, untouched.wszTitle, sizeof info.wszTitle), 0);
    EXPECT_EQ(info.dwModeFlags, untouched.dwModeFlags);

    info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_TITLE | DBIM_MODEFLAGS |
                  DBIM_BKCOLOR;
    ASSERT_EQ(deskBand->GetBandInfo(7, DBIF_VIEWMODE_VERTICAL, &info), S_OK);
    EXPECT_EQ(info.dwMask & DBIM_BKCOLOR, 0u) << "the browser's own background is wanted";
    EXPECT_EQ(info.ptMaxSize.x, -1);
    EXPECT_EQ(info.ptMaxSize.y, 22);
    EXPECT_EQ(info.ptIntegral.x, 1);
    EXPECT_EQ(info.ptIntegral.y, 1);
    EXPECT_EQ(info.ptActual.x, 68);
    EXPECT_EQ(info.ptActual.y, 22);
    EXPECT_EQ(info.wszTitle[0], L'\0');
    EXPECT_EQ(info.dwModeFlags, static_cast<DWORD>(DBIMF_NORMAL));
    EXPECT_EQ(info.crBkgnd, untouched.crBkgnd);

    EXPECT_EQ(deskBand->GetBandInfo(0, 0, nullptr), E_INVALIDARG);
}

TEST_F(BandTest, PersistsNothingInTheBrowsersStream) {
    auto persist = band.as<IPersistStream>();
    CLSID classId{};
    EXPECT_EQ(persist->GetClassID(&classId), S_OK);
    EXPECT_EQ(classId, CLSID_ToolbarBand);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);

    ComPtr<IStream> stream = ComPtr<IStream>::adopt(SHCreateMemStream(nullptr, 0));
    ASSERT_TRUE(stream);
    EXPECT_EQ(persist->Save(stream.get(), TRUE), S_OK);
    STATSTG stat{};
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 0u);
    EXPECT_EQ(persist->Load(stream.get()), S_OK);
    ULARGE_INTEGER size{};
    EXPECT_EQ(persist->GetSizeMax(&size), E_NOTIMPL);
}

TEST_F(BandTest, WithoutASiteThereIsNothing) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(band->GetSite(IID_IUnknown, &out), E_FAIL);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(band->SetSite(nullptr), S_OK);
    EXPECT_EQ(messageWindow(), nullptr);
    auto deskBand = band.as<IDeskBand>();
    EXPECT_EQ(deskBand->ShowDW(TRUE), S_OK);
    EXPECT_EQ(deskBand->CloseDW(0), S_OK);
    EXPECT_EQ(band.as<IInputObject>()->HasFocusIO(), S_FALSE);
}

TEST_F(BandTest, SiteCreatesTheHiddenMessageWindowUnderTheRebar) {
    auto site = makeSite();
    ASSERT_EQ(band->SetSite(site->unknown()), S_OK);
    HWND window = messageWindow();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(className(window), kMessageWindowClass);
    EXPECT_EQ(GetParent(window), host.handle());
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    auto deskBand = band.as<IDeskBand>();
    EXPECT_EQ(deskBand->ShowDW(TRUE), S_OK);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(deskBand->ShowDW(FALSE), S_OK);
    EXPECT_FALSE(IsWindowVisible(window));

    ComPtr<IInputObjectSite> kept;
    EXPECT_EQ(band->GetSite(IID_IInputObjectSite, kept.putVoid()), S_OK);
    EXPECT_EQ(kept.get(), static_cast<IInputObjectSite*>(site.get()));
    kept.reset();

    EXPECT_EQ(deskBand->CloseDW(0), S_OK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(messageWindow(), nullptr);
    EXPECT_EQ(band->SetSite(nullptr), S_OK);
    EXPECT_GT(site->refCount(), 1) << "the toolbar window and its controllers keep theirs until destroyed";
    deskBand.reset();
    band.reset();
    EXPECT_EQ(site->refCount(), 1);
}

TEST_F(BandTest, SecondSiteReplacesTheFirstAndKeepsTheWindow) {
    auto first = makeSite();
    auto second = makeSite();
    ASSERT_EQ(band->SetSite(first->unknown()), S_OK);
    HWND window = messageWindow();
    const LONG firstHeld = first->refCount();
    EXPECT_GT(firstHeld, 1);
    ASSERT_EQ(band->SetSite(second->unknown()), S_OK);
    EXPECT_EQ(messageWindow(), window);
    EXPECT_EQ(first->refCount(), 1) << "the old site must be given back";
    EXPECT_EQ(second->refCount(), firstHeld);
    band.as<IDeskBand>()->CloseDW(0);
    band->SetSite(nullptr);
}

TEST_F(BandTest, FocusChangesReachTheSiteWithTheBandIdentity) {
    auto site = makeSite();
    ASSERT_EQ(band->SetSite(site->unknown()), S_OK);
    auto deskBand = band.as<IDeskBand>();
    deskBand->ShowDW(TRUE);
    auto input = band.as<IInputObject>();
    EXPECT_EQ(input->HasFocusIO(), S_FALSE);
    EXPECT_EQ(input->UIActivateIO(FALSE, nullptr), S_OK);
    EXPECT_TRUE(site->focusChanges().empty());

    EXPECT_EQ(input->UIActivateIO(TRUE, nullptr), S_OK);
    EXPECT_EQ(GetFocus(), messageWindow());
    EXPECT_EQ(input->HasFocusIO(), S_OK);
    ASSERT_EQ(site->focusChanges().size(), 1u);
    EXPECT_EQ(site->focusChanges()[0].object, static_cast<IUnknown*>(deskBand.get()));
    EXPECT_TRUE(site->focusChanges()[0].focused);

    SetFocus(host.handle());
    EXPECT_EQ(input->HasFocusIO(), S_FALSE);
    ASSERT_EQ(site->focusChanges().size(), 2u);
    EXPECT_FALSE(site->focusChanges()[1].focused);
    EXPECT_EQ(input->TranslateAcceleratorIO(nullptr), S_FALSE);

    deskBand->CloseDW(0);
    band->SetSite(nullptr);
}

TEST_F(BandTest, ActivatingABandWithoutItsWindowLeavesTheFocusAlone) {
    SetFocus(host.handle());
    ASSERT_EQ(GetFocus(), host.handle());
    EXPECT_EQ(band.as<IInputObject>()->UIActivateIO(TRUE, nullptr), S_OK);
    EXPECT_EQ(GetFocus(), host.handle());
}

TEST_F(BandTest, SiteWithoutWindowOrInputSiteIsRefused) {
    auto noWindow = makeSite();
    noWindow->refuseInterface(IID_IOleWindow);
    EXPECT_EQ(band->SetSite(noWindow->unknown()), E_POINTER);
    EXPECT_EQ(messageWindow(), nullptr);

    auto noParent = makeSite();
    noParent->setWindow(nullptr);
    EXPECT_EQ(band->SetSite(noParent->unknown()), E_FAIL);
    EXPECT_EQ(messageWindow(), nullptr);

    auto noInputSite = makeSite();
    noInputSite->refuseInterface(IID_IInputObjectSite);
    EXPECT_EQ(band->SetSite(noInputSite->unknown()), E_POINTER);
    void* out = nullptr;
    EXPECT_EQ(band->GetSite(IID_IUnknown, &out), E_FAIL);

    auto good = makeSite();
    EXPECT_EQ(band->SetSite(good->unknown()), S_OK) << "a failed site leaves the band usable";
    band.as<IDeskBand>()->CloseDW(0);
    band->SetSite(nullptr);
    EXPECT_EQ(noWindow->refCount(), 1);
    EXPECT_EQ(noParent->refCount(), 1);
    EXPECT_EQ(noInputSite->refCount(), 1);
}

TEST_F(BandTest, LastReleaseDestroysABandThatStillHasItsSite) {
    auto site = makeSite();
    ASSERT_EQ(band->SetSite(site->unknown()), S_OK);
    HWND window = messageWindow();
    band.reset();
    EXPECT_EQ(library.canUnloadNow(), S_OK) << "the band must not keep itself alive";
    EXPECT_EQ(site->refCount(), 1);
    EXPECT_FALSE(IsWindow(window));
}

bool classExists(const wchar_t* name) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    return GetClassInfoExW(GetModuleHandleW(nullptr), name, &info) != FALSE;
}

// The library may be unloaded and loaded again, at another address, into the same browser.
TEST(WindowClasses, GoWithTheLibraryAndComeBackWithIt) {
    const RegistrySandbox sandbox;
    const HostWindow host;
    for (int load = 0; load < 2; ++load) {
        Library library;
        ComPtr<IObjectWithSite> band;
        ASSERT_EQ(library.create(CLSID_ToolbarBand, IID_IObjectWithSite, band.putVoid()), S_OK);
        auto site = ComPtr<SiteDouble>::adopt(new SiteDouble(host.handle()));
        ASSERT_EQ(band->SetSite(site->unknown()), S_OK) << "load " << load;
        EXPECT_TRUE(classExists(kMessageWindowClass));
        EXPECT_TRUE(classExists(L"QuorinButtonMsgClass"));
        band.as<IDeskBand>()->CloseDW(0);
        band->SetSite(nullptr);
    }
    EXPECT_FALSE(classExists(kMessageWindowClass));
    EXPECT_FALSE(classExists(L"QuorinButtonMsgClass"));
}

TEST_F(BandTest, UnusedOperationsAreNotImplemented) {
    auto deskBand = band.as<IDeskBand>();
    EXPECT_EQ(deskBand->ContextSensitiveHelp(TRUE), E_NOTIMPL);
    RECT border{};
    EXPECT_EQ(deskBand->ResizeBorderDW(&border, nullptr, FALSE), E_NOTIMPL);
}

}  // namespace
