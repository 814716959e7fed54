#include "setup/registry_footprint.h"

#include <shlwapi.h>

#include <cwchar>

#include "common/reg_key.h"

namespace quorin::test {

const std::wstring kBand = L"{6E5A7C21-3F4B-4D8A-9C1E-2B7D5F0A4C11}";
const std::wstring kHelper = L"{6E5A7C22-3F4B-4D8A-9C1E-2B7D5F0A4C11}";
const std::wstring kApproved = L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const std::wstring kToolbar = L"Software\\Microsoft\\Internet Explorer\\Toolbar";
const std::wstring kHelperKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\" + kHelper;
const std::wstring kSettings = L"Software\\Orv\\Quorin";
const wchar_t kMissing[] = L"<missing>";

std::wstring textOf(HKEY root, const std::wstring& path, const wchar_t* name) {
    RegKey key;
    DWORD type = 0, size = 0;
    if (!key.open(root, path.c_str(), KEY_READ) ||
        RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return kMissing;
    if (type != REG_SZ) return L"<type " + std::to_wstring(type) + L">";
    std::wstring text(size / sizeof(wchar_t), L'\0');
    RegQueryValueExW(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size);
    if (text.empty() || text.back() != L'\0') return L"<unterminated>";
    text.pop_back();
    return text;
}

bool keyExists(HKEY root, const std::wstring& path) {
    RegKey key;
    return key.open(root, path.c_str(), KEY_READ);
}

DWORD valueCount(HKEY root, const std::wstring& path) {
    RegKey key;
    DWORD values = 0;
    if (!key.open(root, path.c_str(), KEY_READ)) return 0;
    RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    return values;
}

bool writeText(HKEY root, const std::wstring& path, const wchar_t* name, const wchar_t* text) {
    RegKey key;
    return key.create(root, path.c_str(), KEY_WRITE) &&
           RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void removeFootprint() {
    for (const std::wstring* clsid : {&kBand, &kHelper}) {
        SHDeleteKeyW(HKEY_CLASSES_ROOT, (L"CLSID\\" + *clsid).c_str());
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kApproved.c_str(), clsid->c_str());
    }
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        RegDeleteKeyValueW(root, kToolbar.c_str(), kBand.c_str());
        SHDeleteKeyW(root, kHelperKey.c_str());
    }
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orv");
}

}  // namespace quorin::test
