#pragma once
// Base of every page of a settings sheet: holds the page's descriptor and turns the messages of
// the page's dialog into virtual operations. One static page procedure serves all pages.

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

namespace quorin {

class PropertyPage {
public:
    virtual ~PropertyPage();
    PropertyPage(const PropertyPage&) = delete;
    PropertyPage& operator=(const PropertyPage&) = delete;

    // Tells the sheet that the page changed (enabling Apply) or not. The flag is kept even when
    // the sheet is gone and is never cleared by the pages, so an opener learns of edits that were
    // cancelled after an Apply.
    void setModified(bool changed);
    bool isModified() const noexcept { return modified_; }

    const PROPSHEETPAGEW_V2& descriptor() const noexcept { return pageDescriptor_; }
    HWND hwnd() const noexcept { return hwnd_; }
    HWND sheetHwnd() const noexcept { return sheetHwnd_; }

protected:
    PropertyPage(HINSTANCE instance, WORD templateId);

    virtual INT_PTR dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    virtual INT_PTR onNotify(HWND hwnd, WPARAM wParam, const NMHDR& header);
    virtual INT_PTR onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual INT_PTR onInitDialog();
    virtual bool onSetActive();
    virtual bool onKillActive();
    virtual void onClose();
    // Concrete pages write their working state into the settings store here.
    virtual void saveToStore();
    virtual bool onQueryCancel();
    virtual void onReset();
    virtual bool onApply();

    HWND item(int id) const noexcept { return GetDlgItem(hwnd_, id); }
    // The answer to the message being handled (DWLP_MSGRESULT).
    void setResult(LONG_PTR result) const noexcept;

private:
    static INT_PTR CALLBACK pageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void attach(HWND hwnd) noexcept;
    void detach() noexcept;

    bool modified_ = false;
    // The page structure up to its header titles, the form the sheet's page array is built of.
    PROPSHEETPAGEW_V2 pageDescriptor_{};
    HWND hwnd_ = nullptr;
    HWND sheetHwnd_ = nullptr;
};

}  // namespace quorin
