#include "server/registration.h"

#include <olectl.h>

#include <cwchar>
#include <string>

#include "common/co_task_string.h"
#include "common/module.h"
#include "common/reg_key.h"
#include "common/resources.h"
#include "resource.h"
#include "shared/class_ids.h"
#include "settings/settings_store.h"

namespace quorin {

namespace {

constexpr wchar_t kApprovedPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr wchar_t kToolbarPath[] = L"Software\\Microsoft\\Internet Explorer\\Toolbar";
constexpr wchar_t kHelperObjectsPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\";
constexpr wchar_t kThreadingModel[] = L"ThreadingModel";
constexpr wchar_t kApartment[] = L"Apartment";

std::wstring classKey(const wchar_t* clsid) { return std::wstring(L"CLSID\\") + clsid; }
std::wstring serverKey(const wchar_t* clsid) { return classKey(clsid) + L"\\InprocServer32"; }
std::wstring helperKey(const wchar_t* clsid) { return kHelperObjectsPath + std::wstring(clsid); }

// False when the version cannot be read; nt tells whether the approved list applies.
bool readNtPlatform(bool& nt) {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) return false;
    nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    return true;
}

bool libraryPath(wchar_t (&path)[MAX_PATH]) {
    const DWORD length = GetModuleFileNameW(moduleHandle(), path, MAX_PATH);
    return length > 0 && length < MAX_PATH;
}

bool registerServerSteps(HKEY root) {
    wchar_t band[kClassIdChars], helper[kClassIdChars];
    const std::wstring bandDescription = loadString(IDS_BAND_DESCRIPTION);
    if (bandDescription.empty() || !registerClass(CLSID_ToolbarBand, bandDescription.c_str())) return false;
    if (!classIdString(CLSID_ToolbarBand, band) || !setStringValue(root, kToolbarPath, band, bandDescription.c_str()))
        return false;
    const std::wstring helperDescription = loadString(IDS_HELPER_DESCRIPTION);
    if (helperDescription.empty() || !registerClass(CLSID_BrowserHelper, helperDescription.c_str())) return false;
    if (!classIdString(CLSID_BrowserHelper, helper) ||
        !setStringValue(root, helperKey(helper).c_str(), nullptr, helperDescription.c_str()))
        return false;
    return createRootKey();
}

bool unregisterServerSteps(HKEY root) {
    wchar_t band[kClassIdChars], helper[kClassIdChars];
    if (!classIdString(CLSID_BrowserHelper, helper) || !deleteKeyOrValue(root, helperKey(helper).c_str(), nullptr))
        return false;
    if (!unregisterClass(CLSID_BrowserHelper)) return false;
    if (!classIdString(CLSID_ToolbarBand, band) || !deleteKeyOrValue(root, kToolbarPath, band)) return false;
    if (!unregisterClass(CLSID_ToolbarBand)) return false;
    if (confirmDiscard() != IDYES) return true;
    return deleteRootKey();
}

template <class Steps>
HRESULT selfRegResult(Steps steps) noexcept {
    try {
        return steps() ? S_OK : SELFREG_E_CLASS;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

}  // namespace

int classIdString(REFCLSID classId, wchar_t (&buffer)[kClassIdChars]) {
    buffer[0] = 0;
    CoTaskString text;
    if (FAILED(StringFromIID(classId, text.put())) || !text.get()) return 0;
    std::wcsncpy(buffer, text.get(), kClassIdChars - 1);
    buffer[kClassIdChars - 1] = 0;
    return static_cast<int>(std::wcslen(buffer));
}

bool setStringValue(HKEY root, const wchar_t* subkey, const wchar_t* valueName, const wchar_t* text) {
    RegKey key;
    if (!key.create(root, subkey, KEY_WRITE)) return false;
    const DWORD bytes = static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) ==
           ERROR_SUCCESS;
}

bool deleteKeyOrValue(HKEY root, const wchar_t* subkey, const wchar_t* valueName) {
    if (!valueName) return RegDeleteKeyW(root, subkey) == ERROR_SUCCESS;
    RegKey key;
    return key.create(root, subkey, KEY_WRITE) && RegDeleteValueW(key.get(), valueName) == ERROR_SUCCESS;
}

bool registerClass(REFCLSID classId, const wchar_t* description) {
    wchar_t path[MAX_PATH];
    wchar_t clsid[kClassIdChars];
    if (!libraryPath(path) || !classIdString(classId, clsid)) return false;
    const std::wstring server = serverKey(clsid);
    if (!setStringValue(HKEY_CLASSES_ROOT, classKey(clsid).c_str(), nullptr, description) ||
        !setStringValue(HKEY_CLASSES_ROOT, server.c_str(), nullptr, path) ||
        !setStringValue(HKEY_CLASSES_ROOT, server.c_str(), kThreadingModel, kApartment))
        return false;
    bool nt = false;
    if (!readNtPlatform(nt)) return false;
    return !nt || setStringValue(HKEY_LOCAL_MACHINE, kApprovedPath, clsid, description);
}

bool unregisterClass(REFCLSID classId) {
    wchar_t clsid[kClassIdChars];
    if (!classIdString(classId, clsid)) return false;
    if (!deleteKeyOrValue(HKEY_CLASSES_ROOT, serverKey(clsid).c_str(), nullptr) ||
        !deleteKeyOrValue(HKEY_CLASSES_ROOT, classKey(clsid).c_str(), nullptr))
        return false;
    bool nt = false;
    if (!readNtPlatform(nt)) return false;
    return !nt || deleteKeyOrValue(HKEY_LOCAL_MACHINE, kApprovedPath, clsid);
}

int confirmDiscard() {
    const std::wstring text = loadString(IDS_DISCARD_TEXT);
    const std::wstring caption = loadString(IDS_DISCARD_CAPTION);
    if (text.empty() || caption.empty()) return 0;
    return MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_YESNO);
}

HRESULT registerServer(HKEY root) noexcept {
    return selfRegResult([root] { return registerServerSteps(root); });
}

HRESULT unregisterServer(HKEY root) noexcept {
    return selfRegResult([root] { return unregisterServerSteps(root); });
}

}  // namespace quorin
