#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "common/module.h"
#include "common/unique_handle.h"

namespace {

// What CTest counts as skipped (SKIP_RETURN_CODE of the programs run with QUORIN_NEEDS_DRAWING).
constexpr int kSkipped = 77;

// Whether the system draws as the browser's windows need it: device bitmaps, image lists and
// text measurement. Wine's WoW64 mode (32-bit programs on 64-bit Wine 8) makes none of the first
// two, so toolbars, menus and dialogs cannot be tested faithfully there.
bool systemDraws() {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = screen ? CreateCompatibleBitmap(screen, 16, 16) : nullptr;
    if (screen) ReleaseDC(nullptr, screen);
    if (!bitmap) return false;
    DeleteObject(bitmap);
    InitCommonControls();
    return quorin::ImageListHandle(ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, 1, 1)).get() != nullptr;
}

}  // namespace

// Tests run on one apartment thread, as the browser's window threads do. Programs that link the
// library's resources find them through the module handle.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GetEnvironmentVariableW(L"QUORIN_NEEDS_DRAWING", nullptr, 0) != 0 && !systemDraws()) {
        std::printf("skipped: this system makes no device bitmaps or image lists (Wine's WoW64 mode), so its "
                    "toolbars, menus and dialogs cannot be tested here\n");
        return kSkipped;
    }
    quorin::setModuleHandle(GetModuleHandleW(nullptr));
    if (FAILED(OleInitialize(nullptr))) return 2;
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
