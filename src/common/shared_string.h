#pragma once
// Reference-counted immutable UTF-16 string over a BSTR. Copying shares the string; the BSTR is
// freed with the last copy. A string may be null (absent), which differs from empty.

#include <windows.h>
#include <oleauto.h>
#include <cstddef>
#include <new>

namespace quorin {

class SharedString {
public:
    SharedString() noexcept = default;
    SharedString(const wchar_t* text);                     // null stays null
    SharedString(const wchar_t* text, std::size_t length);  // text may be cut
    SharedString(const SharedString& o) noexcept;
    SharedString(SharedString&& o) noexcept;
    ~SharedString();
    SharedString& operator=(const SharedString& o) noexcept;
    SharedString& operator=(SharedString&& o) noexcept;

    // Takes ownership of a BSTR the caller owns (null gives a null string).
    static SharedString adopt(BSTR b);

    // Slot for a BSTR out-parameter: the string becomes whatever the callee stores.
    BSTR* out();

    bool isNull() const noexcept { return !rep_ || !rep_->text; }
    bool isEmpty() const noexcept { return length() == 0; }
    std::size_t length() const noexcept;
    const wchar_t* c_str() const noexcept { return rep_ ? rep_->text : nullptr; }
    const wchar_t* textOrEmpty() const noexcept { return isNull() ? L"" : rep_->text; }
    // For [in] BSTR parameters: the callee must not free it.
    BSTR bstr() const noexcept { return rep_ ? rep_->text : nullptr; }

    // Code unit by code unit; two null strings are equal, null differs from empty.
    bool operator==(const SharedString& o) const noexcept;
    bool operator!=(const SharedString& o) const noexcept { return !(*this == o); }

    // Over the code units, for hashed containers; null and empty hash alike but compare unequal.
    struct Hash {
        std::size_t operator()(const SharedString& text) const noexcept;
    };

private:
    struct Rep {
        long refs;
        BSTR text;
    };
    void release() noexcept;
    Rep* rep_ = nullptr;
};

}  // namespace quorin
