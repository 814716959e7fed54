#include "support/library.h"

#include "common/com_ptr.h"

namespace quorin::test {

std::wstring programFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

Library::Library(const wchar_t* fileName) : module_(LoadLibraryW((programFolder() + fileName).c_str())) {}

Library::~Library() {
    if (module_) FreeLibrary(module_);
}

FARPROC Library::entry(const char* name) const noexcept {
    return module_ ? GetProcAddress(module_, name) : nullptr;
}

HRESULT Library::getClassObject(REFCLSID classId, REFIID riid, void** out) const {
    using Fn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto fn = reinterpret_cast<Fn>(entry("DllGetClassObject"));
    return fn ? fn(classId, riid, out) : E_NOTIMPL;
}

HRESULT Library::canUnloadNow() const {
    using Fn = HRESULT(STDAPICALLTYPE*)();
    auto fn = reinterpret_cast<Fn>(entry("DllCanUnloadNow"));
    return fn ? fn() : E_NOTIMPL;
}

HRESULT Library::create(REFCLSID classId, REFIID riid, void** out) const {
    ComPtr<IClassFactory> factory;
    const HRESULT hr = getClassObject(classId, IID_IClassFactory, factory.putVoid());
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(nullptr, riid, out);
}

}  // namespace quorin::test
