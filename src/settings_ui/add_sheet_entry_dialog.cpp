// The entry dialog of an added stylesheet.
#include "settings_ui/add_sheet_entry_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "common/resources.h"
#include "settings_ui/dialog_controls.h"
#include "settings_ui_resource.h"

namespace quorin {

namespace {

// The filter pairs of the file chooser: the string's line feeds become NULs and the list ends
// with two NULs whatever the string's length.
std::wstring loadFilterString(UINT id) {
    std::wstring filter = loadString(id);
    std::replace(filter.begin(), filter.end(), L'\n', L'\0');
    filter.push_back(L'\0');
    return filter;
}

}  // namespace

AddSheetEntryDialog::AddSheetEntryDialog(HWND owner) : EntryDialogOf(owner, IDD_ADDSHEET_ENTRY) {}

INT_PTR AddSheetEntryDialog::onInitDialog() {
    limitEdit(item(IDC_ADDSHEET_TITLE), TitleText::capacity);
    SetWindowTextW(item(IDC_ADDSHEET_TITLE), entry.Title.c_str());
    limitEdit(item(IDC_ADDSHEET_PATH), PathText::capacity);
    SetWindowTextW(item(IDC_ADDSHEET_PATH), entry.Path.c_str());
    updateOk();
    return 1;
}

bool AddSheetEntryDialog::okAllowed() const {
    return hasText(item(IDC_ADDSHEET_TITLE)) && hasText(item(IDC_ADDSHEET_PATH));
}

void AddSheetEntryDialog::onOk() {
    readText(item(IDC_ADDSHEET_TITLE), entry.Title);
    readText(item(IDC_ADDSHEET_PATH), entry.Path);
}

INT_PTR AddSheetEntryDialog::onCommand(int id, UINT code) {
    if (id != IDC_ADDSHEET_BROWSE || code != BN_CLICKED) return EntryDialogOf::onCommand(id, code);
    browse();
    return TRUE;
}

void AddSheetEntryDialog::browse() {
    const std::wstring filter = loadFilterString(IDS_ADDSHEET_FILTER);
    wchar_t file[PathText::capacity] = {};
    OPENFILENAMEW chooser{};
    chooser.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    chooser.hwndOwner = hwnd();
    chooser.lpstrFilter = filter.c_str();
    chooser.nFilterIndex = 1;
    chooser.lpstrFile = file;
    chooser.nMaxFile = PathText::capacity;
    if (!GetOpenFileNameW(&chooser)) return;
    SetWindowTextW(item(IDC_ADDSHEET_PATH), file);
    updateOk();
}

}  // namespace quorin
