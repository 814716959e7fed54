#pragma once
// Keeps C++ exceptions from crossing COM methods and window procedures.

#include <windows.h>
#include <new>

namespace quorin {

template <class F>
HRESULT comGuard(F&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

template <class F>
LRESULT windowGuard(F&& body, LRESULT onFailure = 0) noexcept {
    try {
        return body();
    } catch (...) {
        return onFailure;
    }
}

}  // namespace quorin
