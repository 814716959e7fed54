#include "browser/band_fixture.h"

namespace quorin::test {

namespace {

constexpr wchar_t kHostClass[] = L"QuorinTestHost";

ATOM registerHostClass() {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    info.lpfnWndProc = DefWindowProcW;
    info.hInstance = GetModuleHandleW(nullptr);
    info.lpszClassName = kHostClass;
    return RegisterClassExW(&info);
}

}  // namespace

HostWindow::HostWindow() {
    static const ATOM atom = registerHostClass();
    (void)atom;
    window_ = CreateWindowExW(0, kHostClass, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 60, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
}

HostWindow::~HostWindow() {
    if (window_) DestroyWindow(window_);
}

void BandTest::SetUp() {
    ASSERT_NE(library.handle(), nullptr);
    ASSERT_NE(host.handle(), nullptr);
    doublesBefore = DoubleBase::liveDoubles();
    ASSERT_EQ(library.create(CLSID_ToolbarBand, IID_IObjectWithSite, band.putVoid()), S_OK);
}

void BandTest::TearDown() {
    band.reset();
    EXPECT_EQ(library.canUnloadNow(), S_OK) << "the band outlived its last reference";
    EXPECT_EQ(DoubleBase::liveDoubles(), doublesBefore) << "a reference to a double was not given back";
}

ComPtr<SiteDouble> BandTest::makeSite() { return ComPtr<SiteDouble>::adopt(new SiteDouble(host.handle())); }

HWND BandTest::messageWindow() {
    HWND window = nullptr;
    band.as<IDeskBand>()->GetWindow(&window);
    return window;
}

}  // namespace quorin::test
