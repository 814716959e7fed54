#pragma once
// Writing one settings group's values into its key under HKEY_CURRENT_USER.

#include <cstddef>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace quorin {

// The name of a numbered value: "Title" and 3 give "Title3".
std::wstring indexedName(const wchar_t* stem, std::size_t index);

// Makes the key at path hold exactly values. stems name the numbered values of the group's
// entries, of which there are entries now. False at the first call that fails.
bool writeGroup(const std::wstring& path, const SettingsStore::GroupImage& values,
                const std::vector<const wchar_t*>& stems, std::size_t entries);

}  // namespace quorin
