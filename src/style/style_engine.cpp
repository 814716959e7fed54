#include "style/style_engine.h"

#include "common/variant.h"
#include "settings/settings_store.h"
#include "page/browser_access.h"
#include "page/document_walk.h"
#include "style/inline_style_stash.h"

namespace quorin {

namespace {

VARIANT_BOOL toVariantBool(bool value) noexcept { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// True when a sheet was created, whatever became of its import.
bool embedAddedSheet(IHTMLDocument2* document, const SheetEntry& added) {
    ComPtr<IHTMLStyleSheet> sheet;
    if (FAILED(document->createStyleSheet(nullptr, -1, sheet.put())) || !sheet) return false;
    // A failed import still leaves the sheet titled and selectable, like a file that cannot load.
    long position = -1;
    const bool imported = SUCCEEDED(sheet->addImport(added.href.bstr(), -1, &position));
    // Untitled, the sheet counts as fixed, and every selection turns fixed sheets on: it is
    // emptied so that it cannot apply the user's file to every page.
    if (FAILED(sheet->put_title(added.title.bstr())) && imported) sheet->removeImport(position);
    sheet->put_disabled(VARIANT_TRUE);
    return true;
}

}  // namespace

StyleEngine::StyleEngine(SettingsStore& settings) : settings_(&settings) { reloadSettings(); }

void StyleEngine::setSite(IUnknown* site) {
    // A browser obtained through an earlier site must not outlive it.
    browser_.reset();
    site_.reset();
    prepared_.clear();
    if (!site) return;
    site_ = ComPtr<IUnknown>(site);
    browser_ = browserFromSite(site);
}

void StyleEngine::reloadSettings() {
    addedSheets_.clear();
    addedPositions_.clear();
    for (const AddSheetEntry& entry : settings_->AddSheet) {
        addedSheets_.push_back(SheetEntry{true, SharedString(entry.Title.c_str()), SharedString(entry.Path.c_str()), 0});
        addedPositions_[addedSheets_.back().title].push_back(addedSheets_.size() - 1);
    }
    useSheetShortcut_ = settings_->Etc.UseSheetShortcut;
    useAttrShortcut_ = settings_->Etc.UseAttrShortcut;
    syncUse_ = settings_->Etc.SyncUse;
    frameAware_ = settings_->Etc.FrameAware;
}

void StyleEngine::attachDocument(IWebBrowser2* browser, bool hasContent) {
    IWebBrowser2* const target = browser ? browser : browser_.get();
    const SharedString url = locationUrlOf(target);
    if (!url.isNull()) settings_->page.currentUrl = url;
    if (hasContent) {
        prepareDocument(target, target);
        refreshList();
        useStyleAttr_ = true;
    } else {
        prepared_.keepShown(target, nullptr);
        documents_.clear();
        sheetTitles_.clear();
        useStyleAttr_ = false;
    }
    navigating_ = false;
}

void StyleEngine::frameCompleted(IWebBrowser2* frame, bool hasContent) {
    if (!frame || !hasContent) return;
    prepareDocument(browser_.get(), frame);
    // During a top-level navigation the list is rebuilt once, when the top document completes.
    if (!navigating_) refreshList();
}

// A document completes again when a later download of its page ends; what the user chose since
// it first completed stays.
void StyleEngine::prepareDocument(IWebBrowser2* top, IWebBrowser2* browser) {
    const ComPtr<IHTMLDocument2> document = documentOf(browser);
    if (!document) return;
    prepared_.keepShown(top, document.get());
    if (!prepared_.firstVisit(document.get())) return;
    injectAddedSheets(browser);
    applyPreferred(browser);
}

void StyleEngine::rebuildDocuments() {
    documents_.clear();
    ComPtr<IHTMLDocument2> top = documentOf(browser_.get());
    if (!top) return;
    documents_.push_back(DocumentEntry{top, {}});
    if (!frameAware_) return;
    forEachFrameDocument(top.get(), [this](const ComPtr<IHTMLDocument2>& frame) {
        documents_.push_back(DocumentEntry{frame, {}});
    });
}

template <class Step>
void StyleEngine::forEachListedSheet(Step&& step) {
    for (DocumentEntry& document : documents_) {
        forEachStyleSheet(document.document.get(), [&](IHTMLStyleSheet* sheet) { step(document, sheet); });
    }
}

int StyleEngine::refreshList() {
    rebuildDocuments();
    sheetTitles_.clear();
    hasFixedSheets_ = false;
    sheetCount_ = 0;
    forEachListedSheet([this](DocumentEntry& document, IHTMLStyleSheet* sheet) { listSheet(document, sheet); });
    useSheets_ = true;
    publishTitles();
    return static_cast<int>(sheetTitles_.size());
}

void StyleEngine::listSheet(DocumentEntry& document, IHTMLStyleSheet* sheet) {
    VARIANT_BOOL disabled = VARIANT_FALSE;
    SharedString title;
    SharedString href;
    if (FAILED(sheet->get_disabled(&disabled)) || FAILED(sheet->get_title(title.out())) ||
        FAILED(sheet->get_href(href.out())))
        return;
    ++sheetCount_;
    if (title.isNull()) {
        hasFixedSheets_ = true;
        return;
    }
    const bool off = disabled != VARIANT_FALSE;
    // An added sheet has no href of its own.
    if (href.isEmpty() && markAdded(title, off)) return;
    const SheetEntry entry{off, title, href, 0};
    sheetTitles_.addIfNew(entry);
    document.sheets.push_back(entry);
}

void StyleEngine::selectSheet(const SharedString& title) {
    if (sheetCount_ == 0) return;
    const bool everyDocument = title.isEmpty() || isAddedTitle(title);
    for (DocumentEntry& document : documents_) {
        // A frame without a sheet of that title keeps its own choice.
        if (!everyDocument && !document.holdsTitle(title)) continue;
        forEachStyleSheet(document.document.get(), [&](IHTMLStyleSheet* sheet) { selectInSheet(sheet, title); });
    }
    useSheets_ = true;
    publishTitles();
}

void StyleEngine::selectInSheet(IHTMLStyleSheet* sheet, const SharedString& wanted) {
    SharedString title;
    if (FAILED(sheet->get_title(title.out()))) return;
    if (title.isNull()) {
        sheet->put_disabled(VARIANT_FALSE);
        return;
    }
    const bool disabled = !(title == wanted);
    if (FAILED(sheet->put_disabled(toVariantBool(disabled)))) return;
    if (SheetEntry* listed = sheetTitles_.find(title)) listed->disabled = disabled;
    markAdded(title, disabled);
}

void StyleEngine::setUseSheets(bool on) {
    if (syncUse_) setUseStyleAttr(on);
    useSheets_ = on;
    if (sheetCount_ == 0) return;
    forEachListedSheet([this, on](DocumentEntry&, IHTMLStyleSheet* sheet) { switchSheet(sheet, on); });
}

void StyleEngine::switchSheet(IHTMLStyleSheet* sheet, bool on) {
    if (!on) {
        sheet->put_disabled(VARIANT_TRUE);
        return;
    }
    SharedString title;
    if (FAILED(sheet->get_title(title.out()))) return;
    const bool enabled = title.isNull() || isChosen(title);
    sheet->put_disabled(toVariantBool(!enabled));
}

void StyleEngine::setUseStyleAttr(bool on) {
    const InlineStyleStash stash;
    for (const DocumentEntry& document : documents_) {
        forEachElement(document.document.get(), [&](IHTMLElement* element) {
            if (on)
                stash.restore(element);
            else
                stash.store(element);
        });
    }
    useStyleAttr_ = on;
}

void StyleEngine::refreshPage() {
    if (!browser_) return;
    Variant level = Variant::fromInt(REFRESH_COMPLETELY);
    browser_->Refresh2(level.get());
}

void StyleEngine::injectAddedSheets(IWebBrowser2* browser) {
    const ComPtr<IHTMLDocument2> document = documentOf(browser);
    if (!document) return;
    for (SheetEntry& added : addedSheets_) {
        if (embedAddedSheet(document.get(), added)) added.disabled = true;
    }
}

void StyleEngine::applyPreferred(IWebBrowser2* browser) {
    const ComPtr<IHTMLDocument2> document = documentOf(browser);
    if (!document) return;
    SharedString address;
    if (!addressOf(document.get(), address)) return;
    const PreferEntry* preferred = settings_->findPreferred(address.c_str());
    if (!preferred) return;
    const SharedString wanted(preferred->Title.c_str());
    forEachStyleSheet(document.get(), [&](IHTMLStyleSheet* sheet) { selectInSheet(sheet, wanted); });
}

void StyleEngine::setTitleCommandId(std::size_t index, int commandId) noexcept {
    sheetTitles_.setCommandId(index, commandId);
}

void StyleEngine::setAddedCommandId(std::size_t index, int commandId) noexcept {
    if (index < addedSheets_.size()) addedSheets_[index].commandId = commandId;
}

bool StyleEngine::markAdded(const SharedString& title, bool disabled) noexcept {
    const auto positions = addedPositions_.find(title);
    if (positions == addedPositions_.end()) return false;
    for (std::size_t index : positions->second) addedSheets_[index].disabled = disabled;
    return true;
}

bool StyleEngine::isAddedTitle(const SharedString& title) const noexcept { return addedPositions_.count(title) != 0; }

bool StyleEngine::isChosen(const SharedString& title) const noexcept {
    if (const SheetEntry* listed = sheetTitles_.find(title); listed && !listed->disabled) return true;
    const auto positions = addedPositions_.find(title);
    if (positions == addedPositions_.end()) return false;
    for (std::size_t index : positions->second) {
        if (!addedSheets_[index].disabled) return true;
    }
    return false;
}

void StyleEngine::publishTitles() { settings_->page.sheetTitles = sheetTitles_.entries(); }

}  // namespace quorin
