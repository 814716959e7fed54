// Reading and setting the controls of the settings dialogs.
#include "settings_ui/dialog_controls.h"

#include <cwchar>

namespace quorin {

std::wstring controlText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

bool hasText(HWND control) { return GetWindowTextLengthW(control) > 0; }

void limitEdit(HWND edit, std::size_t capacity) { SendMessageW(edit, EM_LIMITTEXT, capacity - 1, 0); }

void limitComboEdit(HWND combo, std::size_t capacity) { SendMessageW(combo, CB_LIMITTEXT, capacity - 1, 0); }

bool isChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void setChecked(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::wstring comboItemText(HWND combo, LRESULT index) {
    // The item may be longer than any field: ask for its length instead of trusting a buffer.
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    if (SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data())) == CB_ERR)
        return std::wstring();
    text.resize(std::wcslen(text.c_str()));
    return text;
}

bool comboHasTitle(HWND combo) { return SendMessageW(combo, CB_GETCURSEL, 0, 0) != CB_ERR || hasText(combo); }

std::wstring comboTitle(HWND combo) {
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? controlText(combo) : comboItemText(combo, selected);
}

}  // namespace quorin
