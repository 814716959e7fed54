#pragma once
// Reading and setting the controls of the settings dialogs; texts of any length are read whole
// and cut only where they go into a fixed-capacity field.

#include <windows.h>

#include <cstddef>
#include <string>

#include "common/fixed_text.h"

namespace quorin {

std::wstring controlText(HWND control);
bool hasText(HWND control);

// The control's text, cut at the field's capacity.
template <std::size_t N>
void readText(HWND control, FixedText<N>& field) {
    const std::wstring text = controlText(control);
    field.assign(text.c_str(), text.size());
}

// Limits typing into an edit to what a field of that capacity holds.
void limitEdit(HWND edit, std::size_t capacity);
void limitComboEdit(HWND combo, std::size_t capacity);

bool isChecked(HWND button);
void setChecked(HWND button, bool checked);

// Combo boxes with an edit field: the title is the selected item's text or, without a
// selection, the typed text.
std::wstring comboItemText(HWND combo, LRESULT index);
bool comboHasTitle(HWND combo);
std::wstring comboTitle(HWND combo);

}  // namespace quorin
