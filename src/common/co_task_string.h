#pragma once
// Owned string from the COM task allocator (StringFromIID and its kin).

#include <windows.h>
#include <objbase.h>

#include "common/unique_handle.h"

namespace quorin {

using CoTaskString = UniqueHandle<LPOLESTR, CoTaskMemFree>;

}  // namespace quorin
