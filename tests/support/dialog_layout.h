#pragma once
// Checks a dialog's layout with the fonts it is really drawn with: every control inside the
// dialog, no two controls overlapping (a group box may frame others), and every static text,
// button, check box, radio button and group box caption fitting its control.

#include <windows.h>

#include <string>
#include <vector>

namespace quorin::test {

// One line per problem, naming the controls by id and text; empty when the layout is sound.
std::vector<std::wstring> layoutProblems(HWND dialog);

// Windows breaks a wrapped line at a space or between any two characters of which one is
// Japanese, and keeps a run without such a break whole even when it is too long. (Wine 10 breaks
// Japanese text only where the line is full: when the next character may not begin a line, "、"
// say, it looks back for a space, and without one leaves the rest of the text on that line.)
bool isJapanese(wchar_t c);
// Whether a line may break before text[at]; the end of the text always is a break.
bool isLineBreak(const std::wstring& text, std::size_t at);
// The size a label of that width takes as Windows wraps it, measured with the font selected
// into dc: the widest line, and one font height per line.
SIZE windowsWrappedExtent(HDC dc, const std::wstring& label, int width);

}  // namespace quorin::test
