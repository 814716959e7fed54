#pragma once
// Class object for the band and the helper; one fresh factory per DllGetClassObject call.

#include <windows.h>
#include <unknwn.h>

#include "common/module.h"

namespace quorin {

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(REFCLSID classId) noexcept : classId_(classId) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IClassFactory
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ~ClassFactory() = default;

    LiveObject live_;
    CLSID classId_;
    volatile LONG refs_ = 1;
};

// DllGetClassObject's work: a factory for a known class, queried for riid.
HRESULT getClassObject(REFCLSID classId, REFIID riid, void** out) noexcept;

}  // namespace quorin
