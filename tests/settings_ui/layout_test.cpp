// Every page and entry dialog laid out with its real font: nothing cut off, nothing overlapping.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/module.h"
#include "settings_ui/common_controls.h"
#include "settings_ui_resource.h"
#include "common/unique_handle.h"
#include "support/dialog_layout.h"

namespace quorin::test {
namespace {

INT_PTR CALLBACK plainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Pages are child dialogs: they need a parent as the sheet gives them.
class Host {
public:
    Host() : window_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr)) {}
    ~Host() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_;
};

TEST(DialogLayout, EveryTemplateFitsItsTextsWithoutOverlaps) {
    ensureCommonControls();
    Host host;
    const WORD templates[] = {IDD_ABOUT_PAGE,     IDD_ADDSHEET_PAGE, IDD_PREFER_PAGE, IDD_ADDSHEET_ENTRY,
                              IDD_PREFER_ENTRY,   IDD_LINKTYPE_PAGE, IDD_LINKTYPE_ENTRY, IDD_CRUISE_PAGE,
                              IDD_LINKETC_PAGE,   IDD_CRUISE_ENTRY,  IDD_STYLEETC_PAGE};
    for (WORD id : templates) {
        HWND dialog = CreateDialogParamW(moduleHandle(), MAKEINTRESOURCEW(id), host.get(), &plainDialog, 0);
        ASSERT_TRUE(dialog) << "dialog " << id;
        for (const std::wstring& problem : layoutProblems(dialog)) ADD_FAILURE() << "dialog " << id << ": " << problem;
        DestroyWindow(dialog);
    }
}

// The dialogs' description text, so that the checker is tried on the text it guards.
constexpr wchar_t kDescription[] =
    L"ここで追加したスタイルシートは、一覧の順にHTML文書へ埋め込まれます。Author指定のスタイルシートと"
    L"同列に扱われるので、特別な優先順位は持ちません。";

// Labels in the dialogs' font on a host window, as a template would make them.
class Labels {
public:
    Labels() : font_(CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"ＭＳ Ｐゴシック")) {}

    HWND add(const wchar_t* text, int width, int height, LONG style = SS_LEFT) {
        HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 0, next_, width, height,
                                     host_.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(++id_)), nullptr,
                                     nullptr);
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        next_ += height + 4;
        return label;
    }
    std::vector<std::wstring> problems() const { return layoutProblems(host_.get()); }
    int lineHeight() const {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font_.get());
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return metrics.tmHeight;
    }
    SIZE wrapped(const std::wstring& text, int width) const {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font_.get());
        const SIZE size = windowsWrappedExtent(dc, text, width);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return size;
    }

private:
    FontHandle font_;
    Host host_;
    int next_ = 0;
    int id_ = 100;
};

TEST(DialogLayout, LinesBreakAtSpacesAndBetweenJapaneseCharactersOnly) {
    const std::wstring text = L"HTML文書へ、Author指定 and more";
    std::vector<std::size_t> breaks;
    for (std::size_t at = 0; at <= text.size(); ++at)
        if (isLineBreak(text, at)) breaks.push_back(at);
    // Where Japanese is on either side, after a space (never before one), and at the end.
    EXPECT_EQ(breaks, (std::vector<std::size_t>{4, 5, 6, 7, 8, 14, 15, 17, 21, 25}));
}

TEST(DialogLayout, WrappingMeasuresLinesWithTheRealFont) {
    Labels labels;
    const int line = labels.lineHeight();
    const SIZE one = labels.wrapped(L"スタイル", 1000);
    EXPECT_GT(one.cx, 0);
    EXPECT_EQ(one.cy, line);
    EXPECT_EQ(labels.wrapped(L"スタイル", one.cx - 1).cy, 2 * line) << "the last character goes to the next line";
    EXPECT_EQ(labels.wrapped(L"追加(&A)", 1000).cx, labels.wrapped(L"追加(A)", 1000).cx) << "a mnemonic takes no room";
    EXPECT_EQ(labels.wrapped(L"Author Author", 1).cy, 2 * line) << "a word too long for a line stays whole";
    const SIZE described = labels.wrapped(kDescription, 331);
    EXPECT_LE(described.cx, 331);
    EXPECT_EQ(described.cy, 3 * line);
}

// A label that Windows would cut off is found however this system wraps; a fitting one is not.
TEST(DialogLayout, LabelsThatWouldNotFitAreFound) {
    Labels labels;
    const int line = labels.lineHeight();
    labels.add(kDescription, 331, 3 * line + 2, SS_LEFT | SS_EDITCONTROL);
    EXPECT_EQ(labels.problems(), std::vector<std::wstring>{});
    HWND tooLow = labels.add(kDescription, 331, 2 * line + 2, SS_LEFT | SS_EDITCONTROL);
    HWND tooNarrow = labels.add(L"Author-specified", 40, line + 2);
    const std::vector<std::wstring> problems = labels.problems();
    const auto mentions = [&](HWND label, const wchar_t* how) {
        const std::wstring start = L"control " + std::to_wstring(GetDlgCtrlID(label)) + L" ";
        for (const std::wstring& problem : problems)
            if (problem.find(how) != std::wstring::npos && problem.find(start) == 0) return true;
        return false;
    };
    EXPECT_TRUE(mentions(tooLow, L"as Windows wraps it"));
    EXPECT_TRUE(mentions(tooNarrow, L"as Windows wraps it"));
    EXPECT_TRUE(mentions(tooNarrow, L"as this system draws it"));
}

}  // namespace
}  // namespace quorin::test
