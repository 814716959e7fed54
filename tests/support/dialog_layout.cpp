// Layout checks of dialogs: containment, overlaps and text that does not fit.
#include "support/dialog_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "support/dialog_driver.h"

namespace quorin::test {

namespace {

struct Control {
    HWND window;
    RECT rect;  // in the dialog's client coordinates
    std::wstring className;
    LONG style;
};

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

std::wstring describe(const Control& control) {
    return L"control " + std::to_wstring(GetDlgCtrlID(control.window)) + L" \"" + textOf(control.window) + L"\"";
}

std::vector<Control> controlsOf(HWND dialog) {
    std::vector<Control> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        // The dialog itself may be hidden; what counts is whether the control would show.
        if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        Control control{child, {}, className(child), GetWindowLongW(child, GWL_STYLE)};
        GetWindowRect(child, &control.rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.rect), 2);
        controls.push_back(control);
    }
    return controls;
}

bool isButtonOfType(const Control& control, LONG type) {
    return lstrcmpiW(control.className.c_str(), L"Button") == 0 && (control.style & BS_TYPEMASK) == type;
}

bool isGroupBox(const Control& control) { return isButtonOfType(control, BS_GROUPBOX); }

bool isCheckOrRadio(const Control& control) {
    const LONG type = control.style & BS_TYPEMASK;
    return lstrcmpiW(control.className.c_str(), L"Button") == 0 &&
           (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
            type == BS_3STATE || type == BS_AUTO3STATE);
}

// An up-down control sits on its buddy's border by design.
bool isBuddyPair(const Control& a, const Control& b) {
    const auto buddyOf = [](const Control& c) {
        return lstrcmpiW(c.className.c_str(), UPDOWN_CLASSW) == 0
                   ? reinterpret_cast<HWND>(SendMessageW(c.window, UDM_GETBUDDY, 0, 0))
                   : nullptr;
    };
    return buddyOf(a) == b.window || buddyOf(b) == a.window;
}

bool contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The control's device context with its font selected, for measuring its text.
class TextDc {
public:
    explicit TextDc(HWND window)
        : window_(window), dc_(GetDC(window)),
          old_(SelectObject(dc_, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)))) {}
    ~TextDc() {
        SelectObject(dc_, old_);
        ReleaseDC(window_, dc_);
    }
    TextDc(const TextDc&) = delete;
    TextDc& operator=(const TextDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ old_;
};

// The room the control's text needs, measured as this system draws it.
SIZE drawnExtent(const Control& control, int width, UINT format) {
    TextDc dc(control.window);
    const std::wstring text = textOf(control.window);
    RECT bounds{0, 0, width, 0};
    DrawTextW(dc.get(), text.c_str(), -1, &bounds, format | DT_CALCRECT);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

// The text as shown: an ampersand marks the next character as the mnemonic, two show one.
std::wstring withoutPrefixes(const std::wstring& text) {
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

int lineWidth(HDC dc, const std::wstring& text, std::size_t begin, std::size_t end) {
    while (end > begin && text[end - 1] == L' ') --end;  // spaces at a break take no room
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data() + begin, static_cast<int>(end - begin), &size);
    return size.cx;
}

}  // namespace

