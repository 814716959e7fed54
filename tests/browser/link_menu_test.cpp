// The link menu as a user meets it in a browser window of the doubles: the drop-down arrow of the
// "リンク" button opens the real popup, read while it is open and worked with the keyboard; the
// browser double records where a chosen entry leads; the settings item opens the real sheet.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "browser/browser_window.h"
#include "settings/settings_store.h"
#include "settings_ui_resource.h"
#include "support/menu_driver.h"
#include "support/page_file.h"

using namespace quorin;
using namespace quorin::test;

namespace {

constexpr int kLinkId = 50001;
constexpr UINT kOther = 50090, kGeneral = 50091, kNonLink = 50092, kSettings = 50099;
constexpr wchar_t kLinkCaption[] = L"リンクの設定";

using Lines = std::vector<std::wstring>;

// One line per item: "-" for a separator, else the text as stored, " (grayed)" when grayed and
// " >" for a submenu holder.
Lines lines(HMENU menu) {
    Lines out;
    for (const MenuItem& item : menuItems(menu)) {
        if (item.separator()) {
            out.push_back(L"-");
            continue;
        }
        out.push_back(item.text + (item.grayed() ? L" (grayed)" : L"") + (item.submenu ? L" >" : L""));
    }
    return out;
}

HMENU submenuOf(HMENU menu, UINT id) {
    for (const MenuItem& item : menuItems(menu))
        if (item.id == id && !item.separator()) return item.submenu;
    return nullptr;
}

std::wstring statusText(HWND statusBar) {
    wchar_t text[2100] = {};
    SendMessageW(statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

LinkTypeEntry linkType(const wchar_t* title, const wchar_t* rel, int submenu = 2, WORD shortcut = 0) {
    LinkTypeEntry type;
    type.Title = title;
    type.Which = 0;
    type.Attr = rel;
    type.Submenu = submenu;
    type.Shortcut = shortcut;
    return type;
}

LinkTypeEntry separatorRow() {
    LinkTypeEntry type;
    type.Which = -1;
    type.Submenu = kSeparatorSubmenu;
    return type;
}

class LinkMenuTest : public BrowserWindowTest {
protected:
    // The settings the next browser window starts with.
    void store(const std::function<void(SettingsStore&)>& change) {
        SettingsStore settings;
        settings.loadAll();
        change(settings);
        settings.saveAll();
    }

    // Presses the link button's arrow and runs script while the menu (or what it opens) is up.
    void withMenu(BrowserWindow& window, const std::function<void(ModalScript&, HMENU)>& script) {
        ModalScript driver;
        EXPECT_TRUE(driver.run([&] { clickDropDown(window.toolbar(), kLinkId); },
                               [&](ModalScript& s) {
                                   HMENU menu = waitForPopup(s);
                                   EXPECT_TRUE(menu) << "the link menu did not open";
                                   if (menu) script(s, menu);
                                   // A script that failed half-way must not leave the menu's loop running.
                                   if (!openMenus().empty()) closeMenus(s);
                               }))
            << "the script timed out or left a window open";
        pumpMessages();
    }
    // The items of the menu and of every submenu, read while it is open; then closed.
    std::vector<Lines> read(BrowserWindow& window, std::vector<UINT> holders = {}) {
        std::vector<Lines> seen;
        withMenu(window, [&](ModalScript& s, HMENU menu) {
            seen.push_back(lines(menu));
            for (UINT holder : holders) {
                HMENU submenu = submenuOf(menu, holder);
                seen.push_back(submenu ? lines(submenu) : Lines{L"<no submenu>"});
            }
            closeMenus(s);
        });
        return seen;
    }
    // Opens the submenu of the top-level item at position and chooses its entry at entry.
    void chooseInSubmenu(BrowserWindow& window, int position, int entry) {
        withMenu(window, [&](ModalScript& s, HMENU menu) {
            HMENU submenu = openSubmenu(s, menu, position);
            ASSERT_TRUE(submenu);
            chooseAt(s, submenu, entry);
        });
    }
};

TEST_F(LinkMenuTest, ARealManualPageGroupsItsRelatedDocumentsAndTheChosenOneIsFollowed) {
    REQUIRE_PAGES("libffi");
    store([](SettingsStore& s) { s.LinkEtc.GroupSameSite = true; });
    std::string error;
    auto page = loadPageFile(pagesFolder() + L"\\libffi\\Types.page", &error);
    ASSERT_TRUE(page) << error;
    BrowserWindow window(library, *page);
    window.load();
    const std::wstring dir = L"http://pages.test/libffi/";
    const auto menus = read(window, {51001, kGeneral});
    ASSERT_EQ(menus.size(), 3u);
    // Link and anchor with the same rel give two entries, so those types are submenus.
    EXPECT_EQ(menus[0], (Lines{L"次 >", L"前 >", L"1つ上 >", L"目次 (grayed)", L"索引 >", L"先頭\tTop",
                               L"作者 (grayed)", L"-", L"その他(&E) (grayed)", L"-", L"一般(&U) >", L"-",
                               L"設定(&S)..."}));
    EXPECT_EQ(menus[1], (Lines{L"Multiple ABIs", L"Multiple ABIs"}));
    // Every general link of the manual is on its own site: no separator and nothing after it.
    EXPECT_EQ(menus[2], (Lines{L"Primitive Types", L"Structures", L"Size and Alignment",
                               L"Arrays, Unions, and Enumerations", L"Type Example", L"Complex Types",
                               L"Complex Type Example"}));

    withMenu(window, [&](ModalScript& s, HMENU menu) {
        HMENU next = openSubmenu(s, menu, 0);
        ASSERT_TRUE(next);
        EXPECT_EQ(statusText(window.frame.statusBar()), dir + L"Multiple-ABIs.html")
            << "the highlighted entry shows where it leads";
        closeMenus(s);
    });
    EXPECT_TRUE(page->doc().location()->navigations().empty()) << "only highlighted";
    chooseInSubmenu(window, 0, 1);
    chooseInSubmenu(window, 10, 1);
    withMenu(window, [&](ModalScript& s, HMENU menu) { chooseItem(s, menu, 51014); });
    EXPECT_EQ(page->doc().location()->navigations(),
              (Lines{dir + L"Multiple-ABIs.html", dir + L"Structures.html", dir + L"index.html"}));
}

TEST_F(LinkMenuTest, SubmenuValuesSeparatorRowsAmpersandsAndAnEmptyType) {
    store([](SettingsStore& s) {
        s.LinkType = {linkType(L"次", L"next", 0),  linkType(L"&Up", L"up", 1),   separatorRow(), separatorRow(),
                      linkType(L"目次", L"contents"), linkType(L"&Prev", L"prev"), linkType(L"索引", L"index"),
                      linkType(L"作者", L"made")};
    });
    PageBuilder page(L"http://server/dir/a.html");
    page.skeleton().filler(2);
    page.link(L"next", L"n1.html", L"First");
    page.link(L"next", L"n2.html", L"Second");
    page.link(L"next", L"n3.html", L"Third");
    page.link(L"up", L"../", L"Parent");
    page.link(L"contents", L"toc.html", L"A&B");
    page.link(L"index", L"i1.html", L"Index one");
    page.link(L"index", L"i2.html", L"Index two");
    page.link(L"prev", L"p.html", L"Before & after");
    BrowserWindow window(library, page);
    window.load();
    const auto menus = read(window, {51002, 51006});
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0], (Lines{L"次\tFirst", L"&Up >", L"-", L"-", L"目次\tA&&B", L"&&Prev\tBefore && after",
                               L"索引 >", L"作者 (grayed)", L"-", L"その他(&E) (grayed)", L"-",
                               L"一般(&U) (grayed)", L"-", L"設定(&S)..."}))
        << "Submenu 0 shows the first of three inline; 1 a submenu for one link; 2 inline for one";
    EXPECT_EQ(menus[1], (Lines{L"Parent"}));
    EXPECT_EQ(menus[2], (Lines{L"Index one", L"Index two"}));

    withMenu(window, [&](ModalScript& s, HMENU menu) { chooseItem(s, menu, 51001); });
    withMenu(window, [&](ModalScript& s, HMENU menu) { chooseItem(s, menu, 51004); });
    chooseInSubmenu(window, 1, 0);
    EXPECT_EQ(page.doc().location()->navigations(),
              (Lines{L"http://server/dir/n1.html", L"http://server/dir/toc.html", L"http://server/"}));
}

// Captions hold 59 units; U+1F600 takes two, and a cut between them would show half a character.
TEST_F(LinkMenuTest, CaptionsCutAt59UnitsKeepEveryCharacterWhole) {
    const std::wstring pair = L"\xD83D\xDE00";
    store([](SettingsStore& s) { s.LinkType = {linkType(L"次", L"next"), linkType(L"&前", L"prev")}; });
    PageBuilder page;
    page.skeleton().filler(2);
    page.link(L"next", L"n.html", std::wstring(56, L'n') + pair);
    page.link(L"prev", L"p.html", std::wstring(54, L'p') + pair);
    page.anchor(L"a.html", std::wstring(58, L'a') + pair);
    BrowserWindow window(library, page);
    window.load();
    const auto menus = read(window, {kGeneral});
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0][0], L"次\t" + std::wstring(56, L'n'));
    EXPECT_EQ(menus[0][1], L"&&前\t" + std::wstring(54, L'p')) << "the doubled ampersand leaves no room for the pair";
    EXPECT_EQ(menus[1], (Lines{std::wstring(58, L'a')}));
}

