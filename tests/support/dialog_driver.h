#pragma once
// Drives modal dialogs and property sheets of the calling thread from inside their own modal
// loop, as a user would: a script runs on a fiber that a thread timer resumes in whatever modal
// loop is running, so it can wait for windows while the loops go on. Every wait has a time limit;
// whatever the script leaves open is cancelled, so a failing test never hangs.
//
// Inside a script, a click that opens another modal window must be posted (clickLater), so that
// the new modal loop runs outside the script; everything else may be sent directly.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace quorin::test {

class ModalScript {
public:
    using Script = std::function<void(ModalScript&)>;

    explicit ModalScript(DWORD timeoutMs = 15000) : timeoutMs_(timeoutMs) {}
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Calls modal, which runs a modal loop on this thread, while script runs inside that loop.
    // True when the script ended in time and left no window of its own open.
    bool run(const std::function<void()>& modal, const Script& script);

    // Inside the script: lets the modal loop go on for one tick.
    void pause();
    // Lets the loops run for that long.
    void sleep(DWORD ms);
    // Pauses until the condition holds; false when the time is up.
    bool waitUntil(const std::function<bool()>& condition);
    // The visible top-level dialog of this thread with that caption that accepts input, or null.
    HWND waitForDialog(const wchar_t* caption);
    // The visible enabled top-level dialog of this thread other than those given, or null.
    HWND waitForOtherDialog(const std::vector<HWND>& known);
    bool waitUntilGone(HWND window);
    bool timedOut() const;

private:
    static void CALLBACK onTick(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK fiberMain(void* self);
    void tick();
    void cancelOpenDialogs();

    DWORD timeoutMs_;
    ULONGLONG deadline_ = 0;
    const Script* script_ = nullptr;
    void* mainFiber_ = nullptr;
    void* scriptFiber_ = nullptr;
    bool inScript_ = false;
    bool scriptDone_ = false;
    bool modalDone_ = false;
    bool leftOpen_ = false;
    ULONGLONG doneAt_ = 0;
};

// ---- Controls, as the user works them ----------------------------------------------------------

// Clicks a button (check boxes and radio buttons change their state); false when the button is
// missing, hidden or disabled, so a click a user could not make is never made.
bool click(HWND dialog, int id);
// The same, posted: for buttons that open a modal window.
bool clickLater(HWND dialog, int id);
// Posts a key press to the dialog's focused control (or to the dialog), as the keyboard would.
void pressKey(HWND dialog, UINT virtualKey);
// Presses and releases a key through the system's input: it reaches whatever window has the
// keyboard focus then, or none. The script pauses until the loop has taken it.
void typeKey(ModalScript& script, UINT virtualKey);
// Gives a control the keyboard focus as Tab or a click would, through its top-level dialog.
void focusControl(HWND dialog, int id);
// Replaces an edit's text by typing it character by character (so the edit's limit applies and
// it notifies its parent as it does for the user).
void typeText(HWND edit, const std::wstring& text);
// Sets a hot-key control and sends its parent the EN_CHANGE the control sends for a key.
void setHotKey(HWND dialog, int id, WORD shortcut);
// Selects a combo box item and notifies the parent with CBN_SELCHANGE.
void selectComboItem(HWND dialog, int id, int index);

std::wstring textOf(HWND window);
bool isEnabled(HWND dialog, int id);
bool isChecked(HWND dialog, int id);
std::vector<std::wstring> comboItems(HWND combo);

// ---- List views ----------------------------------------------------------------------------------

int rowCount(HWND list);
std::wstring cellText(HWND list, int row, int column);
// Every row's column texts.
std::vector<std::vector<std::wstring>> rows(HWND list);
int focusedRow(HWND list);
bool isRowSelected(HWND list, int row);
// Focuses and selects a row as a click on it does.
void clickRow(HWND list, int row);
// Clicks into the list below its last row; the script pauses until the list has taken the click.
void clickBelowRows(ModalScript& script, HWND list);

// ---- Property sheets -------------------------------------------------------------------------------

constexpr int kApplyButton = 0x3021;  // the sheet's Apply button

// Switches to a tab and returns its page's dialog.
HWND selectTab(HWND sheet, int index);
HWND currentPage(HWND sheet);
std::vector<std::wstring> tabCaptions(HWND sheet);

}  // namespace quorin::test
