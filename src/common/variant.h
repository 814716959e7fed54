#pragma once
// VARIANT holder: cleared on destruction and before reuse as an out-parameter.

#include <windows.h>
#include <oleauto.h>

namespace quorin {

class Variant {
public:
    Variant() noexcept { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    static Variant fromInt(long value) noexcept {
        Variant v;
        v.v_.vt = VT_I4;
        v.v_.lVal = value;
        return v;
    }
    static Variant fromBool(bool value) noexcept {
        Variant v;
        v.v_.vt = VT_BOOL;
        v.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    // Copies the text into a new BSTR owned by the variant; throws on exhaustion.
    static Variant fromString(const wchar_t* text);

    Variant(Variant&& o) noexcept : v_(o.v_) { o.v_.vt = VT_EMPTY; }

    VARIANT* out() noexcept {
        VariantClear(&v_);
        return &v_;
    }
    VARIANT* get() noexcept { return &v_; }
    const VARIANT& ref() const noexcept { return v_; }
    VARTYPE type() const noexcept { return v_.vt; }
    // The variant itself, for by-value VARIANT parameters (still owned here).
    VARIANT value() const noexcept { return v_; }

private:
    VARIANT v_;
};

}  // namespace quorin
