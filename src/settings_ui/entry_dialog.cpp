// Dialog procedure and common commands of the entry dialogs.
#include "settings_ui/entry_dialog.h"


#include "common/guard.h"
#include "common/module.h"
#include "settings_ui/common_controls.h"

namespace quorin {

EntryDialog::EntryDialog(HWND owner, WORD templateId) : owner_(owner), templateId_(templateId) {}

EntryDialog::~EntryDialog() {
    if (IsWindow(hwnd_)) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

INT_PTR EntryDialog::doModal() {
    ensureCommonControls();
    return DialogBoxParamW(moduleHandle(), MAKEINTRESOURCEW(templateId_), owner_, &EntryDialog::dialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void EntryDialog::updateOk() { EnableWindow(item(IDOK), okAllowed()); }

INT_PTR EntryDialog::onCommand(int, UINT code) {
    if (code == EN_CHANGE || code == CBN_EDITCHANGE || code == CBN_SELCHANGE) updateOk();
    return FALSE;
}

INT_PTR CALLBACK EntryDialog::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<EntryDialog*>(lParam);
        if (!dialog) return FALSE;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
        return dialog->initialize(hwnd);
    }
    auto* dialog = reinterpret_cast<EntryDialog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!dialog) return FALSE;
    if (message == WM_COMMAND) return windowGuard([&] { return dialog->handleCommand(wParam); }, FALSE);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        dialog->hwnd_ = nullptr;
    }
    return FALSE;
}

INT_PTR EntryDialog::initialize(HWND hwnd) {
    hwnd_ = hwnd;
    try {
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, onInitDialog());
    } catch (...) {
        // A half-filled dialog must not be confirmed: end it as one that could not be shown.
        EndDialog(hwnd, -1);
    }
    return TRUE;
}

INT_PTR EntryDialog::handleCommand(WPARAM wParam) {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (code == 0 && id == IDOK) {
        // Enter reaches here even while the default button is disabled.
        if (!okAllowed()) return TRUE;
        onOk();
        EndDialog(hwnd_, IDOK);
        return TRUE;
    }
    if (code == 0 && id == IDCANCEL) {
        EndDialog(hwnd_, IDCANCEL);
        return TRUE;
    }
    return onCommand(id, code);
}

}  // namespace quorin
