#pragma once
// COM identity: two interface pointers are one object exactly when their IUnknown faces are equal.

#include "common/com_ptr.h"

namespace quorin {

template <class T>
ComPtr<IUnknown> identityOf(T* object) noexcept {
    return queryAs<IUnknown>(object);
}

// An object without an identity is never the same as another.
template <class T, class U>
bool sameObject(T* one, U* other) noexcept {
    const ComPtr<IUnknown> identity = identityOf(one);
    return identity && identity.get() == identityOf(other).get();
}

}  // namespace quorin
