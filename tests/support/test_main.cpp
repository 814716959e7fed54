#include <gtest/gtest.h>
#include <windows.h>

#include "common/module.h"

// Tests run on one apartment thread, as the browser's window threads do. Programs that link the
// library's resources find them through the module handle.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    quorin::setModuleHandle(GetModuleHandleW(nullptr));
    if (FAILED(OleInitialize(nullptr))) return 2;
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
