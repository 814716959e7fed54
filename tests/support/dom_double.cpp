#include "support/dom_double.h"

#include <algorithm>
#include <cwctype>

namespace quorin::test {

namespace {

std::wstring lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

std::wstring fromBstr(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

// A numeric variant as a position; strings and other types are not positions.
bool positionOf(const VARIANT& value, LONG* position) {
    if (value.vt == VT_I4) {
        *position = value.lVal;
        return true;
    }
    if (value.vt == VT_BSTR || value.vt == VT_EMPTY || value.vt == VT_NULL || value.vt == VT_ERROR ||
        value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN)
        return false;
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantChangeType(&copy, const_cast<VARIANT*>(&value), 0, VT_I4))) return false;
    *position = copy.lVal;
    return true;
}

// The longest address the browser keeps; longer results are handed out as written.
constexpr std::size_t kMaxUrlLength = 2083;

// path (from its leading "/") without its "." and ".." segments.
std::wstring withoutDotSegments(const std::wstring& path) {
    std::vector<std::wstring> kept;
    bool trailingSlash = false;
    for (std::size_t at = 1;;) {
        const std::size_t next = path.find(L'/', at);
        const std::wstring segment = path.substr(at, next == std::wstring::npos ? std::wstring::npos : next - at);
        const bool last = next == std::wstring::npos;
        if (segment == L"." || segment == L"..") {
            if (segment == L".." && !kept.empty()) kept.pop_back();
            trailingSlash = last;
        } else {
            kept.push_back(segment);
            trailingSlash = false;
        }
        if (last) break;
        at = next + 1;
    }
    std::wstring out;
    for (const std::wstring& segment : kept) out += L"/" + segment;
    if (trailingSlash || out.empty()) out += L"/";
    return out;
}

bool hasScheme(const std::wstring& reference) {
    const std::size_t colon = reference.find(L':');
    if (colon == 0 || colon == std::wstring::npos || colon > reference.find_first_of(L"/?#")) return false;
    return std::all_of(reference.begin(), reference.begin() + colon, [](wchar_t c) {
        return std::iswalnum(c) || c == L'+' || c == L'-' || c == L'.';
    });
}

// reference resolved against base as browsers resolve the hrefs of links (RFC 3986): a
// hierarchical base only; otherwise, and beyond the browser's longest address, as written.
std::wstring combined(const std::wstring& base, const std::wstring& reference) {
    if (reference.empty()) return base;
    if (hasScheme(reference)) return reference;
    const std::size_t scheme = base.find(L':');
    if (scheme == std::wstring::npos || base.compare(scheme + 1, 2, L"//") != 0) return reference;
    const std::size_t pathStart = std::min(base.find_first_of(L"/?#", scheme + 3), base.size());
    const std::size_t pathEnd = std::min(base.find_first_of(L"?#", pathStart), base.size());
    std::wstring out;
    if (reference.compare(0, 2, L"//") == 0) {
        out = base.substr(0, scheme + 1) + reference;
    } else if (reference[0] == L'#') {
        out = base.substr(0, base.find(L'#')) + reference;
    } else if (reference[0] == L'?') {
        out = base.substr(0, pathEnd) + reference;
    } else {
        const std::size_t suffix = std::min(reference.find_first_of(L"?#"), reference.size());
        std::wstring path = reference.substr(0, suffix);
        if (path[0] != L'/') {
            const std::wstring basePath = base.substr(pathStart, pathEnd - pathStart);
            path = basePath.substr(0, basePath.rfind(L'/') + 1) + path;
            if (path[0] != L'/') path.insert(0, 1, L'/');
        }
        out = base.substr(0, pathStart) + withoutDotSegments(path) + reference.substr(suffix);
    }
    return out.size() > kMaxUrlLength ? reference : out;
}

bool resolvesHref(const std::wstring& tag) { return tag == L"a" || tag == L"area" || tag == L"link"; }

template <class T>
void setDispatch(VARIANT* result, T* object) {
    result->vt = VT_DISPATCH;
    result->pdispVal = object->dispatch();
    object->AddRef();
}

// The elements of one tag, or all of them for "*", in the order the page holds them.
std::vector<ComPtr<ElementDouble>> ofTag(const std::vector<ComPtr<ElementDouble>>& elements, const std::wstring& tag) {
    std::vector<ComPtr<ElementDouble>> matches;
    for (const auto& element : elements)
        if (tag == L"*" || element->tag() == tag) matches.push_back(element);
    return matches;
}

}  // namespace

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// ---------------------------------------------------------------------------------------------
// ElementDouble