TEST_F(LinkMenuTest, BeforeAnyDocumentOnlyTheSettingsItemWorksAndATableOfSeparatorsStillSeparates) {
    store([](SettingsStore& s) { s.LinkEtc.EnumNonLink = true; });
    PageBuilder page;
    page.skeleton().filler(2);
    page.link(L"next", L"b.html", L"B");
    page.anchor(L"x.html", L"X");
    {
        BrowserWindow window(library, page);
        const auto menus = read(window);
        ASSERT_EQ(menus.size(), 1u);
        EXPECT_EQ(menus[0], (Lines{L"次 (grayed)", L"前 (grayed)", L"1つ上 (grayed)", L"目次 (grayed)",
                                   L"索引 (grayed)", L"先頭 (grayed)", L"作者 (grayed)", L"-",
                                   L"その他(&E) (grayed)", L"-", L"一般(&U) (grayed)", L"-",
                                   L"非リンク(&N) (grayed)", L"-", L"設定(&S)..."}));
    }
    store([](SettingsStore& s) {
        s.LinkType = {separatorRow(), separatorRow()};
        s.LinkEtc.EnumNonLink = false;
    });
    BrowserWindow window(library, page);
    window.load();
    const auto menus = read(window);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0], (Lines{L"-", L"-", L"-", L"その他(&E) >", L"-", L"一般(&U) >", L"-", L"設定(&S)..."}));
    EXPECT_TRUE(page.doc().location()->navigations().empty());
}

