#pragma once
// Keeps the stores of all browser windows of the user's session out of each other's way while
// one of them reads or writes the registry: a group is written value by value, and a window
// opening meanwhile would otherwise read half of it (eight windows opening at once on a first
// run each found the default link types only partly written, and kept that).

#include <windows.h>

#include "common/unique_handle.h"

namespace quorin {

class SettingsLock {
public:
    SettingsLock() noexcept;
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

private:
    KernelHandle mutex_;
    bool owned_ = false;
};

}  // namespace quorin
