#include <gtest/gtest.h>
#include <shlwapi.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/reg_key.h"
#include "settings/settings_lock.h"
#include "settings/settings_store.h"
#include "support/registry_sandbox.h"

using namespace quorin;
using quorin::test::RegistrySandbox;

namespace {

const std::wstring kRoot = L"Software\\Orv\\Quorin";

std::wstring group(const wchar_t* name) { return kRoot + L"\\" + name; }

void writeRaw(const std::wstring& path, const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    RegKey key;
    ASSERT_TRUE(key.create(HKEY_CURRENT_USER, path.c_str(), KEY_WRITE));
    ASSERT_EQ(RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
}

void writeText(const std::wstring& path, const wchar_t* name, const std::wstring& text) {
    writeRaw(path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void writeNumber(const std::wstring& path, const wchar_t* name, DWORD number) {
    writeRaw(path, name, REG_DWORD, &number, sizeof number);
}

void createKey(const std::wstring& path) {
    RegKey key;
    ASSERT_TRUE(key.create(HKEY_CURRENT_USER, path.c_str(), KEY_WRITE));
}

bool keyExists(const std::wstring& path) {
    RegKey key;
    return key.open(HKEY_CURRENT_USER, path.c_str(), KEY_READ);
}

bool valueExists(const std::wstring& path, const wchar_t* name) {
    RegKey key;
    return key.open(HKEY_CURRENT_USER, path.c_str(), KEY_READ) &&
           RegQueryValueExW(key.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

RawValue readRaw(const std::wstring& path, const wchar_t* name) {
    RawValue v;
    RegKey key;
    DWORD size = 0;
    if (!key.open(HKEY_CURRENT_USER, path.c_str(), KEY_READ) ||
        RegQueryValueExW(key.get(), name, nullptr, &v.type, nullptr, &size) != ERROR_SUCCESS)
        return v;
    v.data.resize(size);
    RegQueryValueExW(key.get(), name, nullptr, nullptr, v.data.data(), &size);
    return v;
}

DWORD readNumber(const std::wstring& path, const wchar_t* name) {
    const RawValue v = readRaw(path, name);
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD)) << "value " << testing::PrintToString(std::wstring(name));
    DWORD n = 0;
    if (v.data.size() == sizeof n) memcpy(&n, v.data.data(), sizeof n);
    return n;
}

std::wstring repeated(wchar_t c, std::size_t n) { return std::wstring(n, c); }

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sandbox.active()); }

    RegistrySandbox sandbox;
};

// ---- Defaults ------------------------------------------------------------------------------

TEST_F(SettingsStoreTest, ConstructionGivesTheInMemoryDefaults) {
    SettingsStore store;
    EXPECT_TRUE(store.AddSheet.empty());
    EXPECT_TRUE(store.LinkType.empty());
    EXPECT_EQ(store.Etc.UseSheetShortcut, 0);
    EXPECT_TRUE(store.Etc.SyncUse);
    EXPECT_TRUE(store.Etc.FrameAware);
    EXPECT_EQ(store.CruiseShortcut, 0);
    EXPECT_EQ(store.LinkEtc.MaxEtcNum, 999);
    EXPECT_EQ(store.LinkEtc.MaxUnRelNum, 999);
    EXPECT_EQ(store.LinkEtc.MaxNonLinkNum, 999);
    EXPECT_FALSE(store.LinkEtc.EnumStyleSheet || store.LinkEtc.GroupSameSite || store.LinkEtc.EnumNonLink ||
                 store.LinkEtc.ElimDuplLinks);
    EXPECT_TRUE(store.page.currentUrl.isNull());

    store.setToolbarLocation();
    const TBSAVEPARAMSW params = store.toolbarLocation.params();
    EXPECT_EQ(params.hkr, HKEY_CURRENT_USER);
    EXPECT_STREQ(params.pszSubKey, L"Software\\Orv\\Quorin");
    EXPECT_STREQ(params.pszValueName, L"Toolbar");
}

TEST_F(SettingsStoreTest, EmptyRegistryLoadsDefaultsAndStoresOnlyTheLinkTables) {
    SettingsStore store;
    EXPECT_FALSE(store.loadAll()) << "four groups are absent";
    EXPECT_TRUE(store.AddSheet.empty());
    EXPECT_TRUE(store.Prefer.empty());
    EXPECT_EQ(store.Etc.UseSheetShortcut, 0x025A);
    EXPECT_EQ(store.Etc.UseAttrShortcut, 0x0251);
    EXPECT_TRUE(store.Etc.SyncUse && store.Etc.FrameAware);

    struct Row {
        const wchar_t* title;
        int which;
        const wchar_t* attr;
        WORD shortcut;
    };
    const Row rows[] = {{L"次", 0, L"Next", 0x034E},     {L"前", 0, L"Prev", 0x0350},
                        {L"1つ上", 0, L"Up", 0x0355},    {L"目次", 0, L"Contents", 0x0343},
                        {L"索引", 0, L"Index", 0x0349},  {L"先頭", 0, L"Start", 0x0353},
                        {L"作者", 1, L"Made", 0x02C0}};
    ASSERT_EQ(store.LinkType.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(store.LinkType[i].Title.c_str(), rows[i].title);
        EXPECT_EQ(store.LinkType[i].Which, rows[i].which);
        EXPECT_STREQ(store.LinkType[i].Attr.c_str(), rows[i].attr);
        EXPECT_EQ(store.LinkType[i].Shortcut, rows[i].shortcut);
        EXPECT_EQ(store.LinkType[i].Submenu, 2);
    }
    const wchar_t* cruise[] = {L"次", L"1つ上", L"目次", L"索引", L"先頭"};
    ASSERT_EQ(store.LinkCruise.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_STREQ(store.LinkCruise[i].Title.c_str(), cruise[i]);
        EXPECT_EQ(store.LinkCruise[i].index, -1);
    }
    EXPECT_EQ(store.CruiseShortcut, 0x0255);

    EXPECT_EQ(readNumber(group(L"LinkCruise"), L"Shortcut"), 0x0255u);
    EXPECT_EQ(readNumber(group(L"LinkType"), L"Which7"), 1u);
    EXPECT_EQ(readNumber(group(L"LinkType"), L"Submenu7"), 2u);
    EXPECT_FALSE(valueExists(group(L"LinkType"), L"Title8"));
    EXPECT_TRUE(valueExists(group(L"LinkCruise"), L"Title5"));
    for (const wchar_t* absent : {L"AddSheet", L"Prefer", L"Etc", L"LinkEtc"})
        EXPECT_FALSE(keyExists(group(absent))) << testing::PrintToString(std::wstring(absent));
}

TEST_F(SettingsStoreTest, EmptyExistingLinkTablesStayEmpty) {
    createKey(group(L"LinkType"));
    createKey(group(L"LinkCruise"));
    SettingsStore store;
    EXPECT_TRUE(store.loadLinkType());
    EXPECT_TRUE(store.loadLinkCruise());
    EXPECT_TRUE(store.LinkType.empty());
    EXPECT_TRUE(store.LinkCruise.empty());
    EXPECT_EQ(store.CruiseShortcut, 0x0255) << "a missing cruise shortcut takes its default";
}

// ---- Round trips ---------------------------------------------------------------------------

void fill(SettingsStore& s) {
    s.AddSheet.resize(2);
    s.AddSheet[0].Title = L"大きい文字";
    s.AddSheet[0].Path = L"C:\\styles\\large.css";
    s.AddSheet[1].Title = L"";
    s.AddSheet[1].Path = L"http://example.org/a.css";
    s.Prefer.resize(1);
    s.Prefer[0].Title = L"Dark";
    s.Prefer[0].URI = L"http://example.org/";
    s.Etc = EtcSettings{0x0641, 0x0000, false, false};
    s.LinkType.resize(2);
    s.LinkType[0].Title = L"著作権";
    s.LinkType[0].Which = 1;
    s.LinkType[0].Attr = L"copyright license";
    s.LinkType[0].Shortcut = 0x0841;
    s.LinkType[0].Submenu = 1;
    s.LinkType[1].Title = L"";
    s.LinkType[1].Which = -1;
    s.LinkType[1].Attr = L"";
    s.LinkType[1].Shortcut = 0;
    s.LinkType[1].Submenu = 99;
    s.LinkCruise.resize(3);
    s.LinkCruise[0].Title = L"次";
    s.LinkCruise[1].Title = L"索引";
    s.LinkCruise[2].Title = L"Up";
    s.CruiseShortcut = 0x0455;
    s.LinkEtc = LinkEtcSettings{0, true, 100000, true, true, 7, true};
}

TEST_F(SettingsStoreTest, EveryGroupSurvivesSaveAndLoad) {
    {
        SettingsStore writer;
        fill(writer);
        EXPECT_TRUE(writer.saveAll());
    }
    SettingsStore reader;
    EXPECT_TRUE(reader.loadAll());
    SettingsStore expected;
    fill(expected);

    ASSERT_EQ(reader.AddSheet.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_STREQ(reader.AddSheet[i].Title.c_str(), expected.AddSheet[i].Title.c_str());
        EXPECT_STREQ(reader.AddSheet[i].Path.c_str(), expected.AddSheet[i].Path.c_str());
    }
    ASSERT_EQ(reader.Prefer.size(), 1u);
    EXPECT_STREQ(reader.Prefer[0].Title.c_str(), L"Dark");
    EXPECT_STREQ(reader.Prefer[0].URI.c_str(), L"http://example.org/");
    EXPECT_EQ(reader.Etc.UseSheetShortcut, 0x0641);
    EXPECT_EQ(reader.Etc.UseAttrShortcut, 0);
    EXPECT_FALSE(reader.Etc.SyncUse);
    EXPECT_FALSE(reader.Etc.FrameAware);
    ASSERT_EQ(reader.LinkType.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(reader.LinkType[i].Title.c_str(), expected.LinkType[i].Title.c_str());
        EXPECT_EQ(reader.LinkType[i].Which, expected.LinkType[i].Which);
        EXPECT_STREQ(reader.LinkType[i].Attr.c_str(), expected.LinkType[i].Attr.c_str());
        EXPECT_EQ(reader.LinkType[i].Shortcut, expected.LinkType[i].Shortcut);
        EXPECT_EQ(reader.LinkType[i].Submenu, expected.LinkType[i].Submenu);
    }
    ASSERT_EQ(reader.LinkCruise.size(), 3u);
    EXPECT_STREQ(reader.LinkCruise[2].Title.c_str(), L"Up");
    EXPECT_EQ(reader.CruiseShortcut, 0x0455);
    EXPECT_EQ(reader.LinkEtc.MaxEtcNum, 0);
    EXPECT_EQ(reader.LinkEtc.MaxUnRelNum, 100000);
    EXPECT_EQ(reader.LinkEtc.MaxNonLinkNum, 7);
    EXPECT_TRUE(reader.LinkEtc.EnumStyleSheet && reader.LinkEtc.GroupSameSite && reader.LinkEtc.EnumNonLink &&
                reader.LinkEtc.ElimDuplLinks);
}

TEST_F(SettingsStoreTest, SavedValuesHaveTheRegistryFormat) {
    SettingsStore store;
    fill(store);
    ASSERT_TRUE(store.saveAll());

    const RawValue title = readRaw(group(L"AddSheet"), L"Title1");
    EXPECT_EQ(title.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(title.data.size(), (wcslen(L"大きい文字") + 1) * sizeof(wchar_t)) << "terminator included";
    EXPECT_EQ(readRaw(group(L"AddSheet"), L"Title2").data.size(), sizeof(wchar_t)) << "empty text is one NUL";
    EXPECT_EQ(readRaw(group(L"Prefer"), L"URI1").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(readNumber(group(L"Etc"), L"UseSheetShortcut"), 0x0641u);
    EXPECT_EQ(readNumber(group(L"Etc"), L"SyncUse"), 0u);
    EXPECT_EQ(readNumber(group(L"LinkType"), L"Which2"), 0xFFFFFFFFu) << "separator row";
    EXPECT_EQ(readNumber(group(L"LinkType"), L"Shortcut2"), 0u);
    EXPECT_EQ(readNumber(group(L"LinkType"), L"Submenu2"), 99u);
    EXPECT_EQ(readRaw(group(L"LinkType"), L"Attr2").data.size(), sizeof(wchar_t));
    EXPECT_EQ(readNumber(group(L"LinkCruise"), L"Shortcut"), 0x0455u);
    EXPECT_EQ(readNumber(group(L"LinkEtc"), L"EnumNonLink"), 1u);
    EXPECT_EQ(readNumber(group(L"LinkEtc"), L"MaxUnRelNum"), 100000u);
}

TEST_F(SettingsStoreTest, SavingAShorterListRemovesTheEntriesBeyondIt) {
    SettingsStore store;
    fill(store);
    ASSERT_TRUE(store.saveAll());
    store.LinkCruise.resize(1);
    store.AddSheet.clear();
    ASSERT_TRUE(store.saveAll());
    EXPECT_TRUE(valueExists(group(L"LinkCruise"), L"Title1"));
    EXPECT_FALSE(valueExists(group(L"LinkCruise"), L"Title2"));
    EXPECT_TRUE(keyExists(group(L"AddSheet")));
    EXPECT_FALSE(valueExists(group(L"AddSheet"), L"Title1"));
}

// ---- Hand-edited lists ---------------------------------------------------------------------

TEST_F(SettingsStoreTest, AGapInTheNumberingEndsTheListAndTheNextSaveDropsWhatFollowed) {
    writeText(group(L"AddSheet"), L"Title1", L"one");
    writeText(group(L"AddSheet"), L"Path1", L"1.css");
    writeText(group(L"AddSheet"), L"Title3", L"three");
    writeText(group(L"AddSheet"), L"Path3", L"3.css");
    SettingsStore store;
    EXPECT_TRUE(store.loadAddSheet());
    ASSERT_EQ(store.AddSheet.size(), 1u);
    EXPECT_STREQ(store.AddSheet[0].Path.c_str(), L"1.css");
    ASSERT_TRUE(store.saveAddSheet());
    EXPECT_TRUE(valueExists(group(L"AddSheet"), L"Path1"));
    EXPECT_FALSE(valueExists(group(L"AddSheet"), L"Title3"));
}

TEST_F(SettingsStoreTest, AMissingRequiredValueEndsTheList) {
    writeText(group(L"AddSheet"), L"Title1", L"one");
    writeText(group(L"AddSheet"), L"Path1", L"1.css");
    writeText(group(L"AddSheet"), L"Title2", L"two");
    writeText(group(L"AddSheet"), L"Title3", L"three");
    writeText(group(L"AddSheet"), L"Path3", L"3.css");
    writeText(group(L"Prefer"), L"URI1", L"http://a/");
    writeText(group(L"LinkType"), L"Title1", L"A");
    writeNumber(group(L"LinkType"), L"Which1", 0);
    writeText(group(L"LinkType"), L"Title2", L"B");
    writeNumber(group(L"LinkType"), L"Which2", 0);
    writeText(group(L"LinkType"), L"Attr1", L"a");
    writeText(group(L"LinkType"), L"Attr3", L"c");
    SettingsStore store;
    store.loadAll();
    EXPECT_EQ(store.AddSheet.size(), 1u);
    EXPECT_TRUE(store.Prefer.empty()) << "a URI without its title";
    ASSERT_EQ(store.LinkType.size(), 1u) << "a row without Attr ends the table";
    EXPECT_EQ(store.LinkType[0].Shortcut, 0) << "optional values default";
    EXPECT_EQ(store.LinkType[0].Submenu, 2);
}

TEST_F(SettingsStoreTest, OverlongTextsAreCutAndKeepTheEntriesAfterThem) {
    writeText(group(L"AddSheet"), L"Title1", L"one");
    writeText(group(L"AddSheet"), L"Path1", L"1.css");
    writeText(group(L"AddSheet"), L"Title2", repeated(L'T', 100));
    writeText(group(L"AddSheet"), L"Path2", repeated(L'p', 400));
    writeText(group(L"AddSheet"), L"Title3", L"three");
    writeText(group(L"AddSheet"), L"Path3", L"3.css");
    // U+1F600 in two units right where the cut falls.
    writeText(group(L"AddSheet"), L"Title4", repeated(L'h', 78) + L"\xD83D\xDE00");
    writeText(group(L"AddSheet"), L"Path4", repeated(L'q', 258) + L"\xD83D\xDE00");
    writeText(group(L"LinkCruise"), L"Title1", repeated(L'c', 80));
    writeText(group(L"LinkCruise"), L"Title2", L"後");
    SettingsStore store;
    store.loadAll();
    ASSERT_EQ(store.AddSheet.size(), 4u);
    EXPECT_EQ(store.AddSheet[1].Title.c_str(), repeated(L'T', 79));
    EXPECT_EQ(store.AddSheet[1].Path.c_str(), repeated(L'p', 259));
    EXPECT_STREQ(store.AddSheet[2].Title.c_str(), L"three");
    EXPECT_EQ(store.AddSheet[3].Title.c_str(), repeated(L'h', 78)) << "no half character is kept";
    EXPECT_EQ(store.AddSheet[3].Path.c_str(), repeated(L'q', 258));
    ASSERT_EQ(store.LinkCruise.size(), 2u);
    EXPECT_EQ(store.LinkCruise[0].Title.length(), 79u);

    ASSERT_TRUE(store.saveAll());
    SettingsStore again;
    again.loadAll();
    EXPECT_EQ(again.AddSheet.size(), 4u) << "nothing the user had is lost by the next save";
    EXPECT_EQ(readRaw(group(L"AddSheet"), L"Title2").data.size(), 80 * sizeof(wchar_t));
}

TEST_F(SettingsStoreTest, TextsWithoutTerminatorOrOfOtherTypesAreReadSafely) {
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    writeRaw(group(L"Prefer"), L"Title1", REG_BINARY, unterminated, sizeof unterminated);
    writeRaw(group(L"Prefer"), L"URI1", REG_SZ, L"http://x/", 9 * sizeof(wchar_t));  // no NUL
    const wchar_t embedded[] = L"left\0right";
    writeRaw(group(L"Prefer"), L"Title2", REG_SZ, embedded, sizeof embedded);
    writeRaw(group(L"Prefer"), L"URI2", REG_SZ, L"odd", 5);  // odd byte count
    const DWORD number = 0x00420041;  // "AB" in UTF-16
    writeRaw(group(L"Prefer"), L"Title3", REG_DWORD, &number, sizeof number);
    writeRaw(group(L"Prefer"), L"URI3", REG_NONE, nullptr, 0);
    writeText(group(L"Prefer"), L"Title4", L"four");
    writeText(group(L"Prefer"), L"URI4", L"4");
    SettingsStore store;
    store.loadPrefer();
    ASSERT_EQ(store.Prefer.size(), 4u);
    EXPECT_STREQ(store.Prefer[0].Title.c_str(), L"abc");
    EXPECT_STREQ(store.Prefer[0].URI.c_str(), L"http://x/");
    EXPECT_STREQ(store.Prefer[1].Title.c_str(), L"left");
    EXPECT_STREQ(store.Prefer[1].URI.c_str(), L"od");
    EXPECT_STREQ(store.Prefer[2].Title.c_str(), L"AB");
    EXPECT_STREQ(store.Prefer[2].URI.c_str(), L"");
    EXPECT_STREQ(store.Prefer[3].Title.c_str(), L"four");
}

TEST_F(SettingsStoreTest, HugeValuesNeitherOverrunNorEndTheList) {
    const std::wstring huge(1024 * 1024, L'x');
    writeText(group(L"AddSheet"), L"Title1", huge);
    writeText(group(L"AddSheet"), L"Path1", L"1.css");
    writeText(group(L"AddSheet"), L"Title2", L"two");
    writeText(group(L"AddSheet"), L"Path2", L"2.css");
    std::vector<BYTE> big(64 * 1024, 0xFF);
    writeRaw(group(L"Etc"), L"UseSheetShortcut", REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
    SettingsStore store;
    store.loadAll();
    ASSERT_EQ(store.AddSheet.size(), 2u);
    EXPECT_TRUE(store.AddSheet[0].Title.empty()) << "too large to read: empty, not missing";
    EXPECT_STREQ(store.AddSheet[1].Title.c_str(), L"two");
    EXPECT_EQ(store.Etc.UseSheetShortcut, 0x025A) << "an oversized number counts as missing";
}

TEST_F(SettingsStoreTest, ASavedGroupHoldsExactlyItsEntriesWhateverElseItsKeyHeld) {
    SettingsStore store;
    store.AddSheet.resize(3);
    for (std::size_t i = 0; i < 3; ++i) {
        store.AddSheet[i].Title = std::to_wstring(i + 1).c_str();
        store.AddSheet[i].Path = L"sheet.css";
    }
    ASSERT_TRUE(store.saveAddSheet());
    createKey(group(L"AddSheet") + L"\\Other");
    writeText(group(L"AddSheet"), L"Stray", L"hand-edited");
    writeText(group(L"AddSheet"), L"title2", L"other case");

    store.AddSheet.erase(store.AddSheet.begin());
    ASSERT_TRUE(store.saveAddSheet());

    SettingsStore again;
    again.loadAddSheet();
    ASSERT_EQ(again.AddSheet.size(), 2u);
    EXPECT_STREQ(again.AddSheet[0].Title.c_str(), L"2");
    EXPECT_STREQ(again.AddSheet[1].Title.c_str(), L"3");
    EXPECT_FALSE(valueExists(group(L"AddSheet"), L"Title3"));
    EXPECT_FALSE(valueExists(group(L"AddSheet"), L"Stray"));
    EXPECT_TRUE(keyExists(group(L"AddSheet") + L"\\Other")) << "a subkey is no entry and stays";
}

// Refuses reading the key to everyone while it lives, as a permission set by hand might.
class ReadDenied {
public:
    explicit ReadDenied(const std::wstring& path) : path_(path) {
        BYTE everyone[SECURITY_MAX_SID_SIZE];
        DWORD sidSize = sizeof everyone;
        alignas(DWORD) BYTE acl[256];
        SECURITY_DESCRIPTOR descriptor;
        ok_ = CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize) &&
              InitializeAcl(reinterpret_cast<ACL*>(acl), sizeof acl, ACL_REVISION) &&
              AddAccessDeniedAce(reinterpret_cast<ACL*>(acl), ACL_REVISION, KEY_QUERY_VALUE, everyone) &&
              AddAccessAllowedAce(reinterpret_cast<ACL*>(acl), ACL_REVISION, KEY_ALL_ACCESS, everyone) &&
              InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<ACL*>(acl), FALSE) &&
              setSecurity(&descriptor);
    }
    ~ReadDenied() {
        SECURITY_DESCRIPTOR open;
        InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
        setSecurity(&open);
    }
    bool ok() const noexcept { return ok_; }

private:
    bool setSecurity(SECURITY_DESCRIPTOR* descriptor) const {
        RegKey key;
        return key.open(HKEY_CURRENT_USER, path_.c_str(), WRITE_DAC) &&
               RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    }

    std::wstring path_;
    bool ok_ = false;
};

TEST_F(SettingsStoreTest, LinkTablesThatCannotBeReadAreNeitherReplacedNorWrittenBack) {
    writeText(group(L"LinkType"), L"Title1", L"mine");
    writeNumber(group(L"LinkType"), L"Which1", 0);
    writeText(group(L"LinkType"), L"Attr1", L"mine");
    writeText(group(L"LinkCruise"), L"Title1", L"mine");
    auto store = std::make_unique<SettingsStore>();
    {
        ReadDenied types(group(L"LinkType")), cruise(group(L"LinkCruise"));
        ASSERT_TRUE(types.ok() && cruise.ok());
        ASSERT_FALSE(keyExists(group(L"LinkType"))) << "reading is refused";
        EXPECT_FALSE(store->loadLinkType());
        EXPECT_FALSE(store->loadLinkCruise());
        EXPECT_EQ(store->LinkType.size(), 7u) << "the defaults, in memory";
        EXPECT_EQ(store->LinkCruise.size(), 5u);
        EXPECT_EQ(store->CruiseShortcut, 0x0255);
        EXPECT_FALSE(store->saveAll()) << "the refused groups cannot be written";
    }
    store.reset();  // the window closes once the tables can be read again

    SettingsStore check;
    EXPECT_TRUE(check.loadLinkType());
    EXPECT_TRUE(check.loadLinkCruise());
    ASSERT_EQ(check.LinkType.size(), 1u);
    EXPECT_STREQ(check.LinkType[0].Title.c_str(), L"mine");
    ASSERT_EQ(check.LinkCruise.size(), 1u);
    EXPECT_FALSE(valueExists(group(L"LinkCruise"), L"Shortcut"));
}

// ---- Hand-edited numbers -------------------------------------------------------------------

TEST_F(SettingsStoreTest, NumbersLoadUnclampedAndShortcutsKeepTheirLow16Bits) {
    writeText(group(L"LinkType"), L"Title1", L"x");
    writeNumber(group(L"LinkType"), L"Which1", 7);
    writeText(group(L"LinkType"), L"Attr1", L"x");
    writeNumber(group(L"LinkType"), L"Shortcut1", 0xABCD034E);
    writeNumber(group(L"LinkType"), L"Submenu1", 0xFFFFFFFE);
    writeNumber(group(L"Etc"), L"UseAttrShortcut", 0x10000);
    writeNumber(group(L"Etc"), L"SyncUse", 0);
    writeNumber(group(L"Etc"), L"FrameAware", 42);
    const WORD shortNumber = 5;
    writeRaw(group(L"LinkEtc"), L"MaxEtcNum", REG_BINARY, &shortNumber, sizeof shortNumber);
    writeNumber(group(L"LinkEtc"), L"MaxUnRelNum", 0);
    writeNumber(group(L"LinkEtc"), L"MaxNonLinkNum", 0xFFFFFFFF);
    writeText(group(L"LinkCruise"), L"Shortcut", L"long text");
    SettingsStore store;
    store.loadAll();
    ASSERT_EQ(store.LinkType.size(), 1u);
    EXPECT_EQ(store.LinkType[0].Which, 7);
    EXPECT_EQ(store.LinkType[0].Shortcut, 0x034E);
    EXPECT_EQ(store.LinkType[0].Submenu, -2);
    EXPECT_EQ(store.Etc.UseSheetShortcut, 0x025A);
    EXPECT_EQ(store.Etc.UseAttrShortcut, 0);
    EXPECT_FALSE(store.Etc.SyncUse);
    EXPECT_TRUE(store.Etc.FrameAware);
    EXPECT_EQ(store.LinkEtc.MaxEtcNum, 5) << "a short value is zero-extended";
    EXPECT_EQ(store.LinkEtc.MaxUnRelNum, 0);
    EXPECT_EQ(store.LinkEtc.MaxNonLinkNum, -1);
    EXPECT_EQ(store.CruiseShortcut, 0x0255) << "a value too large for a number counts as missing";
}

TEST_F(SettingsStoreTest, MissingLinkEtcValuesKeepTheCurrentOnes) {
    writeNumber(group(L"LinkEtc"), L"MaxEtcNum", 5);
    SettingsStore store;
    store.LinkEtc = LinkEtcSettings{1, true, 2, true, true, 3, true};
    EXPECT_TRUE(store.loadLinkEtc());
    EXPECT_EQ(store.LinkEtc.MaxEtcNum, 5);
    EXPECT_EQ(store.LinkEtc.MaxUnRelNum, 2);
    EXPECT_EQ(store.LinkEtc.MaxNonLinkNum, 3);
    EXPECT_TRUE(store.LinkEtc.EnumStyleSheet && store.LinkEtc.GroupSameSite && store.LinkEtc.EnumNonLink &&
                store.LinkEtc.ElimDuplLinks);
}

TEST_F(SettingsStoreTest, SeparatorRowWrittenByHandLoadsAsSeparator) {
    writeText(group(L"LinkType"), L"Title1", L"");
    writeNumber(group(L"LinkType"), L"Which1", 0xFFFFFFFF);
    writeText(group(L"LinkType"), L"Attr1", L"");
    writeNumber(group(L"LinkType"), L"Shortcut1", 0);
    writeNumber(group(L"LinkType"), L"Submenu1", 99);
    SettingsStore store;
    store.loadLinkType();
    ASSERT_EQ(store.LinkType.size(), 1u);
    EXPECT_TRUE(store.LinkType[0].Title.empty());
    EXPECT_EQ(store.LinkType[0].Which, -1);
    EXPECT_EQ(store.LinkType[0].Submenu, 99);
}

// ---- Preferred sheets ----------------------------------------------------------------------

TEST_F(SettingsStoreTest, FindPreferredTakesTheFirstCaseInsensitivePrefixMatch) {
    SettingsStore store;
    store.Prefer.resize(3);
    store.Prefer[0].URI = L"http://other/";
    store.Prefer[1].URI = L"HTTP://Example.org/";
    store.Prefer[2].URI = L"http://example.org/docs/";
    EXPECT_EQ(store.findPreferred(L"http://example.org/docs/a.html"), &store.Prefer[1]) << "first, not longest";
    EXPECT_EQ(store.findPreferred(L"http://nowhere/"), nullptr);
    EXPECT_EQ(store.findPreferred(L"http://exam"), nullptr) << "a pattern longer than the url";
    EXPECT_EQ(store.findPreferred(nullptr), nullptr);
    store.Prefer[2].URI = L"";
    EXPECT_EQ(store.findPreferred(L"ftp://x/"), &store.Prefer[2]) << "an empty pattern matches everything";
}

// ---- Root key ------------------------------------------------------------------------------

TEST_F(SettingsStoreTest, RootKeyIsCreatedAndDeletedWithItsEmptyParent) {
    EXPECT_TRUE(deleteRootKey()) << "a tree that is already gone counts as deleted";
    ASSERT_TRUE(createRootKey());
    EXPECT_TRUE(keyExists(kRoot));
    EXPECT_TRUE(createRootKey()) << "an existing key is opened";
    writeNumber(group(L"Etc"), L"SyncUse", 1);
    EXPECT_TRUE(deleteRootKey());
    EXPECT_FALSE(keyExists(L"Software\\Orv"));

    createKey(L"Software\\Orv\\Other");
    ASSERT_TRUE(createRootKey());
    EXPECT_TRUE(deleteRootKey());
    EXPECT_FALSE(keyExists(kRoot));
    EXPECT_TRUE(keyExists(L"Software\\Orv\\Other")) << "a parent that is still in use stays";
}

// ---- Several windows -----------------------------------------------------------------------

TEST_F(SettingsStoreTest, ClosingAnOlderWindowKeepsWhatAnotherWindowSaved) {
    auto older = std::make_unique<SettingsStore>();
    older->loadAll();
    {
        SettingsStore newer;
        newer.loadAll();
        newer.Prefer.resize(1);
        newer.Prefer[0].Title = L"Saved elsewhere";
        newer.LinkEtc.MaxEtcNum = 12;
        ASSERT_TRUE(newer.saveAll());
    }
    older->Etc.FrameAware = false;  // changed in place, never saved
    older.reset();

    SettingsStore check;
    check.loadAll();
    ASSERT_EQ(check.Prefer.size(), 1u);
    EXPECT_STREQ(check.Prefer[0].Title.c_str(), L"Saved elsewhere");
    EXPECT_EQ(check.LinkEtc.MaxEtcNum, 12);
    EXPECT_FALSE(check.Etc.FrameAware) << "the older window's own change is still written";
}

TEST_F(SettingsStoreTest, ClosingWritesNoUnsavedChangeOverAGroupAnotherWindowSaved) {
    auto older = std::make_unique<SettingsStore>();
    older->loadAll();
    older->CruiseShortcut = 0;  // changed in place, never saved
    older->AddSheet.resize(1);
    older->AddSheet[0].Title = L"older";
    {
        SettingsStore newer;
        newer.loadAll();
        newer.LinkCruise.resize(2);
        newer.AddSheet.resize(1);
        newer.AddSheet[0].Title = L"newer";
        ASSERT_TRUE(newer.saveAll());
    }
    older.reset();

    SettingsStore check;
    check.loadAll();
    EXPECT_EQ(check.LinkCruise.size(), 2u) << "the whole group would have gone back to the older order";
    EXPECT_EQ(check.CruiseShortcut, 0x0255);
    ASSERT_EQ(check.AddSheet.size(), 1u);
    EXPECT_STREQ(check.AddSheet[0].Title.c_str(), L"newer");
}

TEST_F(SettingsStoreTest, TwoWindowsSavingInTurnBothKeepTheirGroups) {
    SettingsStore first, second;
    first.loadAll();
    second.loadAll();
    first.AddSheet.resize(1);
    first.AddSheet[0].Title = L"first";
    ASSERT_TRUE(first.saveAll());
    second.loadAll();  // as before its settings sheet opens
    second.LinkCruise.resize(1);
    ASSERT_TRUE(second.saveAll());

    SettingsStore check;
    check.loadAll();
    EXPECT_EQ(check.AddSheet.size(), 1u);
    EXPECT_EQ(check.LinkCruise.size(), 1u);
}

TEST_F(SettingsStoreTest, ClosingAnUnchangedStoreWritesNothing) {
    {
        SettingsStore store;
        store.loadAll();
        ASSERT_TRUE(deleteRootKey());  // settings discarded while the window is open
    }
    EXPECT_FALSE(keyExists(kRoot)) << "closing must not bring discarded settings back";

    SettingsStore store;
    store.loadAll();
    store.Etc.SyncUse = false;
    EXPECT_TRUE(store.saveChanged());
    EXPECT_TRUE(keyExists(group(L"Etc")));
    EXPECT_FALSE(keyExists(group(L"AddSheet")));
    EXPECT_FALSE(keyExists(group(L"LinkEtc")));
}

TEST_F(SettingsStoreTest, AWindowOpeningWhileAnotherWritesTheLinkTablesWaitsForTheWholeTable) {
    std::size_t typesRead = 0;
    std::thread opening;
    {
        const SettingsLock writing;  // as another window's store holds it while it saves
        writeText(group(L"LinkType"), L"Title1", L"次");
        writeNumber(group(L"LinkType"), L"Which1", 0);
        writeText(group(L"LinkType"), L"Attr1", L"Next");
        opening = std::thread([&] {
            SettingsStore store;
            store.loadAll();
            typesRead = store.LinkType.size();
        });
        Sleep(200);  // long enough for an unguarded load to read the half-written table
        writeText(group(L"LinkType"), L"Title2", L"前");
        writeNumber(group(L"LinkType"), L"Which2", 0);
        writeText(group(L"LinkType"), L"Attr2", L"Prev");
    }
    opening.join();
    EXPECT_EQ(typesRead, 2u);
}

TEST_F(SettingsStoreTest, WindowsOpeningAtOnceOnAFirstRunAllGetTheWholeDefaultTables) {
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(deleteRootKey());
        const KernelHandle start(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::vector<std::size_t> types(8), cruise(8);
        std::vector<std::thread> windows;
        for (std::size_t i = 0; i < types.size(); ++i) {
            windows.emplace_back([&, i] {
                WaitForSingleObject(start.get(), INFINITE);
                SettingsStore store;
                store.loadAll();
                types[i] = store.LinkType.size();
                cruise[i] = store.LinkCruise.size();
            });
        }
        SetEvent(start.get());
        for (std::thread& window : windows) window.join();
        EXPECT_EQ(types, std::vector<std::size_t>(8, 7));
        EXPECT_EQ(cruise, std::vector<std::size_t>(8, 5));
    }
}

}  // namespace