ElementDouble::ElementDouble(const std::wstring& tag) : tag_(lower(tag)), style_(ComPtr<StyleDouble>::adopt(new StyleDouble)) {
    const std::pair<const wchar_t*, IID> kinds[] = {{L"link", IID_IHTMLLinkElement},
                                                    {L"a", IID_IHTMLAnchorElement},
                                                    {L"area", IID_IHTMLAreaElement},
                                                    {L"base", IID_IHTMLBaseElement},
                                                    {L"meta", IID_IHTMLMetaElement},
                                                    {L"img", IID_IHTMLImgElement}};
    for (const auto& [kind, iid] : kinds)
        if (tag_ != kind) refuseInterface(iid);
}

ElementDouble& ElementDouble::attr(const std::wstring& name, const std::wstring& value) {
    attributes_.erase(lower(name));
    attributes_.emplace(lower(name), Variant::fromString(value.c_str()));
    if (lower(name) == L"style") style_->setCssText(value);
    return *this;
}

ElementDouble& ElementDouble::removeAttr(const std::wstring& name) {
    attributes_.erase(lower(name));
    return *this;
}

ElementDouble& ElementDouble::text(OptText innerText) {
    innerText_ = std::move(innerText);
    return *this;
}

ElementDouble& ElementDouble::css(const std::wstring& cssText) {
    style_->setCssText(cssText);
    return *this;
}

ElementDouble& ElementDouble::contain(ElementDouble& inner) {
    contained_.push_back(ComPtr<ElementDouble>(&inner));
    return *this;
}

OptText ElementDouble::attribute(const std::wstring& name) const {
    const VARIANT* value = attributeValue(name);
    if (!value || value->vt != VT_BSTR) return std::nullopt;
    return fromBstr(value->bstrVal);
}

const VARIANT* ElementDouble::attributeValue(const std::wstring& name) const {
    auto it = attributes_.find(lower(name));
    return it == attributes_.end() ? nullptr : &it->second.ref();
}

std::wstring ElementDouble::cssText() const { return style_->cssText(); }

HRESULT ElementDouble::attributeText(const char* method, const wchar_t* name, BSTR* out) const {
    return stringOut(method, attribute(name), out);
}

STDMETHODIMP ElementDouble::setAttribute(BSTR name, VARIANT value, LONG flags) {
    if (recording_) attributeCalls_.push_back({L"setAttribute", fromBstr(name), flags});
    if (HRESULT hr = failure("setAttribute", keyFor([&] { return narrow(fromBstr(name)); })); FAILED(hr)) return hr;
    if (!name) return E_INVALIDARG;
    Variant copy;
    if (FAILED(VariantCopy(copy.out(), &value))) return E_INVALIDARG;
    const std::wstring key = lower(fromBstr(name));
    attributes_.erase(key);
    attributes_.emplace(key, std::move(copy));
    return S_OK;
}

STDMETHODIMP ElementDouble::getAttribute(BSTR name, LONG flags, VARIANT* value) {
    if (recording_) attributeCalls_.push_back({L"getAttribute", fromBstr(name), flags});
    if (!value) return E_POINTER;
    VariantInit(value);
    const std::string key = keyFor([&] { return narrow(fromBstr(name)); });
    if (HRESULT hr = failure("getAttribute", key); FAILED(hr)) return hr;
    value->vt = VT_NULL;
    if (nullFor("getAttribute", key)) return S_OK;
    if (emptyFor("getAttribute", key)) {
        value->vt = VT_BSTR;
        value->bstrVal = SysAllocString(L"");
        return S_OK;
    }
    const VARIANT* stored = attributeValue(fromBstr(name));
    return stored ? VariantCopy(value, const_cast<VARIANT*>(stored)) : S_OK;
}

