#pragma once
// What registering the library leaves in the registry, and how the tests read and clear it.

#include <windows.h>

#include <string>

namespace quorin::test {

extern const std::wstring kBand;
extern const std::wstring kHelper;
extern const std::wstring kApproved;
extern const std::wstring kToolbar;
extern const std::wstring kHelperKey;
extern const std::wstring kSettings;
extern const wchar_t kMissing[];

// The REG_SZ text of a value, or a marker saying why there is none.
std::wstring textOf(HKEY root, const std::wstring& path, const wchar_t* name);
bool keyExists(HKEY root, const std::wstring& path);
DWORD valueCount(HKEY root, const std::wstring& path);
bool writeText(HKEY root, const std::wstring& path, const wchar_t* name, const wchar_t* text);
// Every entry registration writes, under both roots, and the settings.
void removeFootprint();

}  // namespace quorin::test
