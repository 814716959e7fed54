#pragma once
// Owned module handle from LoadLibrary, freed on destruction.

#include <windows.h>
#include <utility>

namespace quorin {

class LoadedLibrary {
public:
    explicit LoadedLibrary(HMODULE module = nullptr) noexcept : module_(module) {}
    LoadedLibrary(LoadedLibrary&& o) noexcept : module_(std::exchange(o.module_, nullptr)) {}
    LoadedLibrary& operator=(LoadedLibrary&& o) noexcept {
        if (this != &o) {
            reset();
            module_ = std::exchange(o.module_, nullptr);
        }
        return *this;
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    ~LoadedLibrary() { reset(); }

    HMODULE get() const noexcept { return module_; }
    explicit operator bool() const noexcept { return module_ != nullptr; }
    FARPROC entry(const char* name) const noexcept { return module_ ? GetProcAddress(module_, name) : nullptr; }
    void reset() noexcept {
        if (HMODULE m = std::exchange(module_, nullptr)) FreeLibrary(m);
    }

private:
    HMODULE module_ = nullptr;
};

}  // namespace quorin
