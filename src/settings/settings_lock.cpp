#include "settings/settings_lock.h"

namespace quorin {

namespace {

// One name for the session: browser processes of the same user share it.
constexpr wchar_t kMutexName[] = L"Local\\Quorin.Settings";
// A window that hangs while holding the lock must not hang the others for good: past this they
// go on as if there were no lock.
constexpr DWORD kPatienceMs = 10000;

}  // namespace

SettingsLock::SettingsLock() noexcept : mutex_(CreateMutexW(nullptr, FALSE, kMutexName)) {
    if (!mutex_) return;
    // An owner that ended without letting go leaves the registry as it left it; the lock is ours.
    const DWORD result = WaitForSingleObject(mutex_.get(), kPatienceMs);
    owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

SettingsLock::~SettingsLock() {
    if (owned_) ReleaseMutex(mutex_.get());
}

}  // namespace quorin
