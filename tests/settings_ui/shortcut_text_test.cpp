// Shortcut values as the link-type list shows them.
#include <gtest/gtest.h>

#include "settings_ui/shortcut_text.h"

namespace quorin {
namespace {

TEST(ShortcutText, ModifiersComeInTheOrderControlShiftAltAndTheExtendedFlagIsNotShown) {
    EXPECT_EQ(formatShortcut(0x034E), L"C + S + N");
    EXPECT_EQ(formatShortcut(0x02C0), L"C + @");
    EXPECT_EQ(formatShortcut(0x0470), L"A + F1");
    EXPECT_EQ(formatShortcut(0x0774), L"C + S + A + F5");
    EXPECT_EQ(formatShortcut(0x00BA), L";");
    EXPECT_EQ(formatShortcut(0x0A25), L"C + Left");
    EXPECT_EQ(formatShortcut(0x0200), L"C + ");
    EXPECT_EQ(formatShortcut(0), L"");
}

TEST(ShortcutText, KeyNamesAndTheHexadecimalFormOfUnnamedCodes) {
    const std::pair<BYTE, const wchar_t*> names[] = {
        {0x08, L"Back"}, {0x0D, L"Ret"},   {0x10, L"0x10"},  {0x1B, L"ESC"},   {0x1F, L"Mode"},  {0x20, L"SPC"},
        {0x2F, L"Help"}, {0x30, L"0"},     {0x3F, L"/"},     {0x40, L"0x40"},  {0x5A, L"Z"},     {0x5D, L"App"},
        {0x5E, L"0x5E"}, {0x5F, L"Sleep"}, {0x69, L"Num9"},  {0x6C, L"NumS"},  {0x87, L"F24"},   {0x88, L"0x88"},
        {0x92, L"="},    {0x93, L"0x93"},  {0xBB, L"+"},     {0xC1, L"0xC1"},  {0xDC, L"\\"},    {0xDE, L"^"},
        {0xDF, L"0xDF"}, {0xE2, L"\\"},    {0xE3, L"00"},    {0xE4, L"0xE4"},  {0xFF, L"0xFF"},
    };
    for (const auto& [code, name] : names) EXPECT_EQ(keyName(code), name) << "code " << int(code);
}

}  // namespace
}  // namespace quorin
