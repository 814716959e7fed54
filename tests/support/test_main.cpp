#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "common/module.h"
#include "common/unique_handle.h"

namespace {

// What CTest counts as skipped (SKIP_RETURN_CODE of the programs run with QUORIN_NEEDS_DRAWING).
// Where every program must run (./run test sets QUORIN_REQUIRE_DRAWING), such a program fails.
constexpr int kSkipped = 77;

// Whether the system draws as the browser's windows need it: device bitmaps and image lists. The
// experimental WoW64 mode of Wine 8 (32-bit programs on a 64-bit Wine) makes neither, so toolbars,
// menus and dialogs cannot be tested faithfully there; Windows and Wine 10 make both.
bool systemDraws() {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = screen ? CreateCompatibleBitmap(screen, 16, 16) : nullptr;
    if (screen) ReleaseDC(nullptr, screen);
    if (!bitmap) return false;
    DeleteObject(bitmap);
    InitCommonControls();
    return quorin::ImageListHandle(ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, 1, 1)).get() != nullptr;
}

bool isSet(const wchar_t* variable) { return GetEnvironmentVariableW(variable, nullptr, 0) != 0; }

}  // namespace

// Tests run on one apartment thread, as the browser's window threads do. Programs that link the
// library's resources find them through the module handle.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (isSet(L"QUORIN_NEEDS_DRAWING") && !systemDraws()) {
        std::printf("%s: this system makes no device bitmaps or image lists (Wine 8's WoW64 mode), so its "
                    "toolbars, menus and dialogs cannot be tested here\n",
                    isSet(L"QUORIN_REQUIRE_DRAWING") ? "failed" : "skipped");
        return isSet(L"QUORIN_REQUIRE_DRAWING") ? 1 : kSkipped;
    }
    quorin::setModuleHandle(GetModuleHandleW(nullptr));
    if (FAILED(OleInitialize(nullptr))) return 2;
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
