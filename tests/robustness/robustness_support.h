#pragma once
// Shared by the robustness tests: a page that exercises every engine, the user's actions on a
// browser window (button faces, shortcut keys), and the end-of-run checks every scenario must pass.

#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "browser/browser_window.h"

namespace quorin::test {

constexpr int kStyleButton = 40001;
constexpr int kLinkButton = 50001;

// Styled and linked, with inline styles, a frame of the same site and one of another.
void richPage(PageBuilder& page);

// A click on a button's face.
void clickFace(HWND toolbar, int commandId);
// Control+Shift+key, as the default link-type shortcuts are.
void typeLinkShortcut(HWND window, WPARAM key);

// What every run must leave: the doubles given back, the library free to unload, the settings
// as they were.
struct RunBalance {
    LONG doubles;
    std::map<std::wstring, std::vector<BYTE>> settings;

    static RunBalance now();
    // The checks, with what was injected for the failure messages; true when all held.
    bool holds(const Library& library, const std::string& what) const;
};

}  // namespace quorin::test
