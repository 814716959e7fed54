// Names of virtual keys and the text of a shortcut value.
#include "settings_ui/shortcut_text.h"

#include <commctrl.h>

#include <cwchar>

#include "common/number_text.h"

namespace quorin {

namespace {

struct KeyName {
    BYTE code;
    const wchar_t* name;
};

// The named keys outside the runs of digits, letters, number-pad digits and function keys.
constexpr KeyName kKeyNameTable[] = {
    {0x08, L"Back"},   {0x09, L"Tab"},    {0x0C, L"Clear"},  {0x0D, L"Ret"},    {0x13, L"Pause"},
    {0x14, L"Caps"},   {0x15, L"Kana"},   {0x19, L"Kanji"},  {0x1B, L"ESC"},    {0x1C, L"Conv"},
    {0x1D, L"NoConv"}, {0x1E, L"Accept"}, {0x1F, L"Mode"},   {0x20, L"SPC"},    {0x21, L"PgUp"},
    {0x22, L"PgDn"},   {0x23, L"End"},    {0x24, L"Home"},   {0x25, L"Left"},   {0x26, L"Up"},
    {0x27, L"Right"},  {0x28, L"Down"},   {0x29, L"Select"}, {0x2A, L"Print"},  {0x2B, L"Exec"},
    {0x2C, L"PScr"},   {0x2D, L"Ins"},    {0x2E, L"Del"},    {0x2F, L"Help"},   {0x3A, L":"},
    {0x3B, L";"},      {0x3C, L","},      {0x3D, L"-"},      {0x3E, L"."},      {0x3F, L"/"},
    {0x5B, L"LWin"},   {0x5C, L"RWin"},   {0x5D, L"App"},    {0x5F, L"Sleep"},  {0x6A, L"Num*"},
    {0x6B, L"Num+"},   {0x6C, L"NumS"},   {0x6D, L"Num-"},   {0x6E, L"Num."},   {0x6F, L"Num/"},
    {0x90, L"NumLk"},  {0x91, L"ScrLk"},  {0x92, L"="},      {0xBA, L";"},      {0xBB, L"+"},
    {0xBC, L","},      {0xBD, L"-"},      {0xBE, L"."},      {0xBF, L"/"},      {0xC0, L"@"},
    {0xDB, L"["},      {0xDC, L"\\"},     {0xDD, L"]"},      {0xDE, L"^"},      {0xE0, L"AX"},
    {0xE1, L"102"},    {0xE2, L"\\"},     {0xE3, L"00"},
};

bool within(BYTE code, BYTE first, BYTE last) { return code >= first && code <= last; }

}  // namespace

std::wstring keyName(BYTE code) {
    if (code == 0) return std::wstring();
    if (within(code, '0', '9') || within(code, 'A', 'Z')) return std::wstring(1, static_cast<wchar_t>(code));
    if (within(code, VK_NUMPAD0, VK_NUMPAD9)) return L"Num" + decimalText(code - VK_NUMPAD0);
    if (within(code, VK_F1, VK_F24)) return L"F" + decimalText(code - VK_F1 + 1);
    for (const KeyName& key : kKeyNameTable)
        if (key.code == code) return key.name;
    return L"0x" + hexText(code, 2);
}

std::wstring formatShortcut(WORD shortcut) {
    const BYTE modifiers = HIBYTE(shortcut);
    std::wstring text;
    if (modifiers & HOTKEYF_CONTROL) text += L"C + ";
    if (modifiers & HOTKEYF_SHIFT) text += L"S + ";
    if (modifiers & HOTKEYF_ALT) text += L"A + ";
    return text + keyName(LOBYTE(shortcut));
}

}  // namespace quorin
