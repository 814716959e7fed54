#include "style/style_engine.h"

#include "common/variant.h"
#include "settings/settings_store.h"
#include "page/browser_access.h"
#include "page/document_walk.h"
#include "style/identity.h"
#include "style/inline_style_stash.h"

namespace quorin {

namespace {

// The entry of the wanted document in documents, or null.
template <class Documents>
auto findDocument(Documents& documents, const DocumentEntry& wanted) noexcept -> decltype(&documents.front()) {
    for (auto& document : documents) {
        if (document.sameDocument(wanted)) return &document;
    }
    return nullptr;
}

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
    const ComPtr<IHTMLDocument2> page = documentOf(target);
    if (hasContent) {
        prepareDocument(target, page.get(), page.get());
        refreshList();
    } else {
        prepared_.keepPage(page.get());
        documents_.clear();
        sheetTitles_.clear();
        useStyleAttr_ = false;
    }
    navigating_ = false;
}

void StyleEngine::frameCompleted(IWebBrowser2* frame, bool hasContent) {
    if (!frame || !hasContent) return;
    const ComPtr<IHTMLDocument2> page = documentOf(browser_.get());
    prepareDocument(frame, documentOf(frame).get(), page.get());
    // During a top-level navigation the list is rebuilt once, when the top document completes.
    // A navigation that brought no top document of its own (a mailto: link, a cancelled
    // download) has left the page listed in view, and the frame belongs to it.
    if (!navigating_ || listsPage(page.get())) refreshList();
}

// A document completes again when a later download of its page ends; what the user chose since
// it first completed stays.
void StyleEngine::prepareDocument(IWebBrowser2* browser, IHTMLDocument2* document, IHTMLDocument2* page) {
    if (!document) return;
    prepared_.keepPage(page);
    if (!prepared_.firstVisit(browser, document, page)) return;
    injectAddedSheets(browser);
    applyPreferred(browser);
}

void StyleEngine::rebuildDocuments() {
    documents_.clear();
    ComPtr<IHTMLDocument2> top = documentOf(browser_.get());
    if (!top) return;
    const auto add = [this](const ComPtr<IHTMLDocument2>& document) {
        documents_.push_back(DocumentEntry{document, identityOf(document.get()), {}});
    };
    add(top);
    if (!frameAware_) return;
    forEachFrameDocument(top.get(), add);
}

int StyleEngine::refreshList() {
    std::vector<DocumentEntry> earlier = std::move(documents_);
    rebuildDocuments();
    const bool samePage =
        !pageReplaced_ && !earlier.empty() && !documents_.empty() && documents_.front().sameDocument(earlier.front());
    pageReplaced_ = false;
    // A new page starts with its inline styles. Sheets or style attributes the user turned off
    // stay off while the page is the same, as when a later download of it ends: a frame that
    // loaded meanwhile finds its sheets and styles off as the rest of the page.
    if (!samePage) useStyleAttr_ = true;
    const bool sheetsOff = samePage && !useSheets_;
    const bool attributesOff = samePage && !useStyleAttr_;
    TitleList lastMenu = std::move(sheetTitles_);
    sheetTitles_.clear();
    hasFixedSheets_ = false;
    sheetCount_ = 0;
    for (DocumentEntry& document : documents_) {
        const DocumentEntry* known = sheetsOff || attributesOff ? findDocument(earlier, document) : nullptr;
        listDocument(document, known, sheetsOff);
        if (attributesOff && !known) switchStyleAttr(document.document.get(), false);
    }
    sheetTitles_.keepCommandIds(lastMenu);
    useSheets_ = !sheetsOff;
    publishFlags();
    publishTitles();
    return static_cast<int>(sheetTitles_.size());
}

void StyleEngine::listDocument(DocumentEntry& document, const DocumentEntry* earlier, bool sheetsOff) {
    forEachStyleSheet(document.document.get(),
                      [&](IHTMLStyleSheet* sheet) { listSheet(document, sheet, sheetsOff); });
    // What the sheets read now says nothing of the choice the user turned off.
    if (sheetsOff && earlier) document.takeChoices(*earlier);
}

void StyleEngine::listSheet(DocumentEntry& document, IHTMLStyleSheet* sheet, bool sheetsOff) {
    VARIANT_BOOL disabled = VARIANT_FALSE;
    SharedString title;
    SharedString href;
    if (FAILED(sheet->get_disabled(&disabled)) || FAILED(sheet->get_title(title.out())) ||
        FAILED(sheet->get_href(href.out())))
        return;
    ++sheetCount_;
    const bool enabled = disabled == VARIANT_FALSE;
    if (sheetsOff && enabled) sheet->put_disabled(VARIANT_TRUE);
    if (title.isNull()) {
        hasFixedSheets_ = true;
        return;
    }
    // An added sheet has no href of its own.
    const bool added = href.isEmpty() && isAddedTitle(title);
    document.record(title, enabled, added);
    if (!added) sheetTitles_.addIfNew(SheetEntry{!enabled, title, href, 0});
}

void StyleEngine::selectSheet(const SharedString& title) {
    if (sheetCount_ == 0) return;
    const bool everyDocument = title.isEmpty() || isAddedTitle(title);
    for (DocumentEntry& document : documents_) {
        if (everyDocument || document.holdsTitle(title))
            forEachStyleSheet(document.document.get(),
                              [&](IHTMLStyleSheet* sheet) { selectInSheet(&document, sheet, title); });
        // A frame without a sheet of that title keeps its own choice, also when sheets were off.
        else if (!useSheets_)
            switchDocument(document, true);
    }
    useSheets_ = true;
    publishFlags();
    publishTitles();
}

void StyleEngine::selectInSheet(DocumentEntry* document, IHTMLStyleSheet* sheet, const SharedString& wanted) {
    SharedString title;
    if (FAILED(sheet->get_title(title.out()))) return;
    if (title.isNull()) {
        sheet->put_disabled(VARIANT_FALSE);
        return;
    }
    const bool enabled = title == wanted;
    if (FAILED(sheet->put_disabled(toVariantBool(!enabled)))) return;
    if (document) document->choose(title, enabled);
}

void StyleEngine::setUseSheets(bool on) {
    // Writing the kept styles back over style attributes already in use would undo what a script
    // did to them since.
    if (syncUse_ && !(on && useStyleAttr_)) setUseStyleAttr(on);
    useSheets_ = on;
    if (sheetCount_ == 0) return;
    for (const DocumentEntry& document : documents_) switchDocument(document, on);
}

void StyleEngine::switchDocument(const DocumentEntry& document, bool on) {
    forEachStyleSheet(document.document.get(), [&](IHTMLStyleSheet* sheet) { switchSheet(document, sheet, on); });
}

void StyleEngine::switchSheet(const DocumentEntry& document, IHTMLStyleSheet* sheet, bool on) {
    if (!on) {
        sheet->put_disabled(VARIANT_TRUE);
        return;
    }
    SharedString title;
    if (FAILED(sheet->get_title(title.out()))) return;
    const bool enabled = title.isNull() || isChosen(document, title);
    sheet->put_disabled(toVariantBool(!enabled));
}

void StyleEngine::setUseStyleAttr(bool on) {
    for (const DocumentEntry& document : documents_) switchStyleAttr(document.document.get(), on);
    useStyleAttr_ = on;
}

void StyleEngine::switchStyleAttr(IHTMLDocument2* document, bool on) {
    const InlineStyleStash stash;
    forEachElement(document, [&](IHTMLElement* element) {
        if (on)
            stash.restore(element);
        else
            stash.store(element);
    });
}

void StyleEngine::refreshPage() {
    if (!browser_) return;
    Variant level = Variant::fromInt(REFRESH_COMPLETELY);
    browser_->Refresh2(level.get());
}

void StyleEngine::injectAddedSheets(IWebBrowser2* browser) {
    const ComPtr<IHTMLDocument2> document = documentOf(browser);
    if (!document) return;
    for (const SheetEntry& added : addedSheets_) embedAddedSheet(document.get(), added);
}

void StyleEngine::applyPreferred(IWebBrowser2* browser) {
    const ComPtr<IHTMLDocument2> document = documentOf(browser);
    if (!document) return;
    SharedString address;
    if (!addressOf(document.get(), address)) return;
    const PreferEntry* preferred = settings_->findPreferred(address.c_str());
    if (!preferred) return;
    const SharedString wanted(preferred->Title.c_str());
    DocumentEntry* listed = listedEntry(document.get());
    forEachStyleSheet(document.get(), [&](IHTMLStyleSheet* sheet) { selectInSheet(listed, sheet, wanted); });
    if (listed) publishFlags();
}

void StyleEngine::setTitleCommandId(std::size_t index, int commandId) noexcept {
    sheetTitles_.setCommandId(index, commandId);
}

void StyleEngine::setAddedCommandId(std::size_t index, int commandId) noexcept {
    if (index < addedSheets_.size()) addedSheets_[index].commandId = commandId;
}

bool StyleEngine::listsPage(IHTMLDocument2* page) const noexcept {
    return !pageReplaced_ && !documents_.empty() && sameObject(page, documents_.front().identity.get());
}

DocumentEntry* StyleEngine::listedEntry(IHTMLDocument2* document) noexcept {
    const DocumentEntry wanted{nullptr, identityOf(document), {}};
    return findDocument(documents_, wanted);
}

void StyleEngine::markAdded(const SharedString& title, bool disabled) noexcept {
    const auto positions = addedPositions_.find(title);
    if (positions == addedPositions_.end()) return;
    for (std::size_t index : positions->second) addedSheets_[index].disabled = disabled;
}

bool StyleEngine::isAddedTitle(const SharedString& title) const noexcept { return addedPositions_.count(title) != 0; }

// A title the document had no sheet of when it was listed, as one a script added since, takes
// the state the menu shows.
bool StyleEngine::isChosen(const DocumentEntry& document, const SharedString& title) const noexcept {
    if (const DocumentEntry::TitleState* state = document.find(title)) return state->enabled;
    if (const SheetEntry* listed = sheetTitles_.find(title); listed && !listed->disabled) return true;
    const auto positions = addedPositions_.find(title);
    if (positions == addedPositions_.end()) return false;
    for (std::size_t index : positions->second) {
        if (!addedSheets_[index].disabled) return true;
    }
    return false;
}

// An added sheet no document holds is not in use.
void StyleEngine::publishFlags() noexcept {
    for (SheetEntry& added : addedSheets_) added.disabled = true;
    // Backwards, so that the first document holding a title has the last word.
    for (auto document = documents_.rbegin(); document != documents_.rend(); ++document) {
        for (const auto& [title, state] : document->titles) {
            if (state.page) {
                if (SheetEntry* listed = sheetTitles_.find(title)) listed->disabled = !state.enabled;
            }
            if (state.added) markAdded(title, !state.enabled);
        }
    }
}

void StyleEngine::publishTitles() { settings_->page.sheetTitles = sheetTitles_.entries(); }

}  // namespace quorin
