#include "common/module.h"

namespace quorin {

namespace {
HINSTANCE g_module = nullptr;
volatile LONG g_liveObjects = 0;
}  // namespace

HINSTANCE moduleHandle() noexcept { return g_module; }
void setModuleHandle(HINSTANCE instance) noexcept { g_module = instance; }

LONG liveObjects() noexcept { return g_liveObjects; }
void objectCreated() noexcept { InterlockedIncrement(&g_liveObjects); }
void objectDestroyed() noexcept { InterlockedDecrement(&g_liveObjects); }

}  // namespace quorin
