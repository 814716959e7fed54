// A real manual page, converted from HTML at build time, with added and preferred sheets.

#include <cstdlib>

#include "style_fixture.h"
#include "support/page_file.h"

using namespace quorin;
using namespace quorin::test;

namespace {

class RealPage : public StyleFixture {};

TEST_F(RealPage, ManualPageWithAddedAndPreferredSheets) {
    const char* file = std::getenv("QUORIN_STYLE_PAGE");
    if (!file) GTEST_SKIP() << "the shared pages are not beside this checkout";
    std::string error;
    std::unique_ptr<PageBuilder> page = loadPageFile(fromUtf8(file), &error);
    ASSERT_TRUE(page) << error;
    addSheet(L"Mine", L"C:\\styles\\mine.css");
    addSheet(L"Large", L"C:\\styles\\large.css");
    prefer(L"HTTP://PAGES.TEST/M4/", L"Large");
    ElementDouble& styled = page->element(L"p").css(L"color: red");
    StyleEngine& e = open(*page);

    e.attachDocument(nullptr, true);

    EXPECT_EQ(states(page->doc()), "EDE");
    EXPECT_TRUE(e.sheetTitles().empty());
    EXPECT_TRUE(e.hasFixedSheets());
    EXPECT_EQ(e.sheetCount(), 3);
    EXPECT_EQ(flags(e.addedSheets()), "DE");
    EXPECT_EQ(std::wstring(store.page.currentUrl.c_str()), L"http://pages.test/m4/Define.html");

    e.selectSheet(SharedString());
    EXPECT_EQ(states(page->doc()), "EDD");

    e.setUseStyleAttr(false);
    EXPECT_EQ(styled.cssText(), L"");
    e.setUseStyleAttr(true);
    EXPECT_EQ(styled.cssText(), L"color: red");
    for (const auto& element : page->doc().elements()) {
        if (element.get() == &styled) continue;
        EXPECT_EQ(element->style()->cssTextWrites(), 0);
    }
}

}  // namespace
