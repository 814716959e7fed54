#pragma once
// An entry's menu text built from pieces, cut at the entry's capacity.

#include "common/fixed_text.h"
#include "shared/link_list.h"

namespace quorin {

using EntryText = PieceText<decltype(LinkEntry::text)::capacity>;

}  // namespace quorin
