#pragma once
// Counted COM interface pointer: the only place that calls AddRef/Release on borrowed objects.

#include <windows.h>
#include <objbase.h>
#include <utility>

namespace quorin {

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    explicit ComPtr(T* p) noexcept : p_(p) { addRef(); }
    ComPtr(const ComPtr& o) noexcept : p_(o.p_) { addRef(); }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ~ComPtr() { release(); }

    ComPtr& operator=(const ComPtr& o) noexcept {
        ComPtr(o).swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& o) noexcept {
        ComPtr(std::move(o)).swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) noexcept {
        reset();
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr adopt(T* p) noexcept {
        ComPtr c;
        c.p_ = p;
        return c;
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // Out-parameter slot; drops what is held first.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

    void reset() noexcept { release(); }
    T* detach() noexcept { return std::exchange(p_, nullptr); }
    void swap(ComPtr& o) noexcept { std::swap(p_, o.p_); }

    // QueryInterface into another pointer type; empty on failure.
    template <class U>
    ComPtr<U> as() const noexcept {
        ComPtr<U> u;
        if (p_) p_->QueryInterface(__uuidof(U), u.putVoid());
        return u;
    }
    template <class U>
    HRESULT queryInto(ComPtr<U>& u) const noexcept {
        if (!p_) {
            u.reset();
            return E_POINTER;
        }
        return p_->QueryInterface(__uuidof(U), u.putVoid());
    }

private:
    void addRef() noexcept {
        if (p_) p_->AddRef();
    }
    void release() noexcept {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }

    T* p_ = nullptr;
};

// QueryInterface from a raw pointer the caller does not own.
template <class U, class T>
ComPtr<U> queryAs(T* p) noexcept {
    ComPtr<U> u;
    if (p) p->QueryInterface(__uuidof(U), u.putVoid());
    return u;
}

}  // namespace quorin
