#include "link/link_classification.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "link/entry_text.h"
#include "link/link_collection.h"
#include "link/link_words.h"

namespace quorin {

namespace {

// Only as much of an address as a URL may hold takes part in the same-site test.
constexpr std::size_t kSameSiteLength = 2083;

// Letter case is folded once per search, so that a search stays linear however long a hostile
// value is; the system's case-blind search restarts from scratch at every occurrence.
std::wstring folded(const wchar_t* text) {
    std::wstring copy(text);
    if (!copy.empty()) CharLowerBuffW(copy.data(), static_cast<DWORD>(copy.size()));
    return copy;
}

bool containsNoCase(const wchar_t* value, const wchar_t* part) {
    return folded(value).find(folded(part)) != std::wstring::npos;
}

bool holdsWords(const wchar_t* value, const wchar_t* words) {
    const std::wstring needle = folded(words);
    if (needle.empty()) return false;
    const std::wstring text = folded(value);
    // Stepping one character at a time finds a run of words that overlaps a failed occurrence.
    for (std::size_t at = text.find(needle); at != std::wstring::npos; at = text.find(needle, at + 1)) {
        const std::size_t end = at + needle.size();
        if ((at == 0 || text[at - 1] == L' ') && (end == text.size() || text[end] == L' ')) return true;
    }
    return false;
}

}  // namespace

bool matchesLinkType(const LinkTypeEntry& type, const SharedString& rel, const SharedString& rev) {
    if (type.Submenu == kSeparatorSubmenu) return false;
    const SharedString* value = type.Which == kWhichRel ? &rel : type.Which == kWhichRev ? &rev : nullptr;
    if (!value || value->isNull()) return false;
    return holdsWords(value->c_str(), type.Attr.c_str());
}

bool isSameSite(const wchar_t* address, const SharedString& documentAddress) {
    if (!address || UrlIsOpaqueW(address)) return false;
    const std::size_t length = wcsnlen(address, kSameSiteLength);
    const wchar_t* document = documentAddress.textOrEmpty();
    std::size_t common = 0;
    while (common < length && document[common] == address[common]) ++common;
    if (common == length && document[common] == 0) return true;
    const std::wstring_view prefix(address, common);
    const std::size_t slashes = prefix.find(L"//");
    return slashes != std::wstring_view::npos && prefix.find(L'/', slashes + 2) != std::wstring_view::npos;
}

void LinkCollection::classifyLink(const SharedString& rel, const SharedString& rev, const SharedString& href,
                                  const SharedString& text, const LinkWords& words) {
    // Words make a link of an element only when it leads somewhere: a named anchor "次へ" is a
    // heading, and a cruise that reached it would go nowhere.
    const bool byWords = !href.isNull() && !words.comparable.empty();
    // An image button listed by its alt shows that alt rather than an empty item.
    const wchar_t* wordsText = words.shown.isNull() ? text.textOrEmpty() : words.shown.c_str();
    auto wordsType = wordsTypes_.begin();
    bool matched = false;
    for (std::size_t i = 0; i < linkTypes_.size(); ++i) {
        const bool wordsRow = wordsType != wordsTypes_.end() && wordsType->position == i;
        const std::vector<std::wstring>* alternatives = wordsRow ? &(wordsType++)->alternatives : nullptr;
        const wchar_t* entryText = nullptr;
        if (matchesLinkType(linkTypes_[i], rel, rev))
            entryText = text.textOrEmpty();
        else if (alternatives && byWords && matchesWords(*alternatives, words.comparable))
            entryText = wordsText;
        if (!entryText) continue;
        matched = true;
        addEntry(linkTypes_[i].links, etc_.MaxEtcNum, href, entryText);
    }
    if (matched) return;
    if (!rel.isNull() || !rev.isNull()) {
        EntryText other;
        if (!rel.isNull()) {
            if (!etc_.EnumStyleSheet && containsNoCase(rel.c_str(), L"stylesheet")) return;
            other.append(L"(").append(rel.c_str()).append(L")\t").append(text.c_str());
        } else {
            other.append(L"<").append(rev.c_str()).append(L">\t").append(text.c_str());
        }
        addEntry(otherLinks_, etc_.MaxEtcNum, href, other.c_str());
        return;
    }
    if (href.isNull()) return;
    const bool sameSite = etc_.GroupSameSite && isSameSite(href.c_str(), documentAddress_);
    addEntry(sameSite ? sameSiteLinks_ : generalLinks_, etc_.MaxUnRelNum, href, text.textOrEmpty());
}

bool LinkCollection::wordsMatchAnyType(const std::wstring& comparable) const {
    for (const WordsType& type : wordsTypes_)
        if (matchesWords(type.alternatives, comparable)) return true;
    return false;
}

}  // namespace quorin
