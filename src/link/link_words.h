#pragma once
// The words a link shows, as a link type of words compares them: "次へ »", " Next  page ",
// "&larr; Older posts" become "次へ", "next page", "older posts".

#include <string>
#include <vector>

#include "common/shared_string.h"

namespace quorin {

// The words of one anchor or area, as gathered from the page.
struct LinkWords {
    std::wstring comparable;  // comparableWords of them; empty when the element shows none
    SharedString shown;       // where they came from, when not the link's own text: an alt or title
};

// The text with blanks trimmed and collapsed to single spaces, runs of arrow marks at either end
// set aside (unless nothing else remains) and letter case folded; empty for a text of blanks
// only. A text too long to equal any alternative is cut just past that length, so that a huge
// text costs no more than a long one and still matches nothing.
std::wstring comparableWords(const wchar_t* text);

// The alternatives of a link type's attribute value, "|" between them, each made comparable;
// empty alternatives are left out.
std::vector<std::wstring> wordAlternatives(const wchar_t* attr);

// True when words (comparable) are not empty and equal one of the alternatives.
bool matchesWords(const std::vector<std::wstring>& alternatives, const std::wstring& words);

}  // namespace quorin
