#pragma once
// String resources of this module.

#include <windows.h>
#include <string>

namespace quorin {

// The string with that id, or empty when it is missing.
std::wstring loadString(UINT id);

}  // namespace quorin
