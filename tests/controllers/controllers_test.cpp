// The two controllers over page doubles, the key handling the hook hands keys to, and the
// escaping of menu captions.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/keyboard_hook.h"
#include "common/module.h"
#include "controllers/link_controller.h"
#include "controllers/style_controller.h"
#include "resource.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"
#include "support/site_double.h"

using namespace quorin;
using namespace quorin::test;

namespace {

constexpr WORD kControlZ = 0x025A;

// Takes the one shortcut value it is given, and remembers every value it was offered.
class RecordingController final : public ButtonController {
public:
    RecordingController(SettingsStore& settings, WORD takes) : ButtonController(settings, 0, 1, true), takes_(takes) {}
    void getTooltip(NMTTDISPINFOW&) override {}
    LRESULT getButtonInfo(NMTOOLBARW&) override { return 1; }
    bool onShortcut(WORD shortcut) override {
        offered.push_back(shortcut);
        return shortcut == takes_;
    }
    std::vector<WORD> offered;

private:
    WORD takes_;
};

class ControllerTest : public testing::Test {
protected:
    ControllerTest() {
        store.loadAll();
        store.Etc.SyncUse = false;
    }
    // The controller looks at the page through a band site, as in the browser.
    template <class Controller>
    void attach(Controller& controller, PageBuilder& page, bool hasContent = true) {
        site = ComPtr<SiteDouble>::adopt(new SiteDouble);
        site->setBrowser(page.browser()->unknown());
        controller.setSite(site->unknown());
        controller.onDocumentComplete(nullptr, hasContent);
    }
    ~ControllerTest() override {
        site = nullptr;
        EXPECT_EQ(DoubleBase::liveDoubles(), live_) << "a double was not released";
    }
    static std::string states(const DocumentDouble& document) {
        std::string result;
        for (const auto& sheet : document.sheets()) result += sheet->disabled() ? 'D' : 'E';
        return result;
    }
    static UINT tooltipOf(ButtonController& controller) {
        NMTTDISPINFOW info{};
        controller.getTooltip(info);
        EXPECT_EQ(info.hinst, moduleHandle());
        return static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.lpszText));
    }

    const LONG live_ = DoubleBase::liveDoubles();
    RegistrySandbox sandbox;
    SettingsStore store;
    ComPtr<SiteDouble> site;
};

TEST(EscapeAmpersands, DoublesEachAmpersandAndNeverPartsAPairOfEitherKind) {
    const struct {
        const wchar_t* source;
        std::size_t capacity;
        const wchar_t* expected;
    } cases[] = {{L"A&B", 10, L"A&&B"},
                 {L"&&", 4, L"&&"},
                 {L"ab&c", 4, L"ab"},
                 {L"abc", 1, L""},
                 {nullptr, 5, L""},
                 {L"abcdef", 4, L"abc"},
                 {L"ab\xD83D\xDE00", 4, L"ab"},
                 {L"a\xD83D\xDE00z", 4, L"a\xD83D\xDE00"},
                 {L"&\xD83D\xDE00", 4, L"&&"}};
    for (const auto& c : cases) {
        wchar_t out[16];
        std::fill(std::begin(out), std::end(out), L'#');
        const std::size_t written = ButtonController::escapeAmpersands(c.source, out, c.capacity);
        EXPECT_STREQ(out, c.expected) << c.capacity;
        EXPECT_EQ(written, std::wcslen(c.expected));
    }
}

