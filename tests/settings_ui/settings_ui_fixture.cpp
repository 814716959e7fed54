// Helpers of the settings user-interface tests.
#include "settings_ui_fixture.h"

#include "common/reg_key.h"

namespace quorin::test {

namespace {

void collect(const std::wstring& path, std::map<std::wstring, std::vector<BYTE>>& image) {
    RegKey key;
    if (!key.open(HKEY_CURRENT_USER, path.c_str(), KEY_READ)) return;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256, type = 0, size = 0;
        if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::vector<BYTE> data(size + 1, static_cast<BYTE>(type));
        nameLength = 256;
        RegEnumValueW(key.get(), i, name, &nameLength, nullptr, nullptr, data.data() + 1, &size);
        image[path + L"|" + name] = data;
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key.get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        image[path + L"\\" + name];  // an empty subkey counts too
        collect(path + L"\\" + name, image);
    }
}

}  // namespace

std::map<std::wstring, std::vector<BYTE>> registryImage() {
    std::map<std::wstring, std::vector<BYTE>> image;
    collect(kRootKeyPath, image);
    return image;
}

AddSheetEntry addSheet(const wchar_t* title, const wchar_t* path) {
    AddSheetEntry entry;
    entry.Title = title;
    entry.Path = path;
    return entry;
}

PreferEntry prefer(const wchar_t* title, const wchar_t* uri) {
    PreferEntry entry;
    entry.Title = title;
    entry.URI = uri;
    return entry;
}

LinkTypeEntry linkType(const wchar_t* title, int which, const wchar_t* attr, WORD shortcut, int submenu) {
    LinkTypeEntry entry;
    entry.Title = title;
    entry.Which = which;
    entry.Attr = attr;
    entry.Shortcut = shortcut;
    entry.Submenu = submenu;
    return entry;
}

CruiseEntry cruise(const wchar_t* title) {
    CruiseEntry entry;
    entry.Title = title;
    return entry;
}

std::vector<std::wstring> titles(const std::vector<AddSheetEntry>& entries) {
    std::vector<std::wstring> result;
    for (const auto& entry : entries) result.push_back(entry.Title.c_str());
    return result;
}

HWND openEntryDialog(ModalScript& script, HWND page, int button, const wchar_t* caption) {
    EXPECT_TRUE(clickLater(page, button)) << "button " << button << " cannot be clicked";
    HWND dialog = script.waitForDialog(caption);
    EXPECT_TRUE(dialog) << "no entry dialog";
    return dialog;
}

}  // namespace quorin::test
