#pragma once
// The floor of loading band and helper: the same windows made, the same registry values read and
// the same band put into the rebar as the library's load does, each with a bare system call and
// nothing else. What is left of the library's load above it is the library's own work.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "browser/frame_windows.h"
#include "common/reg_key.h"
#include "common/unique_handle.h"
#include "resource.h"
#include "settings/settings_store.h"

namespace quorin::bench {

class FloorBand {
public:
    // library: the module whose bitmaps the toolbar shows; rebar: where the band goes.
    FloorBand(HMODULE library, HWND rebar) {
        readSettings();
        makeWindows(library, rebar);
        // The helper looks the band up among the frame's windows.
        found_ = findDescendantByClass(GetParent(rebar), kWindowClass);
    }
    ~FloorBand() {
        const LRESULT index = SendMessageW(rebar_, RB_IDTOINDEX, kBandId, 0);
        if (index >= 0) SendMessageW(rebar_, RB_DELETEBAND, index, 0);
    }
    FloorBand(const FloorBand&) = delete;
    FloorBand& operator=(const FloorBand&) = delete;

    bool complete() const noexcept { return found_ && toolbar_ && images_ && hotImages_; }

private:
    static constexpr wchar_t kWindowClass[] = L"QuorinBenchFloorClass";
    static constexpr UINT kBandId = 0x7001;

    // A value as the store reads it: one call into a buffer that holds every field.
    static bool read(HKEY key, const std::wstring& name) {
        BYTE data[1024];
        DWORD size = sizeof data;
        return RegQueryValueExW(key, name.c_str(), nullptr, nullptr, data, &size) == ERROR_SUCCESS;
    }

    // The names of one group's numbered entries, read entry after entry until one is missing.
    static void readEntries(HKEY key, const std::vector<const wchar_t*>& names) {
        for (int i = 1;; ++i) {
            for (const wchar_t* name : names)
                if (!read(key, name + std::to_wstring(i))) return;
        }
    }

    static void readGroup(const wchar_t* group, const std::vector<const wchar_t*>& entryNames,
                          const std::vector<const wchar_t*>& names) {
        RegKey key;
        if (!key.open(HKEY_CURRENT_USER, (std::wstring(kRootKeyPath) + L"\\" + group).c_str(), KEY_READ)) return;
        if (!entryNames.empty()) readEntries(key.get(), entryNames);
        for (const wchar_t* name : names) read(key.get(), name);
    }

    static void readSettings() {
        readGroup(L"AddSheet", {L"Title", L"Path"}, {});
        readGroup(L"Prefer", {L"Title", L"URI"}, {});
        readGroup(L"Etc", {}, {L"UseSheetShortcut", L"UseAttrShortcut", L"SyncUse", L"FrameAware"});
        readGroup(L"LinkType", {L"Title", L"Which", L"Attr", L"Shortcut", L"Submenu"}, {});
        readGroup(L"LinkCruise", {L"Title"}, {L"Shortcut"});
        readGroup(L"LinkEtc", {}, {L"MaxEtcNum", L"EnumStyleSheet", L"MaxUnRelNum", L"GroupSameSite", L"EnumNonLink",
                                   L"MaxNonLinkNum", L"ElimDuplLinks"});
    }

    static void registerClass(const wchar_t* name) {
        WNDCLASSEXW wc{sizeof wc};
        if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
        wc.style = CS_GLOBALCLASS;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = name;
        RegisterClassExW(&wc);
    }

    void makeWindows(HMODULE library, HWND rebar) {
        rebar_ = rebar;
        registerClass(kWindowClass);
        registerClass(L"QuorinBenchFloorButton");
        RECT client{};
        GetClientRect(rebar, &client);
        band_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, nullptr, WS_CHILD | WS_CLIPCHILDREN, 0, 0, client.right,
                                client.bottom, rebar, nullptr, GetModuleHandleW(nullptr), nullptr));
        InitCommonControls();
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        toolbar_ = CreateWindowExW(WS_EX_TOOLWINDOW, TOOLBARCLASSNAMEW, nullptr,
                                   WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_TRANSPARENT | TBSTYLE_FLAT |
                                       TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_ADJUSTABLE | CCS_NOPARENTALIGN,
                                   0, 0, client.right, client.bottom, band_.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
        images_.reset(ImageList_LoadImageW(library, MAKEINTRESOURCEW(IDB_TOOLBAR), 16, 1, CLR_DEFAULT, IMAGE_BITMAP,
                                           LR_CREATEDIBSECTION));
        hotImages_.reset(ImageList_LoadImageW(library, MAKEINTRESOURCEW(IDB_TOOLBAR_HOT), 16, 1, CLR_DEFAULT,
                                              IMAGE_BITMAP, LR_CREATEDIBSECTION));
        SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
        SendMessageW(toolbar_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages_.get()));
        for (int i = 0; i < 2; ++i) {
            CreateWindowExW(WS_EX_TRANSPARENT, L"QuorinBenchFloorButton", nullptr, WS_CHILD | WS_DISABLED, 0, 0, 0, 0,
                            toolbar_, nullptr, GetModuleHandleW(nullptr), nullptr);
            TBBUTTON button{i, i == 0 ? kStyleButtonId : kLinkButtonId, TBSTATE_ENABLED, BTNS_DROPDOWN};
            SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
            SendMessageW(toolbar_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
        }
        TBSAVEPARAMSW layout{HKEY_CURRENT_USER, kRootKeyPath, L"Toolbar"};
        SendMessageW(toolbar_, TB_SAVERESTOREW, FALSE, reinterpret_cast<LPARAM>(&layout));
        ShowWindow(toolbar_, SW_SHOW);
        REBARBANDINFOW info{};
        info.cbSize = REBARBANDINFOW_V6_SIZE;
        info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE | RBBIM_ID;
        info.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
        info.hwndChild = band_.get();
        info.cyMinChild = 22;
        info.cx = 200;
        info.wID = kBandId;
        SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
        ShowWindow(band_.get(), SW_SHOW);
    }

    static constexpr int kStyleButtonId = 40001;
    static constexpr int kLinkButtonId = 50001;
    HWND rebar_ = nullptr;
    // The images go after the windows that show them.
    ImageListHandle images_;
    ImageListHandle hotImages_;
    WindowHandle band_;
    HWND toolbar_ = nullptr;  // a child of band_
    HWND found_ = nullptr;
};

}  // namespace quorin::bench
