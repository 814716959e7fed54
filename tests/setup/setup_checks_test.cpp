#include <gtest/gtest.h>

#include "setup/setup_checks.h"

using namespace quorin::setup;

namespace {

TEST(BrowserVersion, FiveZeroIsTheFirstVersionAccepted) {
    EXPECT_FALSE(browserVersionEnough(packedVersion(4, 72)));
    EXPECT_FALSE(browserVersionEnough(packedVersion(4, 0xFFFF)));
    EXPECT_TRUE(browserVersionEnough(packedVersion(5, 0)));
    EXPECT_TRUE(browserVersionEnough(packedVersion(6, 0)));
    EXPECT_FALSE(browserVersionEnough(0)) << "a component without a usable version";
}

TEST(BrowserVersion, OnlyTheLow16BitsOfEachPartCountAndTheValueIsSigned) {
    EXPECT_EQ(packedVersion(0x10005, 0x10000), 0x50000);
    EXPECT_EQ(packedVersion(5, 0x12345), 0x52345);
    EXPECT_FALSE(browserVersionEnough(packedVersion(0x8000, 0))) << "negative as a signed number";
}

TEST(PlatformLibrary, EachFamilyLoadsOnlyItsOwnBuild) {
    EXPECT_STREQ(libraryFileName(VER_PLATFORM_WIN32_WINDOWS), "Quorin.DLL");
    EXPECT_STREQ(libraryFileName(VER_PLATFORM_WIN32_NT), "QuorinU.DLL");
    EXPECT_EQ(libraryFileName(VER_PLATFORM_WIN32s), nullptr);
    EXPECT_EQ(libraryFileName(3), nullptr);
}

}  // namespace
