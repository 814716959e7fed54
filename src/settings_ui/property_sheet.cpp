// The modal property sheet of the settings.
#include "settings_ui/property_sheet.h"

#include <algorithm>
#include <new>

#include "settings_ui/common_controls.h"

namespace quorin {

PropertySheet::PropertySheet(HINSTANCE instance, WORD captionId, HWND owner) {
    header_.dwSize = sizeof header_;
    header_.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP;
    header_.hwndParent = owner;
    header_.hInstance = instance;
    header_.pszCaption = MAKEINTRESOURCEW(captionId);
    header_.nStartPage = 0;
}

void PropertySheet::addPage(PropertyPage& page) {
    if (std::find(pages_.begin(), pages_.end(), &page) == pages_.end()) pages_.push_back(&page);
}

INT_PTR PropertySheet::doModal() {
    if (pages_.empty()) return -1;
    try {
        // The sheet steps through the array by each element's dwSize, so the elements have
        // exactly the size the descriptors declare.
        descriptors_.clear();
        descriptors_.reserve(pages_.size());
        for (const PropertyPage* page : pages_) descriptors_.push_back(page->descriptor());
    } catch (const std::bad_alloc&) {
        descriptors_.clear();
        return -1;
    }
    header_.nPages = static_cast<UINT>(descriptors_.size());
    header_.ppsp = reinterpret_cast<LPCPROPSHEETPAGEW>(descriptors_.data());
    header_.dwFlags &= ~static_cast<DWORD>(PSH_MODELESS);
    ensureCommonControls();
    return PropertySheetW(&header_);
}

bool PropertySheet::isModified() const {
    return std::any_of(pages_.begin(), pages_.end(), [](const PropertyPage* page) { return page->isModified(); });
}

}  // namespace quorin
