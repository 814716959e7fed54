#include "link/link_collection.h"

#include <shlwapi.h>

#include "common/variant.h"
#include "link/entry_text.h"
#include "link/link_element.h"
#include "page/page_document.h"
#include "link/refresh.h"
#include "page/browser_access.h"

namespace quorin {

namespace {

// Combined addresses hold at most 2084 characters.
constexpr DWORD kCombinedCapacity = 2085;
// The size handed to the combination leaves out the last unit: some implementations overrun
// their own buffers on a result of exactly 2084 characters, and no browser address is that long.
constexpr DWORD kCombinedSizeGiven = kCombinedCapacity - 1;

struct NonLinkSource {
    const wchar_t* tag;
    const wchar_t* attribute;  // null: the meta refresh
};

constexpr NonLinkSource kNonLinkSources[] = {
    {L"head", L"profile"}, {L"blockquote", L"cite"}, {L"q", L"cite"}, {L"img", L"longdesc"},
    {L"ins", L"cite"},     {L"del", L"cite"},        {L"meta", nullptr},
};

constexpr const wchar_t* kLinkTags[] = {L"link", L"a", L"area"};

SharedString elementTitle(IHTMLElement* element) {
    return readString([&](BSTR* out) { return element->get_title(out); });
}

// The string value of the attribute; null when it is missing or not a string.
SharedString stringAttribute(IHTMLElement* element, const wchar_t* attribute) {
    const SharedString name(attribute);
    Variant value;
    if (FAILED(element->getAttribute(name.bstr(), 0, value.out())) || value.type() != VT_BSTR) return SharedString();
    const BSTR text = value.ref().bstrVal;
    if (!text) return SharedString();
    return SharedString(text, SysStringLen(text));
}

bool hasRoom(const LinkList& list, int limit) {
    return limit > 0 && list.size() < static_cast<std::size_t>(limit);
}

// base and href combined as the browser combines addresses; null when they cannot be.
SharedString combinedAddress(const SharedString& base, const SharedString& href) {
    wchar_t combined[kCombinedCapacity];
    DWORD size = kCombinedSizeGiven;
    if (FAILED(UrlCombineW(base.c_str(), href.c_str(), combined, &size, 0))) return SharedString();
    return SharedString(combined);
}

SharedString firstBaseHref(IHTMLDocument2* document) {
    ComPtr<IHTMLDocument3> document3 = queryAs<IHTMLDocument3>(document);
    if (!document3) return SharedString();
    SharedString tag(L"base");
    ComPtr<IHTMLElementCollection> bases;
    if (FAILED(document3->getElementsByTagName(tag.bstr(), bases.put())) || !bases) return SharedString();
    const ComPtr<IHTMLElement> first = elementAt(bases.get(), 0);
    const ComPtr<IHTMLBaseElement> base = first.as<IHTMLBaseElement>();
    if (!base) return SharedString();
    return readString([&](BSTR* out) { return base->get_href(out); });
}

}  // namespace

LinkCollection::LinkCollection(SettingsStore* settings) : settings_(settings) { applySettings(); }

void LinkCollection::setSite(IUnknown* site) {
    site_ = nullptr;
    if (!site) return;
    site_ = ComPtr<IUnknown>(site);
    if (ComPtr<IWebBrowser2> browser = browserFromSite(site)) browser_ = std::move(browser);
}

void LinkCollection::setDocument(IWebBrowser2* browser) {
    if (!browser) browser = browser_.get();
    documentAddress_ = locationUrlOf(browser);
}

void LinkCollection::applySettings() {
    if (!settings_) return;
    linkTypes_ = settings_->LinkType;
    for (LinkTypeEntry& type : linkTypes_) type.links.clear();
    wordsTypes_.clear();
    for (std::size_t i = 0; i < linkTypes_.size(); ++i) {
        const LinkTypeEntry& type = linkTypes_[i];
        if (type.Which != kWhichWords || type.Submenu == kSeparatorSubmenu) continue;
        wordsTypes_.push_back({i, wordAlternatives(type.Attr.c_str())});
    }
    resolveCruiseSteps();
    cruiseShortcut_ = settings_->CruiseShortcut;
    etc_ = settings_->LinkEtc;
}

void LinkCollection::clearLists() noexcept {
    for (LinkTypeEntry& type : linkTypes_) type.links.clear();
    otherLinks_.clear();
    generalLinks_.clear();
    sameSiteLinks_.clear();
    nonLinks_.clear();
}

void LinkCollection::collect() {
    readBase();
    clearLists();
    ComPtr<IHTMLDocument2> document = documentOf(browser_.get());
    if (!document) return;
    scanLinkElements(document.get());
    if (etc_.EnumNonLink) scanNonLinks(document.get());
}

void LinkCollection::readBase() {
    SharedString href;
    if (ComPtr<IHTMLDocument2> document = documentOf(browser_.get())) href = firstBaseHref(document.get());
    if (href.isNull()) {
        baseAddress_ = documentAddress_;
        return;
    }
    // The browser takes a relative base ("/manual/", "//mirror/manual/") from the document's
    // address; combined as written, the addresses of non-links would stay relative and lead
    // elsewhere than the page's links.
    const SharedString resolved = documentAddress_.isNull() ? SharedString() : combinedAddress(documentAddress_, href);
    baseAddress_ = resolved.isNull() ? href : resolved;
}

bool LinkCollection::addEntry(LinkList& list, int limit, const SharedString& href, const wchar_t* text) {
    return appendEntry(list, limit, href, text, etc_.ElimDuplLinks);
}

bool LinkCollection::appendEntry(LinkList& list, int limit, const SharedString& href, const wchar_t* text,
                                 bool eliminateDuplicates) {
    if (!hasRoom(list, limit)) return false;
    LinkEntry entry;
    entry.target = resolveTarget(href);
    entry.text = text;
    if (eliminateDuplicates && list.holdsTarget(entry.target)) return false;
    list.append(std::move(entry));
    return true;
}

SharedString LinkCollection::resolveTarget(const SharedString& href) const {
    if (baseAddress_.isNull()) return href;
    // Without an href there is nothing to combine; the combination would fail the same way.
    if (href.isNull()) return SharedString();
    return combinedAddress(baseAddress_, href);
}

bool LinkCollection::navigate(const LinkEntry& entry) {
    // An address that could not be resolved must not send the browser to an empty page.
    if (entry.target.isEmpty()) return false;
    ComPtr<IHTMLDocument2> document = documentOf(browser_.get());
    if (!document) return false;
    ComPtr<IHTMLLocation> location;
    if (FAILED(document->get_location(location.put())) || !location) return false;
    return SUCCEEDED(location->put_href(entry.target.bstr()));
}

void LinkCollection::scanLinkElements(IHTMLDocument2* document) {
    for (const wchar_t* tag : kLinkTags)
        forEachElementOfTag(document, tag, [&](IHTMLElement* element) { scanLinkElement(element); });
}

void LinkCollection::scanLinkElement(IHTMLElement* element) {
    const LinkElement link(element);
    if (!link.known()) return;
    const SharedString rel = link.rel();
    const SharedString rev = link.rev();
    const bool related = !rel.isNull() || !rev.isNull();
    const bool wordsWanted = link.hasWords() && wordsListsHaveRoom();
    // A hyperlink that full general lists would refuse costs no more reading than its words; on
    // big pages most elements are such.
    if (!related && !wordsWanted && !generalListsHaveRoom()) return;
    SharedString text = link.text();
    const LinkWords words = wordsWanted ? link.words(text) : LinkWords();
    if (!related && !generalListsHaveRoom() && !wordsMatchAnyType(words.comparable)) return;
    const SharedString href = link.href();
    if (text.isNull()) text = href;
    classifyLink(rel, rev, href, text, words);
}

bool LinkCollection::generalListsHaveRoom() const {
    return hasRoom(generalLinks_, etc_.MaxUnRelNum) || (etc_.GroupSameSite && hasRoom(sameSiteLinks_, etc_.MaxUnRelNum));
}

bool LinkCollection::wordsListsHaveRoom() const {
    for (const WordsType& type : wordsTypes_)
        if (hasRoom(linkTypes_[type.position].links, etc_.MaxEtcNum)) return true;
    return false;
}

void LinkCollection::scanNonLinks(IHTMLDocument2* document) {
    for (const NonLinkSource& source : kNonLinkSources) {
        const bool walked = forEachElementOfTag(document, source.tag, [&](IHTMLElement* element) {
            if (source.attribute)
                scanAttributeElement(element, source.tag, source.attribute);
            else
                scanMetaElement(element);
        });
        if (!walked) return;
    }
}

void LinkCollection::scanAttributeElement(IHTMLElement* element, const wchar_t* tag, const wchar_t* attribute) {
    SharedString value = stringAttribute(element, attribute);
    if (value.isNull()) return;
    SharedString title = elementTitle(element);
    if (title.isNull()) title = value;
    EntryText text;
    text.append(L"(").append(tag).append(L" - ").append(attribute).append(L")\t").append(title.c_str());
    addEntry(nonLinks_, etc_.MaxNonLinkNum, value, text.c_str());
}

void LinkCollection::scanMetaElement(IHTMLElement* element) {
    ComPtr<IHTMLMetaElement> meta = queryAs<IHTMLMetaElement>(element);
    if (!meta) return;
    SharedString httpEquiv = readString([&](BSTR* out) { return meta->get_httpEquiv(out); });
    SharedString content = readString([&](BSTR* out) { return meta->get_content(out); });
    if (httpEquiv.isNull() || content.isNull() || lstrcmpiW(httpEquiv.c_str(), L"Refresh") != 0) return;
    std::optional<Refresh> refresh = parseRefresh(content.c_str(), baseAddress_);
    if (!refresh) return;
    SharedString title = elementTitle(element);
    if (title.isNull()) title = refresh->address;
    EntryText text;
    text.append(L"<Refresh: ").append(refresh->seconds).append(L"s>\t").append(title.c_str());
    // Every refresh is listed, however many lead to the same address.
    appendEntry(nonLinks_, etc_.MaxNonLinkNum, refresh->address, text.c_str(), false);
}

}  // namespace quorin
