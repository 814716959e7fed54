#include "common/variant.h"

#include <new>

namespace quorin {

Variant Variant::fromString(const wchar_t* text) {
    Variant v;
    BSTR b = SysAllocString(text ? text : L"");
    if (!b) throw std::bad_alloc();
    v.v_.vt = VT_BSTR;
    v.v_.bstrVal = b;
    return v;
}

}  // namespace quorin
