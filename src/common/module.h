#pragma once
// Module-wide state of the library: its instance handle and the live-object count.

#include <windows.h>

namespace quorin {

HINSTANCE moduleHandle() noexcept;
void setModuleHandle(HINSTANCE instance) noexcept;

LONG liveObjects() noexcept;
void objectCreated() noexcept;
void objectDestroyed() noexcept;

// A live object of the library: counts itself in the live-object count.
struct LiveObject {
    LiveObject() noexcept { objectCreated(); }
    LiveObject(const LiveObject&) = delete;
    LiveObject& operator=(const LiveObject&) = delete;
    ~LiveObject() { objectDestroyed(); }
};

}  // namespace quorin
