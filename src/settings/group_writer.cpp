// Writing one settings group into its registry key.
#include "settings/group_writer.h"

#include <unordered_set>

#include "common/number_text.h"
#include "common/reg_key.h"

namespace quorin {

namespace {

using StoredValue = SettingsStore::StoredValue;
using GroupImage = SettingsStore::GroupImage;

// The registry's limit on the length of a value name.
constexpr std::size_t kMaxValueNameChars = 16383;

bool writeValue(HKEY key, const StoredValue& v) {
    if (v.isText) {
        const DWORD bytes = static_cast<DWORD>((v.text.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(key, v.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.text.c_str()), bytes) ==
               ERROR_SUCCESS;
    }
    return RegSetValueExW(key, v.name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.number),
                          sizeof v.number) == ERROR_SUCCESS;
}

bool valueCount(HKEY key, DWORD& count) {
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS;
}

// Value names compare as the registry compares them: without regard to case.
std::wstring nameKey(const wchar_t* name, std::size_t length) {
    std::wstring key(name, length);
    if (!key.empty()) CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

// The entries a shorter list leaves beyond its end, by name from the first index past it, until
// an index holds none of them. Names that are no indexed stems stay for the sweep.
void removeEntriesFrom(HKEY key, const std::vector<const wchar_t*>& stems, std::size_t first) {
    if (stems.empty()) return;
    for (std::size_t index = first;; ++index) {
        bool found = false;
        for (const wchar_t* stem : stems)
            found = RegDeleteValueW(key, indexedName(stem, index).c_str()) == ERROR_SUCCESS || found;
        if (!found) return;
    }
}

// Every value that is not the image's: hand-made ones, those after a gap in the numbering. The
// walk goes from the last value, so that a deletion moves none of those still to be seen.
bool sweepStrangers(HKEY key, const GroupImage& values, DWORD count) {
    std::unordered_set<std::wstring> kept;
    for (const StoredValue& v : values) kept.insert(nameKey(v.name.c_str(), v.name.size()));
    std::wstring name(kMaxValueNameChars + 1, L'\0');
    for (DWORD index = count; index-- > 0;) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG result = RegEnumValueW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) continue;  // deleted meanwhile
        if (result != ERROR_SUCCESS) return false;
        if (kept.count(nameKey(name.c_str(), length))) continue;
        if (RegDeleteValueW(key, name.c_str()) != ERROR_SUCCESS) return false;
    }
    return true;
}

}  // namespace

std::wstring indexedName(const wchar_t* stem, std::size_t index) {
    return stem + decimalText(static_cast<long long>(index));
}

// The image's values are written over what the key holds, and only then is the rest removed:
// writing in place costs no more than writing into an empty key, and at every moment each entry
// is whole, old or new, but the one being written, so a save cut short loses none of the user's
// settings (deleting every value first lost them all). The key then holds every name of the image,
// so a count equal to the image's means that nothing else is left and no walk over it is needed.
// Subkeys, which a hand edit or another version may have put there, are no entries and stay. A key
// that refuses reading is not written either, so that what it holds is not lost unseen.
bool writeGroup(const std::wstring& path, const GroupImage& values, const std::vector<const wchar_t*>& stems,
                std::size_t entries) {
    RegKey key;
    if (!key.create(HKEY_CURRENT_USER, path.c_str(), KEY_QUERY_VALUE | KEY_SET_VALUE)) return false;
    for (const StoredValue& v : values) {
        if (!writeValue(key.get(), v)) return false;
    }
    DWORD count = 0;
    if (!valueCount(key.get(), count)) return false;
    if (count == values.size()) return true;
    removeEntriesFrom(key.get(), stems, entries + 1);
    return valueCount(key.get(), count) && (count == values.size() || sweepStrangers(key.get(), values, count));
}

}  // namespace quorin
