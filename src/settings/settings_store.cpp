#include "settings/settings_store.h"

#include <shlwapi.h>

#include <cwchar>
#include <optional>

#include "common/reg_key.h"
#include "common/resources.h"
#include "settings/group_writer.h"
#include "settings/settings_lock.h"
#include "resource.h"

namespace quorin {

namespace {

constexpr wchar_t kParentKeyPath[] = L"Software\\Orv";
constexpr wchar_t kToolbarValue[] = L"Toolbar";

// A group's subkey and the stems of its numbered values.
struct GroupSpec {
    const wchar_t* name;
    std::vector<const wchar_t*> stems;
};

const GroupSpec kGroups[] = {
    {L"AddSheet", {L"Title", L"Path"}},
    {L"Prefer", {L"Title", L"URI"}},
    {L"Etc", {}},
    {L"LinkType", {L"Title", L"Which", L"Attr", L"Shortcut", L"Submenu"}},
    {L"LinkCruise", {L"Title"}},
    {L"LinkEtc", {}},
};

constexpr WORD kDefaultUseSheetShortcut = 0x025A;
constexpr WORD kDefaultUseAttrShortcut = 0x0251;
constexpr WORD kDefaultCruiseShortcut = 0x0255;
constexpr int kDefaultSubmenu = 2;

// Beyond this a value cannot be read in one piece without risking the allocation; no field
// holds more than a few hundred bytes of it anyway.
constexpr DWORD kMaxTextBytes = 1024 * 1024;

struct DefaultLinkType {
    UINT titleId;
    int which;
    const wchar_t* attr;
    WORD shortcut;
};

constexpr DefaultLinkType kDefaultLinkTypes[] = {
    {IDS_LINKTYPE_NEXT, 0, L"Next", 0x034E},     {IDS_LINKTYPE_PREV, 0, L"Prev", 0x0350},
    {IDS_LINKTYPE_UP, 0, L"Up", 0x0355},         {IDS_LINKTYPE_CONTENTS, 0, L"Contents", 0x0343},
    {IDS_LINKTYPE_INDEX, 0, L"Index", 0x0349},   {IDS_LINKTYPE_START, 0, L"Start", 0x0353},
    {IDS_LINKTYPE_MADE, 1, L"Made", 0x02C0},
};

constexpr UINT kDefaultCruiseTitles[] = {IDS_LINKTYPE_NEXT, IDS_LINKTYPE_UP, IDS_LINKTYPE_CONTENTS,
                                         IDS_LINKTYPE_INDEX, IDS_LINKTYPE_START};

using StoredValue = SettingsStore::StoredValue;
using GroupImage = SettingsStore::GroupImage;

std::wstring groupPath(const wchar_t* group) { return std::wstring(kRootKeyPath) + L"\\" + group; }

std::wstring indexed(const wchar_t* stem, std::size_t index) { return indexedName(stem, index); }

void addText(GroupImage& image, std::wstring name, const wchar_t* text) {
    StoredValue v;
    v.name = std::move(name);
    v.isText = true;
    v.text = text;
    image.push_back(std::move(v));
}

void addNumber(GroupImage& image, std::wstring name, DWORD number) {
    StoredValue v;
    v.name = std::move(name);
    v.number = number;
    image.push_back(std::move(v));
}

// A value that did not fit the direct read: sized first, then read whole.
bool readLongString(HKEY key, const wchar_t* name, std::wstring& text) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
        if (size > kMaxTextBytes) {
            // Kept as an empty text rather than a missing one, so the entries after it survive.
            text.clear();
            return true;
        }
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = size;
        const LONG rc = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &got);
        if (rc == ERROR_MORE_DATA) continue;  // grown since the size query
        if (rc != ERROR_SUCCESS) return false;
        data.resize(got / sizeof(wchar_t));
        text.assign(data.c_str());
        return true;
    }
    return false;
}

// The value's bytes as UTF-16 up to the first NUL, whatever its registry type; a value without
// a terminator ends with its data. False when the value is missing. Every stored field fits the
// direct read, so a value costs one registry call; only hand-made long ones need two.
bool readString(HKEY key, const wchar_t* name, std::wstring& text) {
    constexpr DWORD kDirectBytes = 1024;
    wchar_t direct[kDirectBytes / sizeof(wchar_t) + 1];
    DWORD got = kDirectBytes;
    const LONG rc = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(direct), &got);
    if (rc == ERROR_MORE_DATA) return readLongString(key, name, text);
    if (rc != ERROR_SUCCESS) return false;
    direct[got / sizeof(wchar_t)] = 0;
    text.assign(direct);
    return true;
}

