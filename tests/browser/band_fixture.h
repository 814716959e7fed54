#pragma once
// A band created through the built library, and a stand-in for the browser's rebar window.

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "common/com_ptr.h"
#include "shared/class_ids.h"
#include "support/library.h"
#include "support/registry_sandbox.h"
#include "support/site_double.h"

namespace quorin::test {

// A plain visible top-level window that plays the rebar the band lives in.
class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HWND handle() const noexcept { return window_; }

private:
    HWND window_ = nullptr;
};

class BandTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A site whose window is the host window, with the interfaces named refused.
    ComPtr<SiteDouble> makeSite();
    HWND messageWindow();

    RegistrySandbox sandbox;
    Library library;
    HostWindow host;
    ComPtr<IObjectWithSite> band;
    LONG doublesBefore = 0;
};

}  // namespace quorin::test
