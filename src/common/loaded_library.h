#pragma once
// Owned module handle from LoadLibrary, freed on destruction.

#include <windows.h>

#include "common/unique_handle.h"

namespace quorin {

class LoadedLibrary : public UniqueHandle<HMODULE, FreeLibrary> {
public:
    using UniqueHandle::UniqueHandle;

    FARPROC entry(const char* name) const noexcept { return get() ? GetProcAddress(get(), name) : nullptr; }
};

}  // namespace quorin