template <std::size_t N>
bool readText(HKEY key, const std::wstring& name, FixedText<N>& field) {
    std::wstring text;
    if (!readString(key, name.c_str(), text)) return false;
    field.assign(text.c_str(), text.size());
    return true;
}

// Up to four bytes, zero-extended; a larger value counts as missing.
bool readNumber(HKEY key, const std::wstring& name, DWORD& number) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return false;
    number = value;
    return true;
}

void readShortcut(HKEY key, const wchar_t* name, WORD& field) {
    DWORD value = 0;
    if (readNumber(key, name, value)) field = LOWORD(value);
}

void readFlag(HKEY key, const wchar_t* name, bool& field) {
    DWORD value = 0;
    if (readNumber(key, name, value)) field = value != 0;
}

void readInt(HKEY key, const wchar_t* name, int& field) {
    DWORD value = 0;
    if (readNumber(key, name, value)) field = static_cast<int>(value);
}

bool openGroup(const wchar_t* group, RegKey& key) { return key.open(HKEY_CURRENT_USER, groupPath(group).c_str(), KEY_READ); }

LONG openGroupStatus(const wchar_t* group, RegKey& key) {
    return key.openStatus(HKEY_CURRENT_USER, groupPath(group).c_str(), KEY_READ);
}

GroupImage addSheetImage(const std::vector<AddSheetEntry>& list) {
    GroupImage image;
    for (std::size_t i = 0; i < list.size(); ++i) {
        addText(image, indexed(L"Title", i + 1), list[i].Title.c_str());
        addText(image, indexed(L"Path", i + 1), list[i].Path.c_str());
    }
    return image;
}

GroupImage preferImage(const std::vector<PreferEntry>& list) {
    GroupImage image;
    for (std::size_t i = 0; i < list.size(); ++i) {
        addText(image, indexed(L"Title", i + 1), list[i].Title.c_str());
        addText(image, indexed(L"URI", i + 1), list[i].URI.c_str());
    }
    return image;
}

GroupImage etcImage(const EtcSettings& etc) {
    GroupImage image;
    addNumber(image, L"UseSheetShortcut", etc.UseSheetShortcut);
    addNumber(image, L"UseAttrShortcut", etc.UseAttrShortcut);
    addNumber(image, L"SyncUse", etc.SyncUse);
    addNumber(image, L"FrameAware", etc.FrameAware);
    return image;
}

GroupImage linkTypeImage(const std::vector<LinkTypeEntry>& list) {
    GroupImage image;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const LinkTypeEntry& e = list[i];
        addText(image, indexed(L"Title", i + 1), e.Title.c_str());
        addNumber(image, indexed(L"Which", i + 1), static_cast<DWORD>(e.Which));
        addText(image, indexed(L"Attr", i + 1), e.Attr.c_str());
        addNumber(image, indexed(L"Shortcut", i + 1), e.Shortcut);
        addNumber(image, indexed(L"Submenu", i + 1), static_cast<DWORD>(e.Submenu));
    }
    return image;
}

GroupImage linkCruiseImage(const std::vector<CruiseEntry>& list, WORD shortcut) {
    GroupImage image;
    for (std::size_t i = 0; i < list.size(); ++i) addText(image, indexed(L"Title", i + 1), list[i].Title.c_str());
    addNumber(image, L"Shortcut", shortcut);
    return image;
}

GroupImage linkEtcImage(const LinkEtcSettings& etc) {
    GroupImage image;
    addNumber(image, L"MaxEtcNum", static_cast<DWORD>(etc.MaxEtcNum));
    addNumber(image, L"EnumStyleSheet", etc.EnumStyleSheet);
    addNumber(image, L"MaxUnRelNum", static_cast<DWORD>(etc.MaxUnRelNum));
    addNumber(image, L"GroupSameSite", etc.GroupSameSite);
    addNumber(image, L"EnumNonLink", etc.EnumNonLink);
    addNumber(image, L"MaxNonLinkNum", static_cast<DWORD>(etc.MaxNonLinkNum));
    addNumber(image, L"ElimDuplLinks", etc.ElimDuplLinks);
    return image;
}

