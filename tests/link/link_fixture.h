#pragma once
// A link collection over the default settings of a private registry, looking at a page double
// through the band site, with the list contents as plain strings for assertions.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "link/link_collection.h"
#include "settings/settings_store.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"
#include "support/site_double.h"

namespace quorin::test {

class LinkFixture : public testing::Test {
protected:
    LinkFixture() {
        store.loadLinkType();
        store.loadLinkCruise();
    }

    // A collection made from the store as it is now, attached to the page's browser.
    LinkCollection& open(PageBuilder& page) {
        collection = std::make_unique<LinkCollection>(&store);
        site = ComPtr<SiteDouble>::adopt(new SiteDouble);
        site->setBrowser(page.browser()->unknown());
        collection->setSite(site->unknown());
        collection->setDocument(nullptr);
        return *collection;
    }
    LinkCollection& collect(PageBuilder& page) {
        open(page).collect();
        return *collection;
    }

    // The two rows a user adds to page through sites without rel links, "次(文字)" placed after
    // "次" in the cruise; as the README shows them.
    void addWordsRows() {
        store.LinkType.push_back(wordsType(L"次(文字)", L"次へ|次のページ|次|Next|Next page|»"));
        store.LinkType.push_back(wordsType(L"前(文字)", L"前へ|前のページ|前|戻る|Previous|Prev|«"));
        CruiseEntry step;
        step.Title = L"次(文字)";
        store.LinkCruise.insert(store.LinkCruise.begin() + 1, step);
    }
    static LinkTypeEntry wordsType(const wchar_t* title, const wchar_t* alternatives) {
        LinkTypeEntry type;
        type.Title = title;
        type.Which = kWhichWords;
        type.Attr = alternatives;
        return type;
    }

    // The list of the link type with that title (the default titles are the library's strings).
    const LinkList& typeList(const wchar_t* title) const {
        for (const LinkTypeEntry& type : collection->linkTypes())
            if (type.Title == title) return type.links;
        ADD_FAILURE() << "no link type of that title";
        return empty_;
    }

    static std::vector<std::wstring> targets(const LinkList& list) {
        std::vector<std::wstring> result;
        for (const LinkEntry& e : list.entries()) result.push_back(e.target.isNull() ? L"<null>" : e.target.c_str());
        return result;
    }
    static std::vector<std::wstring> texts(const LinkList& list) {
        std::vector<std::wstring> result;
        for (const LinkEntry& e : list.entries()) result.push_back(e.text.c_str());
        return result;
    }
    // Every address the page was sent to.
    static const std::vector<std::wstring>& navigations(PageBuilder& page) {
        return page.doc().location()->navigations();
    }

    void TearDown() override {
        collection.reset();
        site = nullptr;
    }
    ~LinkFixture() override { EXPECT_EQ(DoubleBase::liveDoubles(), live_) << "a double was not released"; }

    const LONG live_ = DoubleBase::liveDoubles();
    RegistrySandbox sandbox;
    SettingsStore store;
    ComPtr<SiteDouble> site;
    std::unique_ptr<LinkCollection> collection;

private:
    LinkList empty_;
};

using Texts = std::vector<std::wstring>;

}  // namespace quorin::test
