#pragma once
// The link engine's picture of the page in view: its related documents sorted into the lists of
// the link menu, gathered anew at every collect.

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include <cstddef>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "common/shared_string.h"
#include "link/link_words.h"
#include "shared/link_list.h"
#include "settings/settings_store.h"

namespace quorin {

class LinkCollection {
public:
    // The store is not owned and must outlive the collection; its settings are applied at once.
    explicit LinkCollection(SettingsStore* settings);
    LinkCollection(const LinkCollection&) = delete;
    LinkCollection& operator=(const LinkCollection&) = delete;

    void setSite(IUnknown* site);
    // Remembers the address of the document that has just completed.
    void setDocument(IWebBrowser2* browser);
    // Takes a fresh snapshot of the link types, the cruise and the LinkEtc values.
    void applySettings();

    void clearLists() noexcept;
    // Rebuilds every list from the current document. Throws std::bad_alloc when memory runs
    // out; what was gathered until then stays listed.
    void collect();
    void readBase();

    bool addEntry(LinkList& list, int limit, const SharedString& href, const wchar_t* text);
    SharedString resolveTarget(const SharedString& href) const;
    // False when the entry has no address to go to or the browser refused.
    bool navigate(const LinkEntry& entry);

    // Sorts one link, a or area element into the lists. words: those the element shows, as
    // LinkElement::words gives them; none for a link element or when no type is matched by words.
    void classifyLink(const SharedString& rel, const SharedString& rev, const SharedString& href,
                      const SharedString& text, const LinkWords& words = LinkWords());

    void resolveCruiseSteps();
    // Follows the first link of the highest-priority link type the page offers; false when
    // nothing was followed.
    bool cruise();

    const std::vector<LinkTypeEntry>& linkTypes() const noexcept { return linkTypes_; }
    // The list of the link type at that position, for the menu to number its entries.
    LinkList& linkTypeLinks(std::size_t position) { return linkTypes_.at(position).links; }
    LinkList& otherLinks() noexcept { return otherLinks_; }
    LinkList& generalLinks() noexcept { return generalLinks_; }
    LinkList& sameSiteLinks() noexcept { return sameSiteLinks_; }
    LinkList& nonLinks() noexcept { return nonLinks_; }
    const LinkList& otherLinks() const noexcept { return otherLinks_; }
    const LinkList& generalLinks() const noexcept { return generalLinks_; }
    const LinkList& sameSiteLinks() const noexcept { return sameSiteLinks_; }
    const LinkList& nonLinks() const noexcept { return nonLinks_; }

    WORD cruiseShortcut() const noexcept { return cruiseShortcut_; }
    const SharedString& documentAddress() const noexcept { return documentAddress_; }
    const SharedString& baseAddress() const noexcept { return baseAddress_; }

private:
    bool appendEntry(LinkList& list, int limit, const SharedString& href, const wchar_t* text,
                     bool eliminateDuplicates);
    void scanLinkElements(IHTMLDocument2* document);
    void scanLinkElement(IHTMLElement* element);
    bool generalListsHaveRoom() const;
    bool wordsListsHaveRoom() const;
    bool wordsMatchAnyType(const std::wstring& comparable) const;
    void scanNonLinks(IHTMLDocument2* document);
    void scanAttributeElement(IHTMLElement* element, const wchar_t* tag, const wchar_t* attribute);
    void scanMetaElement(IHTMLElement* element);

    SettingsStore* settings_;
    WORD cruiseShortcut_ = 0;
    std::vector<LinkTypeEntry> linkTypes_;
    // The link types matched by words, in table order, with their alternatives prepared once.
    struct WordsType {
        std::size_t position;  // in linkTypes_
        std::vector<std::wstring> alternatives;
    };
    std::vector<WordsType> wordsTypes_;
    LinkList otherLinks_;
    LinkList generalLinks_;
    LinkList sameSiteLinks_;
    LinkList nonLinks_;
    LinkEtcSettings etc_;
    ComPtr<IUnknown> site_;
    ComPtr<IWebBrowser2> browser_;
    SharedString documentAddress_;
    SharedString baseAddress_;
};

}  // namespace quorin