bool readAddSheetEntry(HKEY key, std::size_t index, AddSheetEntry& e) {
    return readText(key, indexed(L"Title", index), e.Title) && readText(key, indexed(L"Path", index), e.Path);
}

bool readPreferEntry(HKEY key, std::size_t index, PreferEntry& e) {
    return readText(key, indexed(L"Title", index), e.Title) && readText(key, indexed(L"URI", index), e.URI);
}

bool readLinkTypeEntry(HKEY key, std::size_t index, LinkTypeEntry& e) {
    DWORD which = 0;
    if (!readText(key, indexed(L"Title", index), e.Title) || !readNumber(key, indexed(L"Which", index), which) ||
        !readText(key, indexed(L"Attr", index), e.Attr))
        return false;
    e.Which = static_cast<int>(which);
    DWORD shortcut = 0;
    e.Shortcut = readNumber(key, indexed(L"Shortcut", index), shortcut) ? LOWORD(shortcut) : 0;
    DWORD submenu = 0;
    e.Submenu = readNumber(key, indexed(L"Submenu", index), submenu) ? static_cast<int>(submenu) : kDefaultSubmenu;
    return true;
}

bool readCruiseEntry(HKEY key, std::size_t index, CruiseEntry& e) {
    return readText(key, indexed(L"Title", index), e.Title);
}

void setDefaultEtc(EtcSettings& etc) {
    etc.UseSheetShortcut = kDefaultUseSheetShortcut;
    etc.UseAttrShortcut = kDefaultUseAttrShortcut;
    etc.SyncUse = true;
    etc.FrameAware = true;
}

void readEtc(HKEY key, EtcSettings& etc) {
    readShortcut(key, L"UseSheetShortcut", etc.UseSheetShortcut);
    readShortcut(key, L"UseAttrShortcut", etc.UseAttrShortcut);
    readFlag(key, L"SyncUse", etc.SyncUse);
    readFlag(key, L"FrameAware", etc.FrameAware);
}

// Values that are missing leave the fields as they were.
void readLinkEtc(HKEY key, LinkEtcSettings& etc) {
    readInt(key, L"MaxEtcNum", etc.MaxEtcNum);
    readFlag(key, L"EnumStyleSheet", etc.EnumStyleSheet);
    readInt(key, L"MaxUnRelNum", etc.MaxUnRelNum);
    readFlag(key, L"GroupSameSite", etc.GroupSameSite);
    readFlag(key, L"EnumNonLink", etc.EnumNonLink);
    readInt(key, L"MaxNonLinkNum", etc.MaxNonLinkNum);
    readFlag(key, L"ElimDuplLinks", etc.ElimDuplLinks);
}

// Appends entries 1, 2, ... until the first one that is incomplete.
template <class Entry, class Reader>
void readList(HKEY key, std::vector<Entry>& list, Reader read) {
    for (std::size_t index = 1;; ++index) {
        Entry entry;
        if (!read(key, index, entry)) return;
        list.push_back(std::move(entry));
    }
}

void fillDefaultLinkTypes(std::vector<LinkTypeEntry>& list) {
    for (const DefaultLinkType& d : kDefaultLinkTypes) {
        const std::wstring title = loadString(d.titleId);
        if (title.empty()) continue;
        LinkTypeEntry e;
        e.Title = title.c_str();
        e.Which = d.which;
        e.Attr = d.attr;
        e.Shortcut = d.shortcut;
        e.Submenu = kDefaultSubmenu;
        list.push_back(std::move(e));
    }
}

void fillDefaultCruise(std::vector<CruiseEntry>& list) {
    for (UINT id : kDefaultCruiseTitles) {
        const std::wstring title = loadString(id);
        if (title.empty()) continue;
        CruiseEntry e;
        e.Title = title.c_str();
        list.push_back(std::move(e));
    }
}

}  // namespace

bool createRootKey() {
    RegKey key;
    return key.create(HKEY_CURRENT_USER, kRootKeyPath, KEY_WRITE);
}

