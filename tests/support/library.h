#pragma once
// The built library, loaded from beside the test program, with its exports.

#include <windows.h>
#include <unknwn.h>

#include <string>

namespace quorin::test {

std::wstring programFolder();

class Library {
public:
    explicit Library(const wchar_t* fileName = L"QuorinU.dll");
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    HMODULE handle() const noexcept { return module_; }
    FARPROC entry(const char* name) const noexcept;

    HRESULT getClassObject(REFCLSID classId, REFIID riid, void** out) const;
    HRESULT canUnloadNow() const;
    // A new object of classId through its class factory; the caller owns the reference.
    HRESULT create(REFCLSID classId, REFIID riid, void** out) const;

private:
    HMODULE module_;
};

}  // namespace quorin::test