TEST_F(LinkMenuTest, SameSiteLinksComeFirstAndNonLinksOnlyWhenEnumerated) {
    store([](SettingsStore& s) {
        s.LinkEtc.GroupSameSite = true;
        s.LinkEtc.EnumNonLink = true;
    });
    PageBuilder page(L"http://server/dir/a.html");
    page.skeleton().filler(2);
    page.base(L"http://mirror/dir/");
    page.anchor(L"http://elsewhere/x.html", L"Elsewhere");
    page.anchor(L"/top.html", L"Top");   // resolved against the base: another site
    page.anchor(L"http://server/b.html", L"B");
    page.attributed(L"blockquote", L"cite", L"quoted.html").attr(L"title", L"Quoted");
    page.link(L"glossary", L"g.html", L"Glossary");
    {
        BrowserWindow window(library, page);
        window.load();
        const auto menus = read(window, {kOther, kGeneral, kNonLink});
        ASSERT_EQ(menus.size(), 4u);
        EXPECT_EQ(menus[0].end()[-3], L"非リンク(&N) >");
        EXPECT_EQ(menus[1], (Lines{L"(glossary)\tGlossary"}));
        EXPECT_EQ(menus[2], (Lines{L"B", L"-", L"Elsewhere", L"Top"}));
        EXPECT_EQ(menus[3], (Lines{L"(blockquote - cite)\tQuoted"}));
        withMenu(window, [&](ModalScript& s, HMENU menu) {
            HMENU nonLinks = openSubmenu(s, menu, positionOf(menu, kNonLink));
            ASSERT_TRUE(nonLinks);
            EXPECT_EQ(statusText(window.frame.statusBar()), L"http://mirror/dir/quoted.html");
            pressMenuKey(s, VK_LEFT);
            chooseItem(s, menu, kSettings);
            HWND sheet = s.waitForDialog(kLinkCaption);
            ASSERT_TRUE(sheet);
            HWND etc = selectTab(sheet, 2);
            EXPECT_TRUE(click(etc, IDC_LINKETC_ENUM_NONLINK));
            EXPECT_TRUE(click(sheet, IDOK));
            s.waitUntilGone(sheet);
        });
        SettingsStore saved;
        saved.loadAll();
        EXPECT_FALSE(saved.LinkEtc.EnumNonLink) << "saved when the sheet closed";
        EXPECT_TRUE(saved.LinkEtc.GroupSameSite);
        EXPECT_TRUE(window.browser->refreshLevels().empty()) << "the page is not reloaded";
        EXPECT_TRUE(window.browser->navigations().empty());
        const auto after = read(window);
        ASSERT_EQ(after.size(), 1u);
        EXPECT_TRUE(std::none_of(after[0].begin(), after[0].end(),
                                 [](const std::wstring& line) { return line.rfind(L"非リンク", 0) == 0; }))
            << "the new settings apply to the next menu";
        withMenu(window, [&](ModalScript& s, HMENU menu) {
            HMENU general = openSubmenu(s, menu, positionOf(menu, kGeneral));
            ASSERT_TRUE(general);
            chooseAt(s, general, 2);
        });
    }
    EXPECT_EQ(page.doc().location()->navigations(), (Lines{L"http://elsewhere/x.html"}));
}

