#pragma once
// A modal property sheet over pages that the concrete sheet owns; tells afterwards whether any
// page was modified.

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

// The system header maps this name to PropertySheetW; here it names the class.
#undef PropertySheet

#include <vector>

#include "settings_ui/property_page.h"

namespace quorin {

class PropertySheet {
public:
    PropertySheet(HINSTANCE instance, WORD captionId, HWND owner);
    virtual ~PropertySheet() = default;
    PropertySheet(const PropertySheet&) = delete;
    PropertySheet& operator=(const PropertySheet&) = delete;

    // Appends a tab; a page already in the sheet is not added again. The sheet does not own it.
    void addPage(PropertyPage& page);
    // Shows the sheet on the calling thread until it closes: −1 when there is nothing to show or
    // it cannot be shown, otherwise the result of PropertySheetW.
    virtual INT_PTR doModal();
    // Whether any page was changed, applied or not.
    bool isModified() const;

private:
    PROPSHEETHEADERW header_{};
    std::vector<PropertyPage*> pages_;
    std::vector<PROPSHEETPAGEW_V2> descriptors_;
};

}  // namespace quorin
