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

// The room the control's text needs, measured as the control draws it.
SIZE textExtent(const Control& control, int width, UINT format) {
    HDC dc = GetDC(control.window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control.window, WM_GETFONT, 0, 0)));
    const std::wstring text = textOf(control.window);
    RECT bounds{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &bounds, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control.window, dc);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

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

void checkText(const Control& control, std::vector<std::wstring>& problems) {
    int width = 0, height = 0;
    UINT format = 0;
    if (textOf(control.window).empty() || !textRoom(control, width, height, format)) return;
    const SIZE needed = textExtent(control, width, format);
    if (needed.cx > width || needed.cy > height)
        problems.push_back(describe(control) + L": text needs " + std::to_wstring(needed.cx) + L"x" +
                           std::to_wstring(needed.cy) + L" but has " + std::to_wstring(width) + L"x" +
                           std::to_wstring(height));
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