// Settings that are already gone count as deleted.
bool deleteRootKey() {
    const LONG result = SHDeleteKeyW(HKEY_CURRENT_USER, kRootKeyPath);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) return false;
    SHDeleteEmptyKeyW(HKEY_CURRENT_USER, kParentKeyPath);
    return true;
}

SettingsStore::SettingsStore() {
    for (int g = 0; g < GroupCount; ++g) noteLoaded(static_cast<Group>(g));
}

SettingsStore::~SettingsStore() {
    try {
        saveChanged();
    } catch (...) {
        // Running out of memory while closing a window must not take the browser with it.
    }
}

void SettingsStore::setToolbarLocation() {
    toolbarLocation.root = HKEY_CURRENT_USER;
    toolbarLocation.subkey = kRootKeyPath;
    toolbarLocation.valueName = kToolbarValue;
}

bool SettingsStore::loadAll() {
    const SettingsLock lock;
    bool ok = loadAddSheet();
    ok = loadPrefer() && ok;
    ok = loadEtc() && ok;
    ok = loadLinkType() && ok;
    ok = loadLinkCruise() && ok;
    ok = loadLinkEtc() && ok;
    return ok;
}

bool SettingsStore::saveAll() {
    const SettingsLock lock;
    bool ok = true;
    for (int g = 0; g < GroupCount; ++g) ok = save(static_cast<Group>(g)) && ok;
    return ok;
}

// A group goes back only when this window changed it and the registry still holds what this
// window last loaded or saved there: what another window saved since is newer than a change here
// that was never saved, and the group is written whole, so it would undo the other window's work.
bool SettingsStore::saveChanged() {
    const SettingsLock lock;
    bool ok = true;
    for (int g = 0; g < GroupCount; ++g) {
        const Group group = static_cast<Group>(g);
        if (image(group) == known_[group]) continue;
        const std::optional<GroupImage> stored = storedImage(group);
        if (stored && *stored == known_[group]) ok = save(group) && ok;
    }
    return ok;
}

bool SettingsStore::loadAddSheet() {
    AddSheet.clear();
    RegKey key;
    const bool opened = openGroup(kGroups[AddSheetGroup].name, key);
    if (opened) readList(key.get(), AddSheet, readAddSheetEntry);
    noteLoaded(AddSheetGroup);
    return opened;
}

bool SettingsStore::loadPrefer() {
    Prefer.clear();
    RegKey key;
    const bool opened = openGroup(kGroups[PreferGroup].name, key);
    if (opened) readList(key.get(), Prefer, readPreferEntry);
    noteLoaded(PreferGroup);
    return opened;
}

bool SettingsStore::loadEtc() {
    setDefaultEtc(Etc);
    RegKey key;
    const bool opened = openGroup(kGroups[EtcGroup].name, key);
    if (opened) readEtc(key.get(), Etc);
    noteLoaded(EtcGroup);
    return opened;
}

// Only a missing table is filled with the defaults and stored. One that exists but cannot be
// opened gets them in memory only, noted as loaded so that closing the window does not write
// them over the user's entries.
bool SettingsStore::loadLinkType() {
    LinkType.clear();
    RegKey key;
    const LONG status = openGroupStatus(kGroups[LinkTypeGroup].name, key);
    if (status != ERROR_SUCCESS) {
        fillDefaultLinkTypes(LinkType);
        if (status == ERROR_FILE_NOT_FOUND) return saveLinkType();
        noteLoaded(LinkTypeGroup);
        return false;
    }
    readList(key.get(), LinkType, readLinkTypeEntry);
    noteLoaded(LinkTypeGroup);
    return true;
}

bool SettingsStore::loadLinkCruise() {
    LinkCruise.clear();
    CruiseShortcut = kDefaultCruiseShortcut;
    RegKey key;
    const LONG status = openGroupStatus(kGroups[LinkCruiseGroup].name, key);
    if (status != ERROR_SUCCESS) {
        fillDefaultCruise(LinkCruise);
        if (status == ERROR_FILE_NOT_FOUND) return saveLinkCruise();
        noteLoaded(LinkCruiseGroup);
        return false;
    }
    readList(key.get(), LinkCruise, readCruiseEntry);
    readShortcut(key.get(), L"Shortcut", CruiseShortcut);
    noteLoaded(LinkCruiseGroup);
    return true;
}