bool isJapanese(wchar_t c) {
    return (c >= 0x3000 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

bool isLineBreak(const std::wstring& text, std::size_t at) {
    if (at >= text.size() || text[at] == L'\n') return true;
    if (at == 0) return false;
    const wchar_t before = text[at - 1], after = text[at];
    if (after == L' ') return false;
    return before == L' ' || isJapanese(before) || isJapanese(after);
}

SIZE windowsWrappedExtent(HDC dc, const std::wstring& label, int width) {
    const std::wstring text = withoutPrefixes(label);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    int lines = 0, widest = 0;
    for (std::size_t start = 0; start <= text.size();) {
        // The furthest break whose line fits; the first one when even that does not.
        std::size_t end = start, first = start;
        for (std::size_t at = start + 1; at <= text.size(); ++at) {
            if (!isLineBreak(text, at)) continue;
            if (first == start) first = at;
            if (lineWidth(dc, text, start, at) > width) break;
            end = at;
            if (at < text.size() && text[at] == L'\n') break;
        }
        if (end == start) end = first == start ? text.size() : first;
        widest = std::max(widest, lineWidth(dc, text, start, end));
        ++lines;
        if (end >= text.size()) break;
        start = end;
        while (start < text.size() && text[start] == L' ') ++start;
        if (start < text.size() && text[start] == L'\n') ++start;
    }
    return SIZE{widest, lines * metrics.tmHeight};
}

namespace {

// Width and height the text may take inside the control, and how it is laid out there.
bool textRoom(const Control& control, int& width, int& height, UINT& format) {
    RECT client{};
    GetClientRect(control.window, &client);
    width = client.right;
    height = client.bottom;
    format = DT_SINGLELINE;
    if (lstrcmpiW(control.className.c_str(), L"Static") == 0) {
        const LONG type = control.style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP) return false;
        if (type != SS_LEFTNOWORDWRAP) format = DT_WORDBREAK | DT_EXPANDTABS;
        if (control.style & SS_EDITCONTROL) format |= DT_EDITCONTROL;
        return true;
    }
    if (isCheckOrRadio(control)) {
        width -= GetSystemMetrics(SM_CXMENUCHECK) + 4;  // the box and the gap before the text
        if (control.style & BS_MULTILINE) format = DT_WORDBREAK;
        return true;
    }
    if (isGroupBox(control)) {
        width -= 16;  // the frame's corners before and after the caption
        height = height > 0 ? std::min<int>(height, 16) : 0;
        return true;
    }
    if (isButtonOfType(control, BS_PUSHBUTTON) || isButtonOfType(control, BS_DEFPUSHBUTTON)) {
        width -= 2 * (GetSystemMetrics(SM_CXEDGE) + 2);  // the raised frame and the focus rectangle
        height -= 2 * GetSystemMetrics(SM_CYEDGE);
        return true;
    }
    return false;
}

void checkFit(const Control& control, SIZE needed, int width, int height, const wchar_t* how,
              std::vector<std::wstring>& problems) {
    if (needed.cx <= width && needed.cy <= height) return;
    problems.push_back(describe(control) + L": text needs " + std::to_wstring(needed.cx) + L"x" +
                       std::to_wstring(needed.cy) + L" " + how + L" but has " + std::to_wstring(width) + L"x" +
                       std::to_wstring(height));
}

// Wrapped text must fit both as Windows wraps it and as this system draws it: systems differ in
// where they break Japanese lines (see windowsWrappedExtent).
void checkText(const Control& control, std::vector<std::wstring>& problems) {
    int width = 0, height = 0;
    UINT format = 0;
    const std::wstring text = textOf(control.window);
    if (text.empty() || !textRoom(control, width, height, format)) return;
    checkFit(control, drawnExtent(control, width, format), width, height, L"as this system draws it", problems);
    if (format & DT_WORDBREAK)
        checkFit(control, windowsWrappedExtent(TextDc(control.window).get(), text, width), width, height,
                 L"as Windows wraps it", problems);
}

}  // namespace

std::vector<std::wstring> layoutProblems(HWND dialog) {
    std::vector<std::wstring> problems;
    RECT client{};
    GetClientRect(dialog, &client);
    const std::vector<Control> controls = controlsOf(dialog);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& control = controls[i];
        if (!contains(client, control.rect)) problems.push_back(describe(control) + L": outside the dialog");
        checkText(control, problems);
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const Control& other = controls[j];
            RECT overlap{};
            if (!IntersectRect(&overlap, &control.rect, &other.rect)) continue;
            if ((isGroupBox(control) && contains(control.rect, other.rect)) ||
                (isGroupBox(other) && contains(other.rect, control.rect)) || isBuddyPair(control, other))
                continue;
            problems.push_back(describe(control) + L" overlaps " + describe(other));
        }
    }
    return problems;
}

}  // namespace quorin::test
