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

}  // namespace quorin::test
