// Driving the dialogs of this thread from inside their modal loops.
#include "support/dialog_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace quorin::test {

namespace {

constexpr UINT kTickMs = 10;
// Windows that a finished script closed may still be on their way out for a moment.
constexpr ULONGLONG kGraceMs = 300;
// Steps given to a script whose modal loop is over, to run out of its failing waits.
constexpr int kMaxUnwindSteps = 100000;

thread_local ModalScript* t_current = nullptr;

struct DialogSearch {
    const wchar_t* caption = nullptr;        // or null for any caption
    const std::vector<HWND>* known = nullptr;  // windows to pass over
    HWND found = nullptr;
};

bool isDialog(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return lstrcmpW(name, L"#32770") == 0;
}

BOOL CALLBACK matchDialog(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<DialogSearch*>(param);
    if (!isDialog(window) || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    if (search.caption && textOf(window) != search.caption) return TRUE;
    if (search.known && std::find(search.known->begin(), search.known->end(), window) != search.known->end())
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND findDialog(DialogSearch search) {
    EnumThreadWindows(GetCurrentThreadId(), &matchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND comboEdit(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(combo, &info) && info.hwndItem ? info.hwndItem : combo;
}

bool isCombo(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return lstrcmpiW(name, L"ComboBox") == 0;
}

// The toolchain's inline reading of the thread block trips an array-bounds warning.
void* currentFiber() {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    return GetCurrentFiber();
#pragma GCC diagnostic pop
}

HWND usableButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button && IsWindowVisible(button) && IsWindowEnabled(button) ? button : nullptr;
}

}  // namespace

// ---- The script ------------------------------------------------------------------------------------

bool ModalScript::run(const std::function<void()>& modal, const Script& script) {
    if (t_current) return false;  // one script per thread at a time
    const bool wasFiber = IsThreadAFiber() != FALSE;
    mainFiber_ = wasFiber ? currentFiber() : ConvertThreadToFiber(nullptr);
    if (!mainFiber_) return false;
    scriptFiber_ = CreateFiber(0, &ModalScript::fiberMain, this);
    if (!scriptFiber_) {
        if (!wasFiber) ConvertFiberToThread();
        return false;
    }
    script_ = &script;
    inScript_ = scriptDone_ = modalDone_ = leftOpen_ = false;
    deadline_ = GetTickCount64() + timeoutMs_;
    doneAt_ = 0;
    t_current = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, &ModalScript::onTick);
    modal();
    modalDone_ = true;
    KillTimer(nullptr, timer);
    // A script still waiting when its loop ended: its waits now fail at once, so it runs out.
    for (int step = 0; !scriptDone_ && step < kMaxUnwindSteps; ++step) SwitchToFiber(scriptFiber_);
    if (scriptDone_ && !doneAt_) doneAt_ = GetTickCount64();
    t_current = nullptr;
    DeleteFiber(scriptFiber_);
    scriptFiber_ = nullptr;
    if (!wasFiber) ConvertFiberToThread();
    return scriptDone_ && doneAt_ < deadline_ && !leftOpen_;
}

void CALLBACK ModalScript::fiberMain(void* self) {
    auto* script = static_cast<ModalScript*>(self);
    try {
        (*script->script_)(*script);
    } catch (...) {
        script->leftOpen_ = true;  // reported as a failed run
    }
    script->scriptDone_ = true;
    for (;;) SwitchToFiber(script->mainFiber_);
}

void CALLBACK ModalScript::onTick(HWND, UINT, UINT_PTR, DWORD) {
    if (t_current) t_current->tick();
}

void ModalScript::tick() {
    if (inScript_) {
        // The script itself is inside a modal loop it started: only the time limit can end it.
        if (timedOut()) cancelOpenDialogs();
        return;
    }
    if (!scriptDone_) {
        inScript_ = true;
        SwitchToFiber(scriptFiber_);
        inScript_ = false;
        if (scriptDone_) doneAt_ = GetTickCount64();
        return;
    }
    if (GetTickCount64() - doneAt_ >= kGraceMs) cancelOpenDialogs();
}

void ModalScript::cancelOpenDialogs() {
    // The innermost modal window is the one that is enabled; its owners follow on later ticks.
    HWND open = findDialog(DialogSearch{});
    if (!open) return;
    leftOpen_ = true;
    PostMessageW(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(open, IDCANCEL)));
}

void ModalScript::pause() { SwitchToFiber(mainFiber_); }

bool ModalScript::timedOut() const { return GetTickCount64() >= deadline_; }

void ModalScript::sleep(DWORD ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    while (!modalDone_ && !timedOut() && GetTickCount64() < until) pause();
}

bool ModalScript::waitUntil(const std::function<bool()>& condition) {
    while (!condition()) {
        if (modalDone_ || timedOut()) return false;
        pause();
    }
    return true;
}

HWND ModalScript::waitForDialog(const wchar_t* caption) {
    HWND found = nullptr;
    waitUntil([&] { return (found = findDialog(DialogSearch{caption, nullptr, nullptr})) != nullptr; });
    return found;
}

HWND ModalScript::waitForOtherDialog(const std::vector<HWND>& known) {
    HWND found = nullptr;
    waitUntil([&] { return (found = findDialog(DialogSearch{nullptr, &known, nullptr})) != nullptr; });
    return found;
}

bool ModalScript::waitUntilGone(HWND window) {
    return waitUntil([&] { return !IsWindow(window); });
}

// ---- Controls --------------------------------------------------------------------------------------

bool click(HWND dialog, int id) {
    HWND button = usableButton(dialog, id);
    if (!button) return false;
    SendMessageW(button, BM_CLICK, 0, 0);
    return true;
}

bool clickLater(HWND dialog, int id) {
    HWND button = usableButton(dialog, id);
    return button && PostMessageW(button, BM_CLICK, 0, 0);
}

void pressKey(HWND dialog, UINT virtualKey) {
    HWND focus = GetFocus();
    HWND target = focus && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
}

void typeKey(ModalScript& script, UINT virtualKey) {
    // With its scan code, which controls read from the character messages, and the extended flag
    // of the keys beside the main block.
    const bool extended = (virtualKey >= VK_PRIOR && virtualKey <= VK_DOWN) || virtualKey == VK_INSERT ||
                          virtualKey == VK_DELETE;
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = static_cast<WORD>(virtualKey);
        key.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
        key.ki.dwFlags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
    }
    keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    script.waitUntil([] { return HIWORD(GetQueueStatus(QS_KEY)) == 0; });
    script.pause();
}