bool SettingsStore::loadLinkEtc() {
    RegKey key;
    const bool opened = openGroup(kGroups[LinkEtcGroup].name, key);
    if (opened) readLinkEtc(key.get(), LinkEtc);
    noteLoaded(LinkEtcGroup);
    return opened;
}

bool SettingsStore::saveAddSheet() { return save(AddSheetGroup); }
bool SettingsStore::savePrefer() { return save(PreferGroup); }
bool SettingsStore::saveEtc() { return save(EtcGroup); }
bool SettingsStore::saveLinkType() { return save(LinkTypeGroup); }
bool SettingsStore::saveLinkCruise() { return save(LinkCruiseGroup); }
bool SettingsStore::saveLinkEtc() { return save(LinkEtcGroup); }

const PreferEntry* SettingsStore::findPreferred(const wchar_t* url) const {
    if (!url) url = L"";
    for (const PreferEntry& e : Prefer) {
        if (StrCmpNIW(e.URI.c_str(), url, lstrlenW(e.URI.c_str())) == 0) return &e;
    }
    return nullptr;
}

SettingsStore::GroupImage SettingsStore::image(Group group) const {
    switch (group) {
        case AddSheetGroup: return addSheetImage(AddSheet);
        case PreferGroup: return preferImage(Prefer);
        case EtcGroup: return etcImage(Etc);
        case LinkTypeGroup: return linkTypeImage(LinkType);
        case LinkCruiseGroup: return linkCruiseImage(LinkCruise, CruiseShortcut);
        case LinkEtcGroup: return linkEtcImage(LinkEtc);
        case GroupCount: break;
    }
    return GroupImage();
}

// The group as the registry holds it now, read as a load reads it but into nothing of this store.
// None when the key cannot be read, or when a link table is gone (a load would make it anew).
std::optional<SettingsStore::GroupImage> SettingsStore::storedImage(Group group) const {
    RegKey key;
    const LONG status = openGroupStatus(kGroups[group].name, key);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return std::nullopt;
    const HKEY found = status == ERROR_SUCCESS ? key.get() : nullptr;
    switch (group) {
        case AddSheetGroup: {
            std::vector<AddSheetEntry> list;
            if (found) readList(found, list, readAddSheetEntry);
            return addSheetImage(list);
        }
        case PreferGroup: {
            std::vector<PreferEntry> list;
            if (found) readList(found, list, readPreferEntry);
            return preferImage(list);
        }
        case EtcGroup: {
            EtcSettings etc;
            setDefaultEtc(etc);
            if (found) readEtc(found, etc);
            return etcImage(etc);
        }
        case LinkTypeGroup: {
            if (!found) return std::nullopt;
            std::vector<LinkTypeEntry> list;
            readList(found, list, readLinkTypeEntry);
            return linkTypeImage(list);
        }
        case LinkCruiseGroup: {
            if (!found) return std::nullopt;
            std::vector<CruiseEntry> list;
            readList(found, list, readCruiseEntry);
            WORD shortcut = kDefaultCruiseShortcut;
            readShortcut(found, L"Shortcut", shortcut);
            return linkCruiseImage(list, shortcut);
        }
        case LinkEtcGroup: {
            LinkEtcSettings etc;
            if (found) readLinkEtc(found, etc);
            return linkEtcImage(etc);
        }
        case GroupCount: break;
    }
    return std::nullopt;
}

std::size_t SettingsStore::entryCount(Group group) const {
    switch (group) {
        case AddSheetGroup: return AddSheet.size();
        case PreferGroup: return Prefer.size();
        case LinkTypeGroup: return LinkType.size();
        case LinkCruiseGroup: return LinkCruise.size();
        default: return 0;
    }
}

void SettingsStore::noteLoaded(Group group) { known_[group] = image(group); }

// After a failed save the key holds part of the image: that is what this store last left there,
// so closing the window tries once more unless another window has written the group since.
bool SettingsStore::save(Group group) {
    GroupImage values = image(group);
    if (writeGroup(groupPath(kGroups[group].name), values, kGroups[group].stems, entryCount(group))) {
        known_[group] = std::move(values);
        return true;
    }
    if (std::optional<GroupImage> stored = storedImage(group)) known_[group] = std::move(*stored);
    return false;
}

}  // namespace quorin
