#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/module.h"
#include "common/window_class.h"

using namespace quorin;

namespace {

// Browser threads creating their first band at the same moment all get their window class,
// whichever of them registers it.
TEST(WindowClass, ThreadsRegisteringAtOnceAllSucceed) {
    setModuleHandle(GetModuleHandleW(nullptr));
    constexpr int kThreads = 8;
    constexpr int kClasses = 40;
    std::atomic<int> waiting{kThreads};
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (--waiting; waiting > 0;) std::this_thread::yield();
            for (int c = 0; c < kClasses; ++c) {
                const std::wstring name = L"QuorinRaceClass" + std::to_wstring(c);
                if (!ensureWindowClass(name.c_str(), DefWindowProcW)) ++failures;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures, 0);

    HWND window = CreateWindowExW(0, L"QuorinRaceClass0", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  moduleHandle(), nullptr);
    EXPECT_NE(window, nullptr);
    DestroyWindow(window);
}

}  // namespace
