#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "link/refresh.h"

using namespace quorin;

namespace {

const SharedString kBase(L"http://server/dir/a.html");

struct Parsed {
    long seconds;
    std::wstring address;
};

std::optional<Parsed> parse(const wchar_t* content) {
    std::optional<Refresh> refresh = parseRefresh(content, kBase);
    if (!refresh) return std::nullopt;
    return Parsed{refresh->seconds, refresh->address.textOrEmpty()};
}

void expectRefresh(const wchar_t* content, long seconds, const wchar_t* address) {
    SCOPED_TRACE(testing::Message() << "content of " << std::wcslen(content) << " characters");
    std::optional<Parsed> parsed = parse(content);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->seconds, seconds);
    EXPECT_EQ(parsed->address, address);
}

TEST(ParseRefresh, DelayAndAddressInTheirWrittenForms) {
    expectRefresh(L"5; URL=next.html", 5, L"next.html");
    expectRefresh(L"0,http://server/", 0, L"http://server/");
    expectRefresh(L"10", 10, kBase.c_str());
    expectRefresh(L"0; URL = x", 0, L"URL = x");
    expectRefresh(L"URL=x", 0, kBase.c_str());
    expectRefresh(L"3;url=page2.html", 3, L"page2.html");
    expectRefresh(L" \t2 ;; ,Url=  b.html \r\n", 2, L"b.html");
    expectRefresh(L"7;URL=", 7, kBase.c_str());
    expectRefresh(L"", 0, kBase.c_str());
    expectRefresh(L"x;y.html", 0, L"y.html");
}

TEST(ParseRefresh, NegativeDelaysAndMissingContentFail) {
    EXPECT_FALSE(parse(L"-1;URL=x"));
    EXPECT_FALSE(parse(L"-5;URL=x"));
    EXPECT_FALSE(parseRefresh(nullptr, kBase));
}

TEST(ParseRefresh, WithoutBaseTheAddressMayStayNull) {
    std::optional<Refresh> refresh = parseRefresh(L"4", SharedString());
    ASSERT_TRUE(refresh);
    EXPECT_TRUE(refresh->address.isNull());
}

}  // namespace
