#include "common/shared_string.h"

#include <cwchar>
#include <utility>

namespace quorin {

namespace {

BSTR allocOrThrow(const wchar_t* text, std::size_t length) {
    BSTR b = SysAllocStringLen(text, static_cast<UINT>(length));
    if (!b) throw std::bad_alloc();
    return b;
}

}  // namespace

SharedString::SharedString(const wchar_t* text) {
    if (text) *this = adopt(allocOrThrow(text, std::wcslen(text)));
}

SharedString::SharedString(const wchar_t* text, std::size_t length) {
    if (text) *this = adopt(allocOrThrow(text, length));
}

SharedString::SharedString(const SharedString& o) noexcept : rep_(o.rep_) {
    if (rep_) ++rep_->refs;
}

SharedString::SharedString(SharedString&& o) noexcept : rep_(std::exchange(o.rep_, nullptr)) {}

SharedString::~SharedString() { release(); }

SharedString& SharedString::operator=(const SharedString& o) noexcept {
    if (o.rep_) ++o.rep_->refs;
    release();
    rep_ = o.rep_;
    return *this;
}

SharedString& SharedString::operator=(SharedString&& o) noexcept {
    if (this != &o) {
        release();
        rep_ = std::exchange(o.rep_, nullptr);
    }
    return *this;
}

SharedString SharedString::adopt(BSTR b) {
    SharedString s;
    if (!b) return s;
    Rep* rep = new (std::nothrow) Rep{1, b};
    if (!rep) {
        SysFreeString(b);
        throw std::bad_alloc();
    }
    s.rep_ = rep;
    return s;
}

BSTR* SharedString::out() {
    release();
    rep_ = new Rep{1, nullptr};
    return &rep_->text;
}

std::size_t SharedString::length() const noexcept { return isNull() ? 0 : SysStringLen(rep_->text); }

bool SharedString::operator==(const SharedString& o) const noexcept {
    if (isNull() || o.isNull()) return isNull() == o.isNull();
    const std::size_t n = length();
    return n == o.length() && std::wmemcmp(c_str(), o.c_str(), n) == 0;
}

std::size_t SharedString::Hash::operator()(const SharedString& text) const noexcept {
    // FNV-1a.
    std::size_t hash = 2166136261u;
    const wchar_t* units = text.textOrEmpty();
    for (std::size_t i = 0, n = text.length(); i < n; ++i) {
        hash = (hash ^ static_cast<std::size_t>(static_cast<unsigned>(units[i]) & 0xFFFFu)) * 16777619u;
    }
    return hash;
}

void SharedString::release() noexcept {
    Rep* rep = std::exchange(rep_, nullptr);
    if (rep && --rep->refs == 0) {
        SysFreeString(rep->text);
        delete rep;
    }
}

}  // namespace quorin
