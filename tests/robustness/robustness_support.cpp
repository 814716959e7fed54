#include "robustness/robustness_support.h"

#include "settings_ui/settings_ui_fixture.h"

namespace quorin::test {

void richPage(PageBuilder& page) {
    styledPage(page);
    page.element(L"p").attr(L"style", L"color: red");
    page.element(L"span").css(L"font-weight: bold");
    for (const wchar_t* rel : {L"next", L"prev", L"up", L"contents", L"index", L"start"})
        page.link(rel, std::wstring(rel) + L".html", rel);
    page.link(std::nullopt, L"mailto:author@example.test", L"author", L"made");
    page.anchor(L"other.html", L"other & more");
    page.anchor(L"http://elsewhere.test/", L"elsewhere", L"next");
    page.area(L"map.html", L"map");
    page.meta(L"Refresh", L"5; URL=refresh.html");
    PageBuilder& frame = page.frame(L"http://example.test/toc.html", L"toc");
    styledPage(frame);
    frame.link(L"next", L"toc2.html", L"toc next");
    page.deniedFrame(L"http://other.test/ad.html", L"ad");
}

void clickFace(HWND toolbar, int commandId) {
    RECT rect{};
    SendMessageW(toolbar, TB_GETRECT, commandId, reinterpret_cast<LPARAM>(&rect));
    const LPARAM point = MAKELPARAM(rect.left + 4, (rect.top + rect.bottom) / 2);
    PostMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(toolbar, WM_LBUTTONUP, 0, point);
    pumpMessages();
}

void typeLinkShortcut(HWND window, WPARAM key) { typeKeys(window, {VK_CONTROL, VK_SHIFT, key}); }

RunBalance RunBalance::now() { return {DoubleBase::liveDoubles(), registryImage()}; }

bool RunBalance::holds(const Library& library, const std::string& what) const {
    pumpMessages();
    const bool unloads = library.canUnloadNow() == S_OK;
    const bool balanced = DoubleBase::liveDoubles() == doubles;
    const bool kept = registryImage() == settings;
    EXPECT_TRUE(unloads) << what << ": an object of the library outlived the run";
    EXPECT_TRUE(balanced) << what << ": " << DoubleBase::liveDoubles() - doubles << " doubles not given back";
    EXPECT_TRUE(kept) << what << ": the stored settings changed";
    return unloads && balanced && kept;
}

}  // namespace quorin::test
