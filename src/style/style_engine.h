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
    // A top-level navigation brought its document: the page listed is no longer the one shown,
    // even where the browser hands out the same document object again.
    void navigationArrived() noexcept { pageReplaced_ = true; }
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
    void prepareDocument(IWebBrowser2* browser, IHTMLDocument2* document, IHTMLDocument2* page);
    void rebuildDocuments();
    void listDocument(DocumentEntry& document, const DocumentEntry* earlier, bool sheetsOff);
    void listSheet(DocumentEntry& document, IHTMLStyleSheet* sheet, bool sheetsOff);
    void selectInSheet(DocumentEntry* document, IHTMLStyleSheet* sheet, const SharedString& wanted);
    void switchDocument(const DocumentEntry& document, bool on);
    void switchSheet(const DocumentEntry& document, IHTMLStyleSheet* sheet, bool on);
    static void switchStyleAttr(IHTMLDocument2* document, bool on);
    // Whether the top document listed is the one shown.
    bool listsPage(IHTMLDocument2* page) const noexcept;
    DocumentEntry* listedEntry(IHTMLDocument2* document) noexcept;
    // Gives every added entry of that title the flag.
    void markAdded(const SharedString& title, bool disabled) noexcept;
    bool isAddedTitle(const SharedString& title) const noexcept;
    bool isChosen(const DocumentEntry& document, const SharedString& title) const noexcept;
    // The menu's flags from the documents: each title shows its state in the first document
    // holding it, the top document's where it has one.
    void publishFlags() noexcept;
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
    bool pageReplaced_ = false;
    std::vector<DocumentEntry> documents_;
    PreparedDocuments prepared_;
    SettingsStore* settings_;
    ComPtr<IUnknown> site_;
    ComPtr<IWebBrowser2> browser_;
};

}  // namespace quorin
