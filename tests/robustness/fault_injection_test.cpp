// Every call a user's action makes into the browser and the page, made to fail one at a time:
// each scenario runs once to number its calls, then once per call with that call failing (and,
// where the call is a getter, once handing out null and once empty). Every run must end without
// a crash or a hang, with every double given back, the library free to unload and the stored
// settings untouched.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "robustness/robustness_support.h"
#include "settings_ui/settings_ui_fixture.h"
#include "settings_ui_resource.h"
#include "support/menu_driver.h"

using namespace quorin;
using namespace quorin::test;

namespace {

using Action = std::function<void(BrowserWindow&)>;

// One row per thing the user does after the page has loaded.
struct Scenario {
    const char* name;
    Action act;
};

HWND page(BrowserWindow& window) { return window.frame.documentWindow(); }

// Off and on again.
Action twice(Action once) {
    return [once](BrowserWindow& window) {
        once(window);
        once(window);
    };
}

void everyLinkShortcut(BrowserWindow& window) {
    for (WPARAM key : {'N', 'P', 'U', 'C', 'I', 'S'}) typeLinkShortcut(page(window), key);
    typeKeys(page(window), {VK_CONTROL, VK_OEM_3});
}

constexpr UINT kStyleSettingsItem = 40099;

// Opens a button's menu and runs choose inside it; a menu that does not open ends the run at once.
void inMenu(BrowserWindow& window, int button, const std::function<void(ModalScript&, HMENU)>& choose) {
    ModalScript script(10000);
    script.run([&] { clickDropDown(window.toolbar(), button); },
               [&](ModalScript& s) {
                   if (HMENU menu = waitForPopup(s)) choose(s, menu);
                   closeMenus(s);
               });
}

void chooseBlueTitle(BrowserWindow& window) {
    inMenu(window, kStyleButton, [](ModalScript& s, HMENU menu) {
        for (const MenuItem& item : menuItems(menu))
            if (item.text.find(L"Blue") != std::wstring::npos) return chooseItem(s, menu, item.id);
    });
}

// Opens a button's settings sheet from its menu, clicks a check box of the third tab twice and
// presses OK: an edit taken back still counts as one, so OK saves what was there.
Action editSettings(int button, UINT settingsItem, const wchar_t* caption, int checkBox) {
    return [=](BrowserWindow& window) {
        inMenu(window, button, [=](ModalScript& s, HMENU menu) {
            chooseItem(s, menu, settingsItem);
            HWND sheet = s.waitForDialog(caption);
            if (!sheet) return;
            HWND page = selectTab(sheet, 2);
            click(page, checkBox);
            click(page, checkBox);
            click(sheet, IDOK);
            s.waitUntilGone(sheet);
        });
    };
}

constexpr UINT kLinkSettingsItem = 50099;

bool isLinkTypeItem(const MenuItem& item) { return item.id >= 51001 && item.id <= 51999 && !item.grayed(); }

// The first link type the page offers, inline or from its submenu.
void chooseLinkEntry(BrowserWindow& window) {
    inMenu(window, kLinkButton, [](ModalScript& s, HMENU menu) {
        const std::vector<MenuItem> items = menuItems(menu);
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            if (!isLinkTypeItem(items[i])) continue;
            if (!items[i].submenu) return chooseAt(s, menu, i);
            if (HMENU inner = openSubmenu(s, menu, i)) chooseAt(s, inner, 0);
            return;
        }
    });
}

const Scenario kScenarios[] = {
    {"PageLoad", [](BrowserWindow&) {}},
    {"StyleAttributesByShortcut", twice([](BrowserWindow& w) { typeKeys(page(w), {VK_CONTROL, 'Q'}); })},
    {"StylesheetsByShortcut", twice([](BrowserWindow& w) { typeKeys(page(w), {VK_CONTROL, 'Z'}); })},
    {"StylesheetsByFace", twice([](BrowserWindow& w) { clickFace(w.toolbar(), kStyleButton); })},
    {"CruiseByFace", [](BrowserWindow& w) { clickFace(w.toolbar(), kLinkButton); }},
    {"CruiseByShortcut", [](BrowserWindow& w) { typeKeys(page(w), {VK_CONTROL, 'U'}); }},
    {"EveryLinkShortcut", everyLinkShortcut},
    {"StyleMenuTitle", chooseBlueTitle},
    {"StyleSettingsByMenu", editSettings(kStyleButton, kStyleSettingsItem, kStyleCaption, IDC_STYLEETC_SYNC_USE)},
    {"LinkMenuEntry", chooseLinkEntry},
    {"LinkSettingsByMenu", editSettings(kLinkButton, kLinkSettingsItem, kLinkCaption, IDC_LINKETC_GROUP_SAME_SITE)},
};

// One whole run: a window opens on the page, loads it, the user acts, the window closes.
void play(const Library& library, const Scenario& scenario) {
    PageBuilder shown(L"http://example.test/dir/index.html", L"Fault & title");
    richPage(shown);
    BrowserWindow window(library, shown);
    window.load();
    scenario.act(window);
}

const char* outcomeName(CallFaults::Outcome outcome) {
    switch (outcome) {
        case CallFaults::Outcome::Fail: return "fails";
        case CallFaults::Outcome::Null: return "gives null";
        case CallFaults::Outcome::Empty: return "gives empty";
    }
    return "";
}

class FaultInjection : public testing::TestWithParam<Scenario> {
protected:
    // One run with the call given that outcome; true when it was reached and every check held.
    bool survives(long call, CallFaults::Outcome outcome, const RunBalance& before) {
        CallFaults::inject(call, outcome);
        play(library, GetParam());
        CallFaults::stop();
        const std::string what = std::string("call ") + std::to_string(call) + " (" + CallFaults::hitMethod() + ") " +
                                 outcomeName(outcome);
        return before.holds(library, what) && CallFaults::hit();
    }

    RegistrySandbox sandbox;
    Library library;
};

TEST_P(FaultInjection, EveryCallFailingInTurnIsSurvived) {
    // The first window stores the defaults; the runs after it must leave them as they are.
    play(library, GetParam());
    const RunBalance before = RunBalance::now();
    CallFaults::count();
    play(library, GetParam());
    CallFaults::stop();
    const std::vector<CallFaults::Call> calls = CallFaults::calls();
    ASSERT_TRUE(before.holds(library, "the run without failures"));
    ASSERT_GT(calls.size(), 20u) << "the scenario reached the browser and the page";

    int survived = 0;
    for (long call = 1; call <= static_cast<long>(calls.size()); ++call) {
        const CallFaults::Call& seen = calls[call - 1];
        survived += survives(call, CallFaults::Outcome::Fail, before);
        if (seen.nullable) survived += survives(call, CallFaults::Outcome::Null, before);
        if (seen.emptiable) survived += survives(call, CallFaults::Outcome::Empty, before);
        if (HasFailure()) break;
    }
    std::printf("%s: %zu calls, %d injected failures survived\n", GetParam().name, calls.size(), survived);
    RecordProperty("survived", survived);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, FaultInjection, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

}  // namespace
