// Plays the shell's file window for the band and the helper: copied to a folder as "explorer.exe"
// by the tests and run there. Exit code 0 when the band stayed empty and the helper hid it, else
// the number of the failed check.

#include <windows.h>
#include <shlobj.h>

#include "common/com_ptr.h"
#include "shared/class_ids.h"
#include "support/browser_double.h"
#include "support/registry_sandbox.h"
#include "support/site_double.h"

using namespace quorin;

namespace {

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

// The helper asks the browser to hide the band and subscribes to nothing.
int checkHelper(GetClassObject getClassObject) {
    ComPtr<IClassFactory> factory;
    ComPtr<IObjectWithSite> helper;
    if (FAILED(getClassObject(CLSID_BrowserHelper, IID_IClassFactory, factory.putVoid())) ||
        FAILED(factory->CreateInstance(nullptr, IID_IObjectWithSite, helper.putVoid())))
        return 14;
    auto browser = ComPtr<test::BrowserDouble>::adopt(new test::BrowserDouble);
    int failed = 0;
    if (helper->SetSite(browser->unknown()) != S_OK)
        failed = 5;
    else if (browser->barCalls().size() != 1 || browser->barCalls()[0].show)
        failed = 6;
    else if (browser->connectionPoint()->adviseCount() != 0)
        failed = 7;
    helper->SetSite(nullptr);
    return failed;
}

int check(const wchar_t* libraryPath) {
    HMODULE library = LoadLibraryW(libraryPath);
    if (!library) return 10;
    auto getClassObject = reinterpret_cast<GetClassObject>(GetProcAddress(library, "DllGetClassObject"));
    if (!getClassObject) return 11;

    int failed = 0;
    {
        ComPtr<IClassFactory> factory;
        if (FAILED(getClassObject(CLSID_ToolbarBand, IID_IClassFactory, factory.putVoid()))) return 12;
        ComPtr<IObjectWithSite> band;
        if (FAILED(factory->CreateInstance(nullptr, IID_IObjectWithSite, band.putVoid()))) return 13;
        HWND rebar = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 40, nullptr, nullptr,
                                     nullptr, nullptr);
        auto site = ComPtr<test::SiteDouble>::adopt(new test::SiteDouble(rebar));
        HWND window = reinterpret_cast<HWND>(1);
        void* kept = nullptr;
        if (band->SetSite(site->unknown()) != S_OK)
            failed = 1;
        else if (band.as<IDeskBand>()->GetWindow(&window) != S_OK || window)
            failed = 2;
        else if (band->GetSite(IID_IUnknown, &kept) != E_FAIL || kept)
            failed = 3;
        else if (site->refCount() != 1)
            failed = 4;
        band.reset();
        DestroyWindow(rebar);
        if (!failed) failed = checkHelper(getClassObject);
    }
    FreeLibrary(library);
    return failed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 9;
    if (FAILED(OleInitialize(nullptr))) return 8;
    const test::RegistrySandbox sandbox;
    const int result = check(argv[1]);
    OleUninitialize();
    return result;
}
