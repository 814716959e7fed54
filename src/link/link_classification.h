#pragma once
// Which link type a link's rel or rev names, and whether an address lies on the document's site.

#include "common/shared_string.h"
#include "settings/settings_store.h"

namespace quorin {

// True when the type's attribute value occurs in rel (Which 0) or rev (Which 1) as a run of whole
// words, only spaces delimiting them, letter case ignored. An empty attribute value matches nothing.
bool matchesLinkType(const LinkTypeEntry& type, const SharedString& rel, const SharedString& rev);

// True when the address shares scheme, host and the slash that starts the path with the
// document's address, compared exactly; opaque addresses (mail and the like) never do.
bool isSameSite(const wchar_t* address, const SharedString& documentAddress);

}  // namespace quorin
