#pragma once
// The content of a meta refresh: "seconds[;, ][URL=]address".

#include <optional>

#include "common/shared_string.h"

namespace quorin {

struct Refresh {
    long seconds = 0;
    SharedString address;  // as written, not resolved; the base address when none is given
};

// Nothing for a negative delay.
std::optional<Refresh> parseRefresh(const wchar_t* content, const SharedString& baseAddress);

}  // namespace quorin
