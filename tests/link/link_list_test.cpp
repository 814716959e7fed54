#include <gtest/gtest.h>

#include "shared/link_list.h"

using namespace quorin;

namespace {

LinkEntry entry(const wchar_t* target) {
    LinkEntry e;
    e.target = SharedString(target);
    return e;
}

TEST(LinkList, IndexTellsNullEmptyPrefixesAndCaseApart) {
    LinkList list;
    list.append(entry(L"ab"));
    list.append(entry(nullptr));
    list.append(entry(L"a"));
    EXPECT_TRUE(list.holdsTarget(SharedString()));
    EXPECT_FALSE(list.holdsTarget(SharedString(L""))) << "empty is not null";
    EXPECT_TRUE(list.holdsTarget(SharedString(L"a")));
    EXPECT_TRUE(list.holdsTarget(SharedString(L"ab")));
    EXPECT_FALSE(list.holdsTarget(SharedString(L"abc")));
    EXPECT_FALSE(list.holdsTarget(SharedString(L"A")));
    list.append(entry(L""));
    list.append(entry(L"a"));
    EXPECT_TRUE(list.holdsTarget(SharedString(L"")));
    EXPECT_EQ(list.size(), 5u) << "the list itself keeps repeats";
    list.setCommandId(4, 51001);
    EXPECT_EQ(list.entries()[4].commandId, 51001);
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(list.holdsTarget(SharedString(L"a")));
}

}  // namespace
