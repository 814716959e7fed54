#pragma once
// A style engine over a private registry's store, looking at page doubles through the band site,
// with the sheets' states and the engine's lists as short values for assertions.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "style/style_engine.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"
#include "support/site_double.h"

namespace quorin::test {

using Texts = std::vector<std::wstring>;

class StyleFixture : public testing::Test {
protected:
    StyleFixture() { store.Etc.SyncUse = false; }

    // An engine made from the store as it is now, on the page's browser.
    StyleEngine& open(PageBuilder& page) {
        engine = std::make_unique<StyleEngine>(store);
        site = ComPtr<SiteDouble>::adopt(new SiteDouble);
        site->setBrowser(page.browser()->unknown());
        engine->setSite(site->unknown());
        return *engine;
    }

    void addSheet(const wchar_t* title, const wchar_t* path) {
        store.AddSheet.emplace_back();
        store.AddSheet.back().Title = title;
        store.AddSheet.back().Path = path;
    }
    void prefer(const wchar_t* uri, const wchar_t* title) {
        store.Prefer.emplace_back();
        store.Prefer.back().URI = uri;
        store.Prefer.back().Title = title;
    }

    // One letter per sheet in collection order: E enabled, D disabled.
    static std::string states(const DocumentDouble& document) {
        std::string result;
        for (const auto& sheet : document.sheets()) result += sheet->disabled() ? 'D' : 'E';
        return result;
    }
    static Texts titles(const std::vector<SheetEntry>& entries) {
        Texts result;
        for (const SheetEntry& e : entries) result.push_back(e.title.isNull() ? L"<null>" : e.title.c_str());
        return result;
    }
    // One letter per entry: E enabled, D disabled.
    static std::string flags(const std::vector<SheetEntry>& entries) {
        std::string result;
        for (const SheetEntry& e : entries) result += e.disabled ? 'D' : 'E';
        return result;
    }
    // A browser of a frame, as the browser passes it with a frame's DocumentComplete.
    static ComPtr<BrowserDouble> frameBrowser(PageBuilder& frame) {
        return ComPtr<BrowserDouble>::adopt(new BrowserDouble(frame.document(), nullptr, false));
    }

    void TearDown() override {
        engine.reset();
        site = nullptr;
    }
    ~StyleFixture() override { EXPECT_EQ(DoubleBase::liveDoubles(), live_) << "a double was not released"; }

    const LONG live_ = DoubleBase::liveDoubles();
    RegistrySandbox sandbox;
    SettingsStore store;
    ComPtr<SiteDouble> site;
    std::unique_ptr<StyleEngine> engine;
};

}  // namespace quorin::test
