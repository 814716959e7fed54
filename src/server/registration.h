#pragma once
// Self-registration: the class keys, the browser's toolbar and helper entries, the shell's list
// of approved extensions, and the settings root key.

#include <windows.h>

namespace quorin {

constexpr int kClassIdChars = 80;

// Braced form of the class id, at most 79 characters; the length, 0 on failure.
int classIdString(REFCLSID classId, wchar_t (&buffer)[kClassIdChars]);

bool setStringValue(HKEY root, const wchar_t* subkey, const wchar_t* valueName, const wchar_t* text);
// Without a value name the key itself, which must have no subkeys.
bool deleteKeyOrValue(HKEY root, const wchar_t* subkey, const wchar_t* valueName);

bool registerClass(REFCLSID classId, const wchar_t* description);
bool unregisterClass(REFCLSID classId);

// IDYES when the user agrees to discard the stored settings; 0 when the box cannot be shown.
int confirmDiscard();

// root is HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER for the toolbar and helper entries.
// S_OK or SELFREG_E_CLASS, nothing else.
HRESULT registerServer(HKEY root) noexcept;
HRESULT unregisterServer(HKEY root) noexcept;

}  // namespace quorin
