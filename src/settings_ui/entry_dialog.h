#pragma once
// Base of the modal dialogs that edit one settings entry. The dialog works on its own copy of the
// entry; OK can be pressed, by mouse or by Enter, only while the fields it needs are filled, and
// Cancel or Escape leaves the entry as it was.

#include <windows.h>

namespace quorin {

class EntryDialog {
public:
    virtual ~EntryDialog();
    EntryDialog(const EntryDialog&) = delete;
    EntryDialog& operator=(const EntryDialog&) = delete;

    // Shows the dialog until it ends: IDOK or IDCANCEL, anything else when it could not be shown.
    INT_PTR doModal();

protected:
    EntryDialog(HWND owner, WORD templateId);

    HWND hwnd() const noexcept { return hwnd_; }
    HWND item(int id) const noexcept { return GetDlgItem(hwnd_, id); }
    // Enables OK exactly when okAllowed.
    void updateOk();

    // Fills the controls from the entry.
    virtual INT_PTR onInitDialog() = 0;
    virtual bool okAllowed() const = 0;
    // Reads the controls back into the entry.
    virtual void onOk() = 0;
    // Commands other than OK and Cancel; by default every field change re-runs updateOk.
    virtual INT_PTR onCommand(int id, UINT code);

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR initialize(HWND hwnd);
    INT_PTR handleCommand(WPARAM wParam);

    HWND owner_;
    WORD templateId_;
    HWND hwnd_ = nullptr;
};

// An entry dialog over one entry type; the page puts the entry in and reads it back after OK.
template <class Entry>
class EntryDialogOf : public EntryDialog {
public:
    Entry entry;

    // Runs the dialog on a copy of edited, which takes the result only when the dialog ends with OK.
    bool edit(Entry& edited) {
        entry = edited;
        if (doModal() != IDOK) return false;
        edited = entry;
        return true;
    }

protected:
    using EntryDialog::EntryDialog;
};

}  // namespace quorin