void focusControl(HWND dialog, int id) {
    SendMessageW(GetAncestor(dialog, GA_ROOT), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

void typeText(HWND edit, const std::wstring& text) {
    HWND target = isCombo(edit) ? comboEdit(edit) : edit;
    SendMessageW(target, EM_SETSEL, 0, -1);
    SendMessageW(target, WM_CLEAR, 0, 0);
    for (wchar_t c : text) SendMessageW(target, WM_CHAR, c, 1);
}

void setHotKey(HWND dialog, int id, WORD shortcut) {
    HWND control = GetDlgItem(dialog, id);
    SendMessageW(control, HKM_SETHOTKEY, shortcut, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(control));
}

void selectComboItem(HWND dialog, int id, int index) {
    HWND combo = GetDlgItem(dialog, id);
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

std::wstring textOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(std::max(GetWindowTextW(window, text.data(), length + 1), 0)));
    return text;
}

bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

std::vector<std::wstring> comboItems(HWND combo) {
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
        items.push_back(text);
    }
    return items;
}

// ---- List views ------------------------------------------------------------------------------------

int rowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring cellText(HWND list, int row, int column) {
    wchar_t text[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::vector<std::wstring>> rows(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    std::vector<std::vector<std::wstring>> result;
    for (int row = 0; row < rowCount(list); ++row) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < columns; ++column) cells.push_back(cellText(list, row, column));
        result.push_back(cells);
    }
    return result;
}

int focusedRow(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

bool isRowSelected(HWND list, int row) {
    return (SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void clickRow(HWND list, int row) {
    LVITEMW change{};
    change.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&change));
    change.stateMask = change.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&change));
}

void clickBelowRows(ModalScript& script, HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    RECT last{};
    last.left = LVIR_BOUNDS;
    const int count = rowCount(list);
    if (count > 0) SendMessageW(list, LVM_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
    const LPARAM point = MAKELPARAM(client.left + 4, std::min<LONG>(last.bottom + 4, client.bottom - 2));
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(list, WM_LBUTTONUP, 0, point);
    script.waitUntil([] { return HIWORD(GetQueueStatus(QS_POSTMESSAGE | QS_MOUSEBUTTON)) == 0; });
    script.pause();
}

// ---- Property sheets -------------------------------------------------------------------------------

HWND currentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

HWND selectTab(HWND sheet, int index) {
    SendMessageW(sheet, PSM_SETCURSEL, index, 0);
    return currentPage(sheet);
}

std::vector<std::wstring> tabCaptions(HWND sheet) {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    std::vector<std::wstring> captions;
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = static_cast<int>(std::size(text));
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        captions.push_back(text);
    }
    return captions;
}

}  // namespace quorin::test