TEST_F(ControllerTest, KeysAreOfferedWithTheirModifiersFirstToTheStyleSide) {
    RecordingController first(store, kControlZ), second(store, 0);
    WORD modifiers = 0;
    const auto key = [&](UINT message, WPARAM code, bool inPage = true) {
        handleKeyMessage(message, code, inPage, modifiers, first, second);
    };
    key(WM_KEYDOWN, VK_CONTROL);
    key(WM_KEYDOWN, 'Z');
    key(WM_KEYUP, 'Z');
    key(WM_KEYDOWN, VK_SHIFT);
    key(WM_KEYDOWN, 'Z');
    key(WM_KEYUP, VK_CONTROL);
    key(WM_SYSKEYDOWN, VK_MENU);
    key(WM_KEYDOWN, VK_MENU);
    key(WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(first.offered, (std::vector<WORD>{0x0211, kControlZ, 0x0310, 0x035A, 0x0512}));
    EXPECT_EQ(second.offered, (std::vector<WORD>{0x0211, 0x0310, 0x035A, 0x0512})) << "the taken key goes no further";
    EXPECT_EQ(modifiers, 0x0400) << "Alt stays down";

    key(WM_KEYDOWN, VK_CONTROL, false);
    key(WM_KEYDOWN, 'Z', false);
    EXPECT_EQ(first.offered.size(), 5u) << "keys pressed outside the page are not offered";
    key(WM_KEYDOWN, VK_CONTROL);
    key(WM_SYSKEYUP, VK_MENU);
    key(WM_KEYUP, VK_CONTROL, false);
    EXPECT_EQ(modifiers, 0) << "released as a system key, and in another window";
    key(WM_KEYDOWN, 'Z');
    EXPECT_EQ(first.offered.back(), 'Z');
}

TEST_F(ControllerTest, StyleKeysToggleSheetsOrStyleAttributesOnlyOnADocumentWithContent) {
    PageBuilder page;
    page.skeleton().filler(2).sheet(L"Blue");
    ElementDouble& styled = page.element(L"p").css(L"color: red");
    StyleController style(store);
    attach(style, page, false);
    EXPECT_FALSE(style.onShortcut(kControlZ));
    attach(style, page);
    EXPECT_FALSE(style.onShortcut(0x0211)) << "Control alone";
    EXPECT_FALSE(style.onShortcut(0x025B));
    EXPECT_TRUE(style.onShortcut(store.Etc.UseAttrShortcut));
    EXPECT_EQ(styled.cssText(), L"");
    EXPECT_EQ(states(page.doc()), "E") << "without SyncUse the sheets stay";

    store.Etc.UseAttrShortcut = kControlZ;
    StyleController same(store);
    attach(same, page);
    EXPECT_TRUE(same.onShortcut(kControlZ));
    EXPECT_EQ(states(page.doc()), "D") << "equal shortcuts toggle the sheets";
    EXPECT_EQ(styled.cssText(), L"");
}

TEST_F(ControllerTest, AStaleListIsReadFromThePageBeforeItIsUsed) {
    PageBuilder page;
    page.skeleton().filler(2);
    StyleController style(store);
    attach(style, page);
    EXPECT_EQ(tooltipOf(style), IDS_TIP_NO_SHEETS);
    page.sheet(L"Late");
    EXPECT_EQ(tooltipOf(style), IDS_TIP_NO_SHEETS) << "the list is kept until it is stale";
    style.markStale();
    EXPECT_EQ(tooltipOf(style), IDS_TIP_DONT_USE_SHEETS);
    EXPECT_FALSE(style.stale());
}

TEST_F(ControllerTest, LinkKeysFollowTheFirstTypeBoundToThemThenTheCruise) {
    // "前" (Prev) answers the cruise's own key; the page has no previous document.
    store.LinkType[1].Shortcut = store.CruiseShortcut;
    PageBuilder page(L"http://server/a.html");
    page.skeleton().filler(2);
    page.link(L"next", L"b.html", L"B");
    page.link(L"next", L"c.html", L"C");
    page.link(L"up", L"index.html");
    LinkController link(store);
    attach(link, page, false);
    EXPECT_FALSE(link.onShortcut(store.LinkType[0].Shortcut)) << "no usable document yet";
    link.onCommand();
    attach(link, page);
    EXPECT_TRUE(link.onShortcut(store.LinkType[0].Shortcut));
    EXPECT_FALSE(link.onShortcut(0x0341)) << "bound to nothing";
    EXPECT_TRUE(link.onShortcut(store.CruiseShortcut)) << "the empty type gives way to the cruise";
    link.onCommand();
    EXPECT_EQ(page.doc().location()->navigations(),
              (std::vector<std::wstring>{L"http://server/b.html", L"http://server/b.html", L"http://server/b.html"}));

    EXPECT_EQ(tooltipOf(link), IDS_TIP_CRUISE);
    wchar_t text[3] = L"xx";
    NMTOOLBARW info{};
    info.pszText = text;
    info.cchText = 3;
    EXPECT_EQ(link.getButtonInfo(info), 1);
    EXPECT_STREQ(text, L"リン") << "cut to the caller's room";
    EXPECT_EQ(info.tbButton.idCommand, LinkController::kCommandId);
    EXPECT_EQ(info.tbButton.iBitmap, 1);
}

}  // namespace
