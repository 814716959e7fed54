#pragma once
// The stylesheets of the page shown in one browser window, and their switching: titled sheets
// grouped by title, fixed (untitled) sheets, author sheets and style attributes off and on, the
// user's added sheets and the preferred title per address. Works on the top document and, when
// frame-aware, on its frames' documents (one level).

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "common/com_ptr.h"
#include "common/shared_string.h"
#include "style/document_entry.h"
#include "shared/sheet_entry.h"
#include "style/prepared_documents.h"
#include "style/title_list.h"

namespace quorin {

class SettingsStore;

class StyleEngine {
public:
    explicit StyleEngine(SettingsStore& settings);
    StyleEngine(const StyleEngine&) = delete;
    StyleEngine& operator=(const StyleEngine&) = delete;

    void setSite(IUnknown* site);
    void reloadSettings();
    void beginNavigation() noexcept { navigating_ = true; }
    // browser may be null: the engine's own browser is used.
    void attachDocument(IWebBrowser2* browser, bool hasContent);
    void frameCompleted(IWebBrowser2* frame, bool hasContent);
    // Returns the number of distinct titles listed.
    int refreshList();
    // A null title applies the fixed sheets only.
    void selectSheet(const SharedString& title);
    void setUseSheets(bool on);
    void setUseStyleAttr(bool on);
    void refreshPage();
    void injectAddedSheets(IWebBrowser2* browser);
    void applyPreferred(IWebBrowser2* browser);

    bool useSheets() const noexcept { return useSheets_; }
    bool useStyleAttr() const noexcept { return useStyleAttr_; }
    const std::vector<SheetEntry>& sheetTitles() const noexcept { return sheetTitles_.entries(); }
    const std::vector<SheetEntry>& addedSheets() const noexcept { return addedSheets_; }
    // Menu command ids are written back by the menu that shows the entries.
    void setTitleCommandId(std::size_t index, int commandId) noexcept;
    void setAddedCommandId(std::size_t index, int commandId) noexcept;
    bool hasFixedSheets() const noexcept { return hasFixedSheets_; }
    int sheetCount() const noexcept { return sheetCount_; }
    WORD useSheetShortcut() const noexcept { return useSheetShortcut_; }
    WORD useAttrShortcut() const noexcept { return useAttrShortcut_; }

private:
    void prepareDocument(IWebBrowser2* top, IWebBrowser2* browser);
    void rebuildDocuments();
    void listSheet(DocumentEntry& document, IHTMLStyleSheet* sheet);
    void selectInSheet(IHTMLStyleSheet* sheet, const SharedString& wanted);
    void switchSheet(IHTMLStyleSheet* sheet, bool on);
    template <class Step>
    void forEachListedSheet(Step&& step);
    // Gives every added entry of that title the flag; false when there is none.
    bool markAdded(const SharedString& title, bool disabled) noexcept;
    bool isAddedTitle(const SharedString& title) const noexcept;
    bool isChosen(const SharedString& title) const noexcept;
    void publishTitles();

    bool useSheets_ = true;
    bool useStyleAttr_ = true;
    TitleList sheetTitles_;
    std::vector<SheetEntry> addedSheets_;
    // Positions in addedSheets_ by title: every listed sheet is looked up there.
    std::unordered_map<SharedString, std::vector<std::size_t>, TitleList::TitleHash> addedPositions_;
    bool hasFixedSheets_ = false;
    int sheetCount_ = 0;
    WORD useSheetShortcut_ = 0;
    WORD useAttrShortcut_ = 0;
    bool syncUse_ = false;
    bool frameAware_ = false;
    bool navigating_ = false;
    std::vector<DocumentEntry> documents_;
    PreparedDocuments prepared_;
    SettingsStore* settings_;
    ComPtr<IUnknown> site_;
    ComPtr<IWebBrowser2> browser_;
};

}  // namespace quorin
