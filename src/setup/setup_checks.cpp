#include "setup/setup_checks.h"

namespace quorin::setup {

namespace {
constexpr LONG kMinimumBrowserVersion = 0x50000;
}

LONG packedVersion(DWORD major, DWORD minor) noexcept {
    return static_cast<LONG>(((major & 0xFFFF) << 16) | (minor & 0xFFFF));
}

bool browserVersionEnough(LONG packed) noexcept { return packed >= kMinimumBrowserVersion; }

const char* libraryFileName(DWORD platformId) noexcept {
    switch (platformId) {
        case VER_PLATFORM_WIN32_WINDOWS: return "Quorin.DLL";  // the single-byte build
        case VER_PLATFORM_WIN32_NT: return "QuorinU.DLL";
        default: return nullptr;
    }
}

}  // namespace quorin::setup
