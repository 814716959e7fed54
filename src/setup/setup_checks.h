#pragma once
// The registration program's decisions that depend only on what the system reports.

#include <windows.h>

namespace quorin::setup {

// The browser component's version as one number: major in the high, minor in the low 16 bits.
LONG packedVersion(DWORD major, DWORD minor) noexcept;
// Version 5.0 or later, compared as a signed number.
bool browserVersionEnough(LONG packed) noexcept;
// The library build for the platform family, or null for a platform without one.
const char* libraryFileName(DWORD platformId) noexcept;

}  // namespace quorin::setup
