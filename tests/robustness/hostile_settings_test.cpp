// Settings edited by hand: values of the wrong type, without terminator, over-long or huge, gaps
// in the numbering, a garbage toolbar layout, and lists of 100,000 entries. The band still loads
// and works; both settings sheets open showing what was valid; saving keeps every valid entry.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/reg_key.h"
#include "robustness/robustness_support.h"
#include "settings/settings_store.h"
#include "settings_ui/link_settings_sheet.h"
#include "settings_ui/style_settings_sheet.h"
#include "settings_ui/settings_ui_fixture.h"
#include "settings_ui_resource.h"

using namespace quorin;
using namespace quorin::test;

namespace {

void put(const wchar_t* group, const std::wstring& name, DWORD type, const void* data, size_t bytes) {
    RegKey key;
    const std::wstring path = std::wstring(kRootKeyPath) + (*group ? L"\\" : L"") + group;
    ASSERT_TRUE(key.create(HKEY_CURRENT_USER, path.c_str(), KEY_SET_VALUE));
    ASSERT_EQ(RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes)),
              ERROR_SUCCESS);
}

// With its terminator unless told otherwise.
void putText(const wchar_t* group, const std::wstring& name, const std::wstring& text, bool terminated = true,
             DWORD type = REG_SZ) {
    put(group, name, type, text.c_str(), (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
}

void putNumber(const wchar_t* group, const std::wstring& name, DWORD number) {
    put(group, name, REG_DWORD, &number, sizeof number);
}

// Every stored field of the store, one line each, to compare what loaded with what a save kept.
std::vector<std::wstring> fields(const SettingsStore& s) {
    std::vector<std::wstring> out;
    for (const auto& e : s.AddSheet) out.push_back(L"A " + std::wstring(e.Title.c_str()) + L"|" + e.Path.c_str());
    for (const auto& e : s.Prefer) out.push_back(L"P " + std::wstring(e.Title.c_str()) + L"|" + e.URI.c_str());
    out.push_back(L"E " + std::to_wstring(s.Etc.UseSheetShortcut) + L" " + std::to_wstring(s.Etc.UseAttrShortcut) +
                  L" " + std::to_wstring(s.Etc.SyncUse) + L" " + std::to_wstring(s.Etc.FrameAware));
    for (const auto& e : s.LinkType)
        out.push_back(L"T " + std::wstring(e.Title.c_str()) + L"|" + std::to_wstring(e.Which) + L"|" + e.Attr.c_str() +
                      L"|" + std::to_wstring(e.Shortcut) + L"|" + std::to_wstring(e.Submenu));
    for (const auto& e : s.LinkCruise) out.push_back(L"C " + std::wstring(e.Title.c_str()));
    const LinkEtcSettings& l = s.LinkEtc;
    out.push_back(L"L " + std::to_wstring(s.CruiseShortcut) + L" " + std::to_wstring(l.MaxEtcNum) + L" " +
                  std::to_wstring(l.EnumStyleSheet) + L" " + std::to_wstring(l.MaxUnRelNum) + L" " +
                  std::to_wstring(l.GroupSameSite) + L" " + std::to_wstring(l.EnumNonLink) + L" " +
                  std::to_wstring(l.MaxNonLinkNum) + L" " + std::to_wstring(l.ElimDuplLinks));
    return out;
}

std::vector<std::wstring> firstColumn(HWND list) {
    std::vector<std::wstring> texts;
    for (int row = 0; row < rowCount(list); ++row) texts.push_back(cellText(list, row, 0));
    return texts;
}

void writeHandEditedStore() {
    const std::wstring huge(32767, L'x');  // 64 KB
    const std::vector<BYTE> beyondAnyField(1024 * 1024 + 2, 'y');
    const BYTE odd[] = {'C', 0, 'D'};
    const wchar_t multi[] = L"m1\0m2\0";

    putText(L"AddSheet", L"Title1", L"Valid");
    putText(L"AddSheet", L"Path1", L"a.css");
    putText(L"AddSheet", L"Title2", L"Unterminated", false);
    putText(L"AddSheet", L"Path2", L"b.css", true, REG_EXPAND_SZ);
    putNumber(L"AddSheet", L"Title3", 0x00410042);
    putText(L"AddSheet", L"Path3", huge);
    put(L"AddSheet", L"Title4", REG_BINARY, odd, sizeof odd);
    put(L"AddSheet", L"Path4", REG_MULTI_SZ, multi, sizeof multi);
    put(L"AddSheet", L"Title5", REG_BINARY, beyondAnyField.data(), beyondAnyField.size());
    putText(L"AddSheet", L"Path5", L"");
    putText(L"AddSheet", L"Title7", L"After the gap");
    putText(L"AddSheet", L"Path7", L"gone.css");

    putText(L"Prefer", L"Title1", L"Blue");
    putText(L"Prefer", L"URI1", L"http://example.test/");
    put(L"Prefer", L"Title2", REG_NONE, nullptr, 0);
    putText(L"Prefer", L"URI2", huge, false);
    putText(L"Prefer", L"Title3", L"no URI");

    putText(L"Etc", L"UseSheetShortcut", L"ZZZZ");
    const BYTE attr[] = {0x51, 0x02};
    put(L"Etc", L"UseAttrShortcut", REG_BINARY, attr, sizeof attr);
    const ULONGLONG wide = 0;
    put(L"Etc", L"SyncUse", REG_QWORD, &wide, sizeof wide);
    putNumber(L"Etc", L"FrameAware", 7);

    putText(L"LinkType", L"Title1", L"次");
    putNumber(L"LinkType", L"Which1", 0);
    putText(L"LinkType", L"Attr1", L"Next");
    putNumber(L"LinkType", L"Shortcut1", 0x034E);
    putText(L"LinkType", L"Title2", L"Odd");
    putNumber(L"LinkType", L"Which2", 5);
    putText(L"LinkType", L"Attr2", L"odd", false);
    putText(L"LinkType", L"Shortcut2", L"x");
    putNumber(L"LinkType", L"Submenu2", static_cast<DWORD>(-7));
    putText(L"LinkType", L"Title3", huge);
    putNumber(L"LinkType", L"Which3", 0xFFFFFFFF);
    putText(L"LinkType", L"Attr3", L"Prev");
    putText(L"LinkType", L"Title4", L"no Which");
    putText(L"LinkType", L"Attr4", L"Up");

    putText(L"LinkCruise", L"Title1", L"次");
    putNumber(L"LinkCruise", L"Title2", 0x41);
    put(L"LinkCruise", L"Shortcut", REG_BINARY, beyondAnyField.data(), 8);

    putNumber(L"LinkEtc", L"MaxEtcNum", 100000);
    putNumber(L"LinkEtc", L"MaxUnRelNum", 0xFFFFFFFF);
    putText(L"LinkEtc", L"EnumStyleSheet", L"1");
    put(L"LinkEtc", L"GroupSameSite", REG_QWORD, &wide, sizeof wide);
    putNumber(L"LinkEtc", L"MaxNonLinkNum", 0);

    put(L"", L"Toolbar", REG_BINARY, beyondAnyField.data(), 65536);
}

// Far beyond any user's list; a hundred thousand take minutes in Wine's registry alone, so that
// size is left to the band's load benchmark.
constexpr int kManyEntries = 10000;
// Showing that many rows costs Wine a round trip to its server for every row the list view takes
// while it draws: seconds on an idle machine, and up to a minute on a busy one. The scripts' limit
// only tells a hang from that; how fast a sheet fills is the benchmarks' business.
constexpr DWORD kManyEntriesLimitMs = 10 * 60 * 1000;

// count entries of a list group, each with its required values, written straight to the registry.
void writeManyEntries(const wchar_t* group, const std::vector<const wchar_t*>& stems, int count) {
    RegKey key;
    const std::wstring path = std::wstring(kRootKeyPath) + L"\\" + group;
    ASSERT_TRUE(key.create(HKEY_CURRENT_USER, path.c_str(), KEY_SET_VALUE));
    for (int i = 1; i <= count; ++i)
        for (const wchar_t* stem : stems) {
            const std::wstring name = stem + std::to_wstring(i);
            if (std::wstring(stem) == L"Which") {
                const DWORD zero = 0;
                RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
            } else {
                RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                               static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
            }
        }
}

class HostileSettings : public SettingsUiTest {
protected:
    // A browser window on a styled, linked page with the settings as they are: it loads, the
    // shortcuts work, and a window that changed nothing writes nothing.
    void bandWorks() {
        const RunBalance before = RunBalance::now();
        {
            PageBuilder page(L"http://example.test/a.html");
            styledPage(page);
            page.link(L"next", L"b.html");
            BrowserWindow window(library, page);
            ASSERT_EQ(window.sited, S_OK);
            ASSERT_EQ(SendMessageW(window.toolbar(), TB_BUTTONCOUNT, 0, 0), 2);
            window.load();
            typeKeys(window.frame.documentWindow(), {VK_CONTROL, 'Z'});
            EXPECT_EQ(sheetStates(page.doc()).find('E'), std::string::npos) << "the page's and the added sheets are off";
            typeLinkShortcut(window.frame.documentWindow(), 'N');
            EXPECT_EQ(page.doc().location()->navigations(), std::vector<std::wstring>{L"http://example.test/b.html"});
        }
        before.holds(library, "a window over hand-edited settings");
    }

    // Opens each sheet, makes an edit and takes it back, and saves with OK; every loaded field
    // must come back from the registry as it was.
    // The link limits are the exception: one out of the page's range is saved as its bound.
    template <class Sheet>
    void saveKeepsEverything(const wchar_t* caption, int page, int box) {
        store.loadAll();
        store.LinkEtc.MaxEtcNum = std::clamp(store.LinkEtc.MaxEtcNum, 0, 999);
        store.LinkEtc.MaxUnRelNum = std::clamp(store.LinkEtc.MaxUnRelNum, 0, 999);
        const std::vector<std::wstring> loaded = fields(store);
        openSheet<Sheet>(caption, [&](ModalScript&, HWND sheet) {
            HWND shown = selectTab(sheet, page);
            EXPECT_TRUE(click(shown, box));
            EXPECT_TRUE(click(shown, box));
            EXPECT_TRUE(click(sheet, IDOK));
        });
        EXPECT_TRUE(modified);
        SettingsStore reloaded;
        reloaded.loadAll();
        EXPECT_EQ(fields(reloaded), loaded);
    }

    Library library;
};

// A saved layout that is no layout of ours leaves the buttons as they are without one.
TEST_F(HostileSettings, AToolbarLayoutThatIsNoneOfOursGivesTheDefaultButtons) {
    const std::vector<BYTE> garbage(65536, 'y');
    std::vector<DWORD> ours(100, kStyleButton), unknown{12345, 0x80000000, 7};
    const struct {
        DWORD type;
        const void* data;
        size_t bytes;
    } layouts[] = {{REG_BINARY, garbage.data(), garbage.size()}, {REG_BINARY, garbage.data(), 3},
                   {REG_BINARY, nullptr, 0},                     {REG_SZ, L"40001", 12},
                   {REG_BINARY, ours.data(), ours.size() * 4},   {REG_BINARY, unknown.data(), unknown.size() * 4}};
    for (const auto& layout : layouts) {
        put(L"", L"Toolbar", layout.type, layout.data, layout.bytes);
        PageBuilder page;
        BrowserWindow window(library, page);
        const std::vector<int> shown = buttons(window.toolbar());
        EXPECT_EQ(shown, (layout.data == ours.data() ? std::vector<int>{kStyleButton}
                                                      : std::vector<int>{kStyleButton, kLinkButton}))
            << layout.bytes << " bytes";
    }
}

TEST_F(HostileSettings, HandEditedValuesLeaveTheBandWorkingAndTheSheetsShowWhatWasValid) {
    writeHandEditedStore();
    bandWorks();

    store.loadAll();
    openSheet<StyleSettingsSheet>(kStyleCaption, [](ModalScript&, HWND sheet) {
        EXPECT_EQ(firstColumn(GetDlgItem(currentPage(sheet), IDC_ADDSHEET_LIST)),
                  (std::vector<std::wstring>{L"Valid", L"Unterminated", L"BA", L"C", L""}));
        EXPECT_EQ(firstColumn(GetDlgItem(selectTab(sheet, 1), IDC_PREFER_LIST)),
                  (std::vector<std::wstring>{L"Blue", L""}));
        HWND etc = selectTab(sheet, 2);
        EXPECT_EQ(SendDlgItemMessageW(etc, IDC_STYLEETC_SHEET_SHORTCUT, HKM_GETHOTKEY, 0, 0), 0x025A);
        EXPECT_EQ(SendDlgItemMessageW(etc, IDC_STYLEETC_ATTR_SHORTCUT, HKM_GETHOTKEY, 0, 0), 0x0251);
        EXPECT_TRUE(click(sheet, IDCANCEL));
    });
    EXPECT_EQ(store.AddSheet[2].Path.length(), 259u);
    openSheet<LinkSettingsSheet>(kLinkCaption, [](ModalScript&, HWND sheet) {
        EXPECT_EQ(rows(GetDlgItem(currentPage(sheet), IDC_LINKTYPE_LIST)).size(), 3u);
        EXPECT_EQ(firstColumn(GetDlgItem(selectTab(sheet, 1), IDC_CRUISE_LIST)),
                  (std::vector<std::wstring>{L"次", L"A"}));
        HWND etc = selectTab(sheet, 2);
        EXPECT_EQ(textOf(GetDlgItem(etc, IDC_LINKETC_ETC_EDIT)), L"999");
        EXPECT_EQ(textOf(GetDlgItem(etc, IDC_LINKETC_UNREL_EDIT)), L"0") << "a negative limit shows as its bound";
        EXPECT_TRUE(click(sheet, IDCANCEL));
    });

    saveKeepsEverything<StyleSettingsSheet>(kStyleCaption, 2, IDC_STYLEETC_SYNC_USE);
    saveKeepsEverything<LinkSettingsSheet>(kLinkCaption, 2, IDC_LINKETC_ENUM_STYLESHEET);
    bandWorks();
}

// The band loads and works, the sheets show every entry, and an OK after an edit saves them all.
TEST_F(HostileSettings, ListsOfTenThousandEntriesLoadShowAndSave) {
    scriptLimitMs = kManyEntriesLimitMs;
    store.loadAll();
    writeManyEntries(L"AddSheet", {L"Title", L"Path"}, kManyEntries);
    writeManyEntries(L"LinkCruise", {L"Title"}, kManyEntries);
    bandWorks();
    store.loadAll();
    openSheet<StyleSettingsSheet>(kStyleCaption, [](ModalScript&, HWND sheet) {
        EXPECT_EQ(rowCount(GetDlgItem(currentPage(sheet), IDC_ADDSHEET_LIST)), kManyEntries);
        EXPECT_TRUE(click(sheet, IDCANCEL));
    });
    openSheet<LinkSettingsSheet>(kLinkCaption, [](ModalScript&, HWND sheet) {
        EXPECT_EQ(rowCount(GetDlgItem(selectTab(sheet, 1), IDC_CRUISE_LIST)), kManyEntries);
        EXPECT_TRUE(click(sheet, IDCANCEL));
    });
    saveKeepsEverything<StyleSettingsSheet>(kStyleCaption, 2, IDC_STYLEETC_SYNC_USE);
    saveKeepsEverything<LinkSettingsSheet>(kLinkCaption, 2, IDC_LINKETC_ENUM_STYLESHEET);
}

}  // namespace
