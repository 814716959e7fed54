// The sheets' outcomes as the store and the registry see them: OK, Apply, Cancel, unvisited tabs.
#include "settings_ui_fixture.h"

#include "common/module.h"
#include "settings_ui/about_page.h"
#include "settings_ui/link_settings_sheet.h"
#include "settings_ui/style_settings_sheet.h"
#include "settings_ui_resource.h"

namespace quorin::test {
namespace {

class SheetOutcomes : public SettingsUiTest {
protected:
    void SetUp() override {
        SettingsUiTest::SetUp();
        store.loadAll();
        store.AddSheet = {addSheet(L"Dark", L"C:\\dark.css"), addSheet(L"Print", L"C:\\print.css")};
        store.saveAll();
        before = registryImage();
    }

    std::map<std::wstring, std::vector<BYTE>> before;
};

TEST_F(SheetOutcomes, OkWithoutEditsChangesNothingOnAnyTab) {
    openSheet<StyleSettingsSheet>(kStyleCaption, [](ModalScript&, HWND sheet) {
        EXPECT_EQ(tabCaptions(sheet), (std::vector<std::wstring>{L"シート追加", L"優先固定", L"その他", L"About"}));
        for (int tab = 0; tab < 4; ++tab) EXPECT_TRUE(selectTab(sheet, tab));
        EXPECT_FALSE(isEnabled(sheet, kApplyButton));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_FALSE(modified);
    openSheet<LinkSettingsSheet>(kLinkCaption, [](ModalScript&, HWND sheet) {
        EXPECT_EQ(tabCaptions(sheet), (std::vector<std::wstring>{L"リンク形式", L"手動巡回", L"その他"}));
        for (int tab = 0; tab < 3; ++tab) EXPECT_TRUE(selectTab(sheet, tab));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_FALSE(modified);
    EXPECT_EQ(titles(store.AddSheet), (std::vector<std::wstring>{L"Dark", L"Print"}));
    EXPECT_EQ(registryImage(), before);
}

TEST_F(SheetOutcomes, CancelAfterEditsLeavesTheStoreButReportsTheEdits) {
    openSheet<StyleSettingsSheet>(kStyleCaption, [](ModalScript&, HWND sheet) {
        HWND page = currentPage(sheet);
        clickRow(GetDlgItem(page, IDC_ADDSHEET_LIST), 0);
        EXPECT_TRUE(click(page, IDC_ADDSHEET_DELETE));
        EXPECT_TRUE(isEnabled(sheet, kApplyButton));
        EXPECT_TRUE(click(selectTab(sheet, 2), IDC_STYLEETC_SYNC_USE));
        EXPECT_TRUE(click(sheet, IDCANCEL));
    });
    EXPECT_TRUE(modified);
    EXPECT_EQ(titles(store.AddSheet), (std::vector<std::wstring>{L"Dark", L"Print"}));
    EXPECT_TRUE(store.Etc.SyncUse);
    EXPECT_EQ(registryImage(), before);
}

TEST_F(SheetOutcomes, ApplyThenCancelKeepsWhatWasApplied) {
    openSheet<StyleSettingsSheet>(kStyleCaption, [](ModalScript&, HWND sheet) {
        HWND page = currentPage(sheet);
        clickRow(GetDlgItem(page, IDC_ADDSHEET_LIST), 0);
        EXPECT_TRUE(click(page, IDC_ADDSHEET_DELETE));
        EXPECT_TRUE(click(sheet, kApplyButton));
        EXPECT_TRUE(click(selectTab(sheet, 2), IDC_STYLEETC_SYNC_USE));
        EXPECT_TRUE(click(sheet, IDCANCEL));
    });
    EXPECT_TRUE(modified);
    EXPECT_EQ(titles(store.AddSheet), std::vector<std::wstring>{L"Print"});
    EXPECT_TRUE(store.Etc.SyncUse);
    SettingsStore reloaded;
    reloaded.loadAll();
    EXPECT_EQ(titles(reloaded.AddSheet), std::vector<std::wstring>{L"Print"});
}

TEST_F(SheetOutcomes, OkLeavesATabNeverVisitedAsLoaded) {
    // Visited, the limits page would bring this into its range.
    store.LinkEtc.MaxEtcNum = 100000;
    openSheet<LinkSettingsSheet>(kLinkCaption, [](ModalScript&, HWND sheet) {
        HWND page = currentPage(sheet);
        clickRow(GetDlgItem(page, IDC_LINKTYPE_LIST), 0);
        EXPECT_TRUE(click(page, IDC_LINKTYPE_DOWN));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_TRUE(modified);
    SettingsStore reloaded;
    reloaded.loadAll();
    EXPECT_EQ(reloaded.LinkEtc.MaxEtcNum, 100000);
    ASSERT_GE(reloaded.LinkType.size(), 2u);
    EXPECT_STREQ(reloaded.LinkType[0].Title.c_str(), L"前");
    EXPECT_STREQ(reloaded.LinkType[1].Title.c_str(), L"次");
}

TEST(PropertySheetFrame, ASheetWithoutPagesShowsNothingAndAPageAddedTwiceIsOneTab) {
    PropertySheet empty(moduleHandle(), IDS_STYLE_SETTINGS_CAPTION, nullptr);
    EXPECT_EQ(empty.doModal(), -1);

    AboutPage about;
    PropertySheet sheet(moduleHandle(), IDS_STYLE_SETTINGS_CAPTION, nullptr);
    sheet.addPage(about);
    sheet.addPage(about);
    ModalScript driver;
    EXPECT_TRUE(driver.run([&] { sheet.doModal(); },
                           [](ModalScript& s) {
                               HWND window = s.waitForDialog(kStyleCaption);
                               ASSERT_TRUE(window);
                               EXPECT_EQ(tabCaptions(window), std::vector<std::wstring>{L"About"});
                               EXPECT_TRUE(click(window, IDOK));
                           }));
    EXPECT_FALSE(sheet.isModified());
}

}  // namespace
}  // namespace quorin::test
