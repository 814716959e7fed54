#include <gtest/gtest.h>
#include <windows.h>

#include "common/unique_handle.h"
#include "support/menu_driver.h"

using namespace quorin;
using namespace quorin::test;

namespace {

// A menu as the controllers build theirs, shown the way they show it.
class MenuDriverTest : public testing::Test {
protected:
    void SetUp() override {
        owner.reset(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr,
                                    nullptr, nullptr));
        AppendMenuW(menu.get(), MF_STRING, 101, L"&First");
        AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, 102, L"Grayed");
        AppendMenuW(menu.get(), MF_STRING | MF_CHECKED, 103, L"Title\tText");
        AppendMenuW(submenu, MF_STRING, 201, L"Inner one");
        AppendMenuW(submenu, MF_STRING, 202, L"Inner two");
        AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), L"More");
    }

    UINT track(const ModalScript::Script& script) {
        UINT chosen = 0;
        ModalScript driver;
        EXPECT_TRUE(driver.run(
            [&] {
                chosen = static_cast<UINT>(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, 20, 20,
                                                            owner.get(), nullptr));
            },
            script));
        return chosen;
    }

    WindowHandle owner;
    MenuHandle menu{CreatePopupMenu()};
    HMENU submenu = CreatePopupMenu();  // owned by menu once appended
};

TEST_F(MenuDriverTest, ReadsTheOpenMenuAndChoosesByKeyboard) {
    std::vector<MenuItem> items;
    const UINT chosen = track([&](ModalScript& s) {
        HMENU open = waitForPopup(s);
        ASSERT_EQ(open, menu.get());
        items = menuItems(open);
        chooseItem(s, open, 103);
    });
    EXPECT_EQ(chosen, 103u);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].text, L"&First");
    EXPECT_TRUE(items[1].separator());
    EXPECT_TRUE(items[2].grayed());
    EXPECT_TRUE(items[3].checked());
    EXPECT_EQ(items[3].text, L"Title\tText");
    EXPECT_EQ(items[4].submenu, submenu);
    EXPECT_TRUE(openMenus().empty());
}

TEST_F(MenuDriverTest, OpensSubmenusAndClosesWhatIsLeftOpen) {
    EXPECT_EQ(track([&](ModalScript& s) {
                  HMENU open = waitForPopup(s);
                  HMENU inner = openSubmenu(s, open, 4);
                  ASSERT_EQ(inner, submenu);
                  chooseAt(s, inner, 1);
              }),
              202u);
    EXPECT_EQ(track([&](ModalScript& s) {
                  waitForPopup(s);
                  closeMenus(s);
              }),
              0u);
    // A grayed item cannot be chosen.
    EXPECT_EQ(track([&](ModalScript& s) {
                  HMENU open = waitForPopup(s);
                  chooseItem(s, open, 102);
                  closeMenus(s);
              }),
              0u);
}

}  // namespace