TEST_F(LinkMenuTest, AShortcutOnTwoTypesReachesTheFirstAndThenTheCruise) {
    constexpr WORD kControlN = 0x024E;
    store([&](SettingsStore& s) {
        s.LinkType = {linkType(L"作者", L"made", 2, kControlN), linkType(L"次", L"next", 2, kControlN),
                      linkType(L"目次", L"contents")};
        CruiseEntry contents;
        contents.Title = L"目次";
        s.LinkCruise = {contents};
        s.CruiseShortcut = kControlN;
    });
    PageBuilder page(L"http://server/dir/a.html");
    page.skeleton().filler(2);
    page.link(L"next", L"b.html", L"B");
    page.link(L"contents", L"toc.html", L"Contents");
    BrowserWindow window(library, page);
    window.load();
    typeKeys(window.frame.documentWindow(), {VK_CONTROL, 'N'});
    EXPECT_EQ(page.doc().location()->navigations(), (Lines{L"http://server/dir/toc.html"}))
        << "the first type has no link, so the key is the cruise's, never the second type's";
    const auto menus = read(window);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0][0], L"作者 (grayed)") << "the menu shows no shortcut";
    EXPECT_EQ(menus[0][1], L"次\tB");
}

TEST_F(LinkMenuTest, AStoredLinkWordsTypeListsLinksByTheirWordsAndItsShortcutFollowsTheFirst) {
    constexpr WORD kControlShiftJ = 0x034A;
    store([&](SettingsStore& s) {
        s.LinkType.push_back(linkType(L"次(文字)", L"次へ|Next|»", 2, kControlShiftJ));
        s.LinkType.push_back(linkType(L"前(文字)", L"前へ|Prev|«"));
        s.LinkType[7].Which = s.LinkType[8].Which = kWhichWords;
    });
    PageBuilder page(L"http://forum/thread/2.html");
    page.skeleton().filler(2);
    page.anchor(L"1.html", L"« 前へ");
    page.anchor(L"3.html", L"次へ »");
    page.inside(page.anchor(L"3.html#end", L""), L"img").attr(L"alt", L"Next");
    page.anchor(L"gen.html", L"Next generation");
    BrowserWindow window(library, page);
    window.load();
    const auto menus = read(window, {51008, kGeneral});
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0], (Lines{L"次 (grayed)", L"前 (grayed)", L"1つ上 (grayed)", L"目次 (grayed)", L"索引 (grayed)",
                               L"先頭 (grayed)", L"作者 (grayed)", L"次(文字) >", L"前(文字)\t« 前へ", L"-",
                               L"その他(&E) (grayed)", L"-", L"一般(&U) >", L"-", L"設定(&S)..."}))
        << "the stored table is read with the window, no sheet opened";
    EXPECT_EQ(menus[1], (Lines{L"次へ »", L"Next"})) << "the image button shows its alt";
    EXPECT_EQ(menus[2], (Lines{L"Next generation"}));

    typeKeys(window.frame.documentWindow(), {VK_CONTROL, VK_SHIFT, 'J'});
    EXPECT_EQ(page.doc().location()->navigations(), (Lines{L"http://forum/thread/3.html"}));
}

// Every id of the menu and its submenus, with the range each menu's entries must keep to.
void collectIds(HMENU menu, std::vector<std::pair<UINT, HMENU>>& ids) {
    for (const MenuItem& item : menuItems(menu)) {
        if (item.separator()) continue;
        ids.emplace_back(item.id, menu);
        if (item.submenu) collectIds(item.submenu, ids);
    }
}