STDMETHODIMP ElementDouble::removeAttribute(BSTR name, LONG flags, VARIANT_BOOL* removed) {
    if (recording_) attributeCalls_.push_back({L"removeAttribute", fromBstr(name), flags});
    if (removed) *removed = VARIANT_FALSE;
    if (HRESULT hr = failure("removeAttribute", keyFor([&] { return narrow(fromBstr(name)); })); FAILED(hr)) return hr;
    const bool found = attributes_.erase(lower(fromBstr(name))) != 0;
    if (removed) *removed = found ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP ElementDouble::get_className(BSTR* p) { return attributeText("get_className", L"class", p); }
STDMETHODIMP ElementDouble::get_id(BSTR* p) { return attributeText("get_id", L"id", p); }
STDMETHODIMP ElementDouble::get_tagName(BSTR* p) {
    std::wstring upper = tag_;
    for (auto& c : upper) c = static_cast<wchar_t>(std::towupper(c));
    return stringOut("get_tagName", upper, p);
}
STDMETHODIMP ElementDouble::get_title(BSTR* p) { return attributeText("get_title", L"title", p); }
STDMETHODIMP ElementDouble::get_innerText(BSTR* p) { return stringOut("get_innerText", innerText_, p); }
STDMETHODIMP ElementDouble::get_lang(BSTR* p) { return attributeText("get_lang", L"lang", p); }
STDMETHODIMP ElementDouble::get_href(BSTR* p) {
    OptText href = attribute(L"href");
    if (href && document_ && resolvesHref(tag_)) href = document_->resolve(*href);
    return stringOut("get_href", href, p);
}
STDMETHODIMP ElementDouble::get_rel(BSTR* p) { return attributeText("get_rel", L"rel", p); }
STDMETHODIMP ElementDouble::get_rev(BSTR* p) { return attributeText("get_rev", L"rev", p); }
STDMETHODIMP ElementDouble::get_type(BSTR* p) { return attributeText("get_type", L"type", p); }
STDMETHODIMP ElementDouble::get_media(BSTR* p) { return attributeText("get_media", L"media", p); }
STDMETHODIMP ElementDouble::get_target(BSTR* p) { return attributeText("get_target", L"target", p); }
STDMETHODIMP ElementDouble::get_name(BSTR* p) { return attributeText("get_name", L"name", p); }
STDMETHODIMP ElementDouble::get_alt(BSTR* p) { return attributeText("get_alt", L"alt", p); }
STDMETHODIMP ElementDouble::get_httpEquiv(BSTR* p) { return attributeText("get_httpEquiv", L"http-equiv", p); }
STDMETHODIMP ElementDouble::get_content(BSTR* p) { return attributeText("get_content", L"content", p); }
STDMETHODIMP ElementDouble::get_charset(BSTR* p) { return attributeText("get_charset", L"charset", p); }

STDMETHODIMP ElementDouble::getElementsByTagName(BSTR name, IHTMLElementCollection** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    const std::wstring tag = lower(fromBstr(name));
    if (HRESULT hr = failure("getElementsByTagName", narrow(tag)); FAILED(hr)) return hr;
    if (nullFor("getElementsByTagName", narrow(tag))) return S_OK;
    std::vector<ComPtr<ElementDouble>> matches;
    if (!emptyFor("getElementsByTagName", narrow(tag))) matches = ofTag(contained_, tag);
    *p = ElementCollectionDouble::create("getElementsByTagName(" + narrow(tag) + ")", std::move(matches),
                                         document_ ? document_->onCollection : ElementCollectionDouble::Hook());
    return S_OK;
}

STDMETHODIMP ElementDouble::get_style(IHTMLStyle** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    if (HRESULT hr = failure("get_style"); FAILED(hr)) return hr;
    if (nullFor("get_style")) return S_OK;
    *p = style_.get();
    style_->AddRef();
    return S_OK;
}

// ---------------------------------------------------------------------------------------------
// StyleDouble

STDMETHODIMP StyleDouble::get_cssText(BSTR* p) {
    return stringOut("get_cssText", cssText_.empty() ? OptText() : OptText(cssText_), p);
}

STDMETHODIMP StyleDouble::put_cssText(BSTR v) {
    if (HRESULT hr = failure("put_cssText"); FAILED(hr)) return hr;
    ++writes_;
    cssText_ = fromBstr(v);
    return S_OK;
}

// ---------------------------------------------------------------------------------------------
// ElementCollectionDouble

ElementCollectionDouble::ElementCollectionDouble(std::string name, std::vector<ComPtr<ElementDouble>> elements,
                                                 Hook hook)
    : name_(std::move(name)), elements_(std::move(elements)), hook_(std::move(hook)) {}

ElementCollectionDouble* ElementCollectionDouble::create(std::string name,
                                                         std::vector<ComPtr<ElementDouble>> elements,
                                                         const Hook& hook) {
    auto* collection = new ElementCollectionDouble(std::move(name), std::move(elements), hook);
    if (hook) hook(*collection);
    return collection;
}

STDMETHODIMP ElementCollectionDouble::get_length(LONG* p) {
    if (!p) return E_POINTER;
    *p = 0;
    if (HRESULT hr = failure("get_length"); FAILED(hr)) return hr;
    if (!emptyFor("get_length")) *p = static_cast<LONG>(elements_.size());
    return S_OK;
}

STDMETHODIMP ElementCollectionDouble::item(VARIANT name, VARIANT index, IDispatch** pdisp) {
    if (HRESULT hr = start(pdisp); FAILED(hr)) return hr;
    LONG position = 0;
    if (positionOf(name, &position)) {
        if (injecting()) {
            const std::string key = std::to_string(position);
            if (HRESULT hr = failure("item", key); FAILED(hr)) return hr;
            if (nullFor("item", key)) return S_OK;
        }
        if (position < 0 || position >= static_cast<LONG>(elements_.size())) return S_OK;
        *pdisp = elements_[position]->dispatch();
        (*pdisp)->AddRef();
        return S_OK;
    }
    if (name.vt != VT_BSTR) return E_INVALIDARG;
    const std::wstring wanted = fromBstr(name.bstrVal);
    if (HRESULT hr = failure("item", narrow(wanted)); FAILED(hr)) return hr;
    if (nullFor("item", narrow(wanted))) return S_OK;
    std::vector<ComPtr<ElementDouble>> matches;
    for (const auto& element : elements_)
        if (element->attribute(L"id") == wanted || element->attribute(L"name") == wanted) matches.push_back(element);
    LONG which = 0;
    if (positionOf(index, &which)) {
        if (which < 0 || which >= static_cast<LONG>(matches.size())) return S_OK;
        *pdisp = matches[which]->dispatch();
    } else if (matches.size() == 1) {
        *pdisp = matches.front()->dispatch();
    } else if (!matches.empty()) {
        *pdisp = create("item(" + narrow(wanted) + ")", std::move(matches), hook_)->dispatch();
        return S_OK;
    } else {
        return S_OK;
    }
    (*pdisp)->AddRef();
    return S_OK;
}

STDMETHODIMP ElementCollectionDouble::tags(VARIANT tagName, IDispatch** pdisp) {
    if (HRESULT hr = start(pdisp); FAILED(hr)) return hr;
    if (tagName.vt != VT_BSTR) return E_INVALIDARG;
    const std::wstring tag = lower(fromBstr(tagName.bstrVal));
    if (HRESULT hr = failure("tags", narrow(tag)); FAILED(hr)) return hr;
    if (nullFor("tags", narrow(tag))) return S_OK;
    std::vector<ComPtr<ElementDouble>> matches;
    if (!emptyFor("tags", narrow(tag)))
        for (const auto& element : elements_)
            if (element->tag() == tag) matches.push_back(element);
    *pdisp = create("tags(" + narrow(tag) + ")", std::move(matches), hook_)->dispatch();
    return S_OK;
}

// ---------------------------------------------------------------------------------------------
// StyleSheetDouble

StyleSheetDouble::StyleSheetDouble(OptText title, OptText href, bool disabled, bool created)
    : title_(std::move(title)), href_(std::move(href)), disabled_(disabled), created_(created) {}

STDMETHODIMP StyleSheetDouble::put_title(BSTR v) {
    if (HRESULT hr = failure("put_title"); FAILED(hr)) return hr;
    title_ = fromBstr(v);
    return S_OK;
}

STDMETHODIMP StyleSheetDouble::get_title(BSTR* p) { return stringOut("get_title", title_, p); }
STDMETHODIMP StyleSheetDouble::get_href(BSTR* p) { return stringOut("get_href", href_, p); }
STDMETHODIMP StyleSheetDouble::get_type(BSTR* p) { return stringOut("get_type", std::wstring(L"text/css"), p); }

STDMETHODIMP StyleSheetDouble::put_disabled(VARIANT_BOOL v) {
    if (HRESULT hr = failure("put_disabled"); FAILED(hr)) return hr;
    ++disabledWrites_;
    disabled_ = v != VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP StyleSheetDouble::get_disabled(VARIANT_BOOL* p) {
    if (!p) return E_POINTER;
    *p = VARIANT_FALSE;
    if (HRESULT hr = failure("get_disabled"); FAILED(hr)) return hr;
    *p = disabled_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP StyleSheetDouble::get_readOnly(VARIANT_BOOL* p) {
    if (!p) return E_POINTER;
    *p = VARIANT_FALSE;
    return failure("get_readOnly");
}

STDMETHODIMP StyleSheetDouble::addImport(BSTR url, LONG index, LONG* newIndex) {
    if (newIndex) *newIndex = -1;
    if (HRESULT hr = failure("addImport"); FAILED(hr)) return hr;
    const LONG count = static_cast<LONG>(imports_.size());
    const LONG at = index < 0 || index > count ? count : index;
    imports_.insert(imports_.begin() + at, fromBstr(url));
    if (newIndex) *newIndex = at;
    return S_OK;
}

STDMETHODIMP StyleSheetDouble::removeImport(LONG index) {
    if (HRESULT hr = failure("removeImport"); FAILED(hr)) return hr;
    if (index < 0 || index >= static_cast<LONG>(imports_.size())) return E_INVALIDARG;
    imports_.erase(imports_.begin() + index);
    return S_OK;
}

// ---------------------------------------------------------------------------------------------
// StyleSheetsCollectionDouble, FramesCollectionDouble

StyleSheetsCollectionDouble::StyleSheetsCollectionDouble(std::vector<ComPtr<StyleSheetDouble>> sheets)
    : sheets_(std::move(sheets)) {}

STDMETHODIMP StyleSheetsCollectionDouble::get_length(LONG* p) {
    if (!p) return E_POINTER;
    *p = 0;
    if (HRESULT hr = failure("get_length"); FAILED(hr)) return hr;
    if (!emptyFor("get_length")) *p = static_cast<LONG>(sheets_.size());
    return S_OK;
}

STDMETHODIMP StyleSheetsCollectionDouble::item(VARIANT* index, VARIANT* result) {
    if (!index || !result) return E_POINTER;
    VariantInit(result);
    LONG position = 0;
    if (!positionOf(*index, &position)) return E_INVALIDARG;
    const std::string key = std::to_string(position);
    if (HRESULT hr = failure("item", key); FAILED(hr)) return hr;
    if (nullFor("item", key)) return S_OK;
    if (position < 0 || position >= static_cast<LONG>(sheets_.size())) return E_INVALIDARG;
    setDispatch(result, sheets_[position].get());
    return S_OK;
}

FramesCollectionDouble::FramesCollectionDouble(std::vector<ComPtr<WindowDouble>> frames)
    : frames_(std::move(frames)) {}

// document.frames and window.frames share this lookup.
static HRESULT frameItem(const std::vector<ComPtr<WindowDouble>>& frames, VARIANT* index, VARIANT* result) {
    if (!index || !result) return E_POINTER;
    VariantInit(result);
    LONG position = 0;
    if (!positionOf(*index, &position)) {
        if (index->vt != VT_BSTR) return E_INVALIDARG;
        auto it = std::find_if(frames.begin(), frames.end(),
                               [&](const auto& frame) { return frame->name() == fromBstr(index->bstrVal); });
        if (it == frames.end()) return DISP_E_MEMBERNOTFOUND;
        position = static_cast<LONG>(it - frames.begin());
    }
    if (position < 0 || position >= static_cast<LONG>(frames.size())) return E_INVALIDARG;
    setDispatch(result, frames[position].get());
    return S_OK;
}

STDMETHODIMP FramesCollectionDouble::item(VARIANT* index, VARIANT* result) {
    LONG position = -1;
    const std::string key = index && positionOf(*index, &position) ? std::to_string(position) : std::string();
    if (result) VariantInit(result);
    if (HRESULT hr = failure("item", key); FAILED(hr)) return hr;
    if (nullFor("item", key)) return index && result ? S_OK : E_POINTER;
    return frameItem(frames_, index, result);
}

STDMETHODIMP FramesCollectionDouble::get_length(LONG* p) {
    if (!p) return E_POINTER;
    *p = 0;
    if (HRESULT hr = failure("get_length"); FAILED(hr)) return hr;
    if (!emptyFor("get_length")) *p = static_cast<LONG>(frames_.size());
    return S_OK;
}

// ---------------------------------------------------------------------------------------------
// WindowDouble

WindowDouble::WindowDouble(DocumentDouble* document, std::wstring name, bool accessDenied)
    : document_(document), name_(std::move(name)), denied_(accessDenied) {}

WindowDouble::~WindowDouble() = default;

STDMETHODIMP WindowDouble::item(VARIANT* index, VARIANT* result) {
    if (result) VariantInit(result);
    if (HRESULT hr = failure("item"); FAILED(hr)) return hr;
    if (denied_) return E_ACCESSDENIED;
    return frameItem(document_->frames(), index, result);
}

STDMETHODIMP WindowDouble::get_length(LONG* p) {
    if (!p) return E_POINTER;
    *p = 0;
    if (HRESULT hr = failure("get_length"); FAILED(hr)) return hr;
    if (denied_) return E_ACCESSDENIED;
    *p = static_cast<LONG>(document_->frames().size());
    return S_OK;
}

STDMETHODIMP WindowDouble::get_name(BSTR* p) { return stringOut("get_name", name_, p); }

STDMETHODIMP WindowDouble::get_document(IHTMLDocument2** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    if (HRESULT hr = failure("get_document"); FAILED(hr)) return hr;
    if (denied_) return E_ACCESSDENIED;
    if (nullFor("get_document") || !document_) return S_OK;
    *p = document_.get();
    document_->AddRef();
    return S_OK;
}

STDMETHODIMP WindowDouble::get_location(IHTMLLocation** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    if (HRESULT hr = failure("get_location"); FAILED(hr)) return hr;
    if (denied_) return E_ACCESSDENIED;
    if (nullFor("get_location") || !document_) return S_OK;
    return document_->get_location(p);
}

STDMETHODIMP WindowDouble::get_frames(IHTMLFramesCollection2** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    if (HRESULT hr = failure("get_frames"); FAILED(hr)) return hr;
    if (denied_) return E_ACCESSDENIED;
    *p = this;
    AddRef();
    return S_OK;
}

// ---------------------------------------------------------------------------------------------
// LocationDouble

HRESULT LocationDouble::record(const char* method, BSTR url) {
    if (HRESULT hr = failure(method); FAILED(hr)) return hr;
    navigations_.push_back(fromBstr(url));
    if (onNavigate) onNavigate(navigations_.back());
    return S_OK;
}

STDMETHODIMP LocationDouble::put_href(BSTR v) { return record("put_href", v); }
STDMETHODIMP LocationDouble::assign(BSTR url) { return record("assign", url); }
STDMETHODIMP LocationDouble::replace(BSTR url) { return record("replace", url); }
STDMETHODIMP LocationDouble::get_href(BSTR* p) { return stringOut("get_href", href_, p); }
STDMETHODIMP LocationDouble::toString(BSTR* p) { return stringOut("toString", href_, p); }

// ---------------------------------------------------------------------------------------------
// DocumentDouble

DocumentDouble::DocumentDouble(std::wstring url)
    : url_(std::move(url)), location_(ComPtr<LocationDouble>::adopt(new LocationDouble(url_))) {}

void DocumentDouble::setUrl(std::wstring url) {
    url_ = std::move(url);
    location_->setHref(url_);
}

DocumentDouble::~DocumentDouble() {
    // Elements the library still holds must not reach a gone document.
    for (const auto& element : elements_) element->placeIn(nullptr);
}

ElementDouble& DocumentDouble::add(const std::wstring& tag) {
    elements_.push_back(ComPtr<ElementDouble>::adopt(new ElementDouble(tag)));
    ElementDouble& element = *elements_.back().get();
    element.placeIn(this);
    if (element.tag() == L"base") bases_.push_back(&element);
    return element;
}

std::wstring DocumentDouble::resolve(const std::wstring& href) const {
    for (const ElementDouble* base : bases_)
        if (OptText baseHref = base->attribute(L"href")) return combined(combined(url_, *baseHref), href);
    return combined(url_, href);
}

StyleSheetDouble& DocumentDouble::addSheet(OptText title, OptText href, bool disabled) {
    sheets_.push_back(ComPtr<StyleSheetDouble>::adopt(new StyleSheetDouble(std::move(title), std::move(href), disabled)));
    return *sheets_.back().get();
}

WindowDouble& DocumentDouble::addFrame(DocumentDouble* document, std::wstring name, bool accessDenied) {
    frames_.push_back(ComPtr<WindowDouble>::adopt(new WindowDouble(document, std::move(name), accessDenied)));
    return *frames_.back().get();
}

std::vector<ElementDouble*> DocumentDouble::elementsByTag(const std::wstring& tag) const {
    std::vector<ElementDouble*> found;
    for (const auto& element : elements_)
        if (element->tag() == lower(tag)) found.push_back(element.get());
    return found;
}

std::vector<StyleSheetDouble*> DocumentDouble::createdSheets() const {
    std::vector<StyleSheetDouble*> found;
    for (const auto& sheet : sheets_)
        if (sheet->created()) found.push_back(sheet.get());
    return found;
}

STDMETHODIMP DocumentDouble::get_all(IHTMLElementCollection** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    if (HRESULT hr = failure("get_all"); FAILED(hr)) return hr;
    if (nullFor("get_all")) return S_OK;
    *p = ElementCollectionDouble::create("all", emptyFor("get_all") ? decltype(elements_)() : elements_, onCollection);
    return S_OK;
}

STDMETHODIMP DocumentDouble::get_title(BSTR* p) { return stringOut("get_title", title_, p); }

STDMETHODIMP DocumentDouble::put_title(BSTR v) {
    if (HRESULT hr = failure("put_title"); FAILED(hr)) return hr;
    title_ = fromBstr(v);
    return S_OK;
}

STDMETHODIMP DocumentDouble::get_readyState(BSTR* p) { return stringOut("get_readyState", std::wstring(L"complete"), p); }

STDMETHODIMP DocumentDouble::get_frames(IHTMLFramesCollection2** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    if (HRESULT hr = failure("get_frames"); FAILED(hr)) return hr;
    if (nullFor("get_frames")) return S_OK;
    *p = new FramesCollectionDouble(emptyFor("get_frames") ? decltype(frames_)() : frames_);
    return S_OK;
}

STDMETHODIMP DocumentDouble::get_styleSheets(IHTMLStyleSheetsCollection** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    if (HRESULT hr = failure("get_styleSheets"); FAILED(hr)) return hr;
    if (nullFor("get_styleSheets")) return S_OK;
    *p = new StyleSheetsCollectionDouble(emptyFor("get_styleSheets") ? decltype(sheets_)() : sheets_);
    return S_OK;
}

STDMETHODIMP DocumentDouble::get_location(IHTMLLocation** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    if (HRESULT hr = failure("get_location"); FAILED(hr)) return hr;
    if (nullFor("get_location")) return S_OK;
    *p = location_.get();
    location_->AddRef();
    return S_OK;
}

STDMETHODIMP DocumentDouble::get_URL(BSTR* p) { return stringOut("get_URL", url_, p); }

STDMETHODIMP DocumentDouble::createStyleSheet(BSTR href, LONG index, IHTMLStyleSheet** sheet) {
    createCalls_.push_back({fromBstr(href), index});
    if (HRESULT hr = start(sheet); FAILED(hr)) return hr;
    if (HRESULT hr = failure("createStyleSheet"); FAILED(hr)) return hr;
    if (nullFor("createStyleSheet")) return S_OK;
    auto created = ComPtr<StyleSheetDouble>::adopt(new StyleSheetDouble(std::nullopt, fromBstr(href), false, true));
    const LONG count = static_cast<LONG>(sheets_.size());
    sheets_.insert(sheets_.begin() + (index < 0 || index > count ? count : index), created);
    if (onCreateSheet) onCreateSheet(*created.get());
    *sheet = created.detach();
    return S_OK;
}

STDMETHODIMP DocumentDouble::getElementsByTagName(BSTR name, IHTMLElementCollection** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    const std::wstring tag = lower(fromBstr(name));
    if (HRESULT hr = failure("getElementsByTagName", narrow(tag)); FAILED(hr)) return hr;
    if (nullFor("getElementsByTagName", narrow(tag))) return S_OK;
    std::vector<ComPtr<ElementDouble>> matches;
    if (!emptyFor("getElementsByTagName", narrow(tag))) matches = ofTag(elements_, tag);
    *p = ElementCollectionDouble::create("getElementsByTagName(" + narrow(tag) + ")", std::move(matches), onCollection);
    return S_OK;
}

STDMETHODIMP DocumentDouble::getElementById(BSTR id, IHTMLElement** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    if (HRESULT hr = failure("getElementById"); FAILED(hr)) return hr;
    for (const auto& element : elements_)
        if (element->attribute(L"id") == fromBstr(id)) {
            *p = element.get();
            element->AddRef();
            break;
        }
    return S_OK;
}

}  // namespace quorin::test