TEST_F(LinkMenuTest, LargeLimitsOnTenThousandAnchorsAndManyTypesKeepEveryIdInItsRange) {
    store([](SettingsStore& s) {
        s.LinkType = {linkType(L"A", L"a", 1), linkType(L"B", L"b", 1), linkType(L"C", L"c")};
        s.LinkEtc.GroupSameSite = true;
        s.LinkEtc.EnumNonLink = true;
    });
    PageBuilder page(L"http://server/dir/a.html");
    page.skeleton();
    for (int i = 0; i < 600; ++i) page.link(L"a", L"a" + std::to_wstring(i) + L".html", L"a" + std::to_wstring(i));
    for (int i = 0; i < 600; ++i) page.link(L"b", L"b" + std::to_wstring(i) + L".html", L"b" + std::to_wstring(i));
    page.link(L"c", L"c.html", L"c");
    for (int i = 0; i < 1200; ++i) page.link(L"other", L"o" + std::to_wstring(i) + L".html", L"o");
    for (int i = 0; i < 5000; ++i) page.anchor(L"s" + std::to_wstring(i) + L".html", L"same " + std::to_wstring(i));
    for (int i = 0; i < 5000; ++i) page.anchor(L"http://far/" + std::to_wstring(i), L"far");
    for (int i = 0; i < 1200; ++i) page.attributed(L"q", L"cite", L"q" + std::to_wstring(i) + L".html");
    BrowserWindow window(library, page);
    window.load();
    std::vector<std::pair<UINT, HMENU>> ids;
    Lines top;
    size_t aEntries = 0, bEntries = 0, general = 0, other = 0, nonLinks = 0;
    withMenu(window, [&](ModalScript& s, HMENU menu) {
        top = lines(menu);
        collectIds(menu, ids);
        aEntries = menuItems(submenuOf(menu, 51001)).size();
        bEntries = menuItems(submenuOf(menu, 51602)).size();
        general = menuItems(submenuOf(menu, kGeneral)).size();
        other = menuItems(submenuOf(menu, kOther)).size();
        nonLinks = menuItems(submenuOf(menu, kNonLink)).size();
        // The last same-site entry, from the bottom of the submenu.
        HMENU generalMenu = openSubmenu(s, menu, positionOf(menu, kGeneral));
        ASSERT_TRUE(generalMenu);
        pressMenuKey(s, VK_UP);
        pressMenuKey(s, VK_RETURN);
    });
    EXPECT_EQ(top.front(), L"A >");
    EXPECT_EQ(top[1], L"B >");
    EXPECT_EQ(top[2], L"-") << "type C has no id left: it is left out";
    EXPECT_EQ(aEntries, 600u);
    EXPECT_EQ(bEntries, 51999u - 51602u) << "B's entries fill the range up to its last id";
    EXPECT_EQ(other, 999u);
    EXPECT_EQ(general, 999u) << "same-site links fill the range; no other-site link fits after them";
    EXPECT_EQ(nonLinks, 999u);
    std::set<UINT> distinct;
    for (const auto& [id, menu] : ids) {
        distinct.insert(id);
        const bool fixed = id >= 50090 && id <= 50099;
        EXPECT_TRUE(fixed || (id >= 51001 && id <= 51999) || (id >= 52001 && id <= 52999) ||
                    (id >= 53001 && id <= 53999) || (id >= 54001 && id <= 54999))
            << "id " << id << " is outside every range";
    }
    EXPECT_EQ(distinct.size(), ids.size()) << "no two items share an id";
    EXPECT_EQ(page.doc().location()->navigations(), (Lines{L"http://server/dir/s998.html"}));
}

TEST_F(LinkMenuTest, MoreLinkTypesThanIdsLeaveTheLastTypesOut) {
    store([](SettingsStore& s) {
        s.LinkType.clear();
        for (int i = 0; i < 1100; ++i) s.LinkType.push_back(linkType(L"T", (L"t" + std::to_wstring(i)).c_str()));
    });
    PageBuilder page(L"http://server/dir/a.html");
    page.skeleton().filler(2);
    page.link(L"t1099", L"last.html", L"Last");
    page.link(L"t998", L"t998.html", L"998");
    BrowserWindow window(library, page);
    window.load();
    std::vector<MenuItem> items;
    withMenu(window, [&](ModalScript& s, HMENU menu) {
        items = menuItems(menu);
        // From the bottom: 設定, 一般, その他, then the last type that got an id.
        for (int i = 0; i < 4; ++i) pressMenuKey(s, VK_UP);
        pressMenuKey(s, VK_RETURN);
    });
    ASSERT_EQ(items.size(), 999u + 6u) << "999 types, a separator, the fixed items";
    EXPECT_EQ(items[998].id, 51999u);
    EXPECT_EQ(items[998].text, L"T\t998");
    EXPECT_TRUE(items[999].separator());
    EXPECT_EQ(page.doc().location()->navigations(), (Lines{L"http://server/dir/t998.html"}));
}

}  // namespace
