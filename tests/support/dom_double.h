#pragma once
// The page's document object model as test doubles: real COM objects implementing the
// toolchain's mshtml.h interfaces, so the library makes exactly the calls it makes in the browser.
//
// Objects and the interfaces they answer (anything else: E_NOINTERFACE; unused methods: E_NOTIMPL):
//   DocumentDouble            IHTMLDocument2, IHTMLDocument3, IDispatch
//   ElementCollectionDouble   IHTMLElementCollection        (all, tags(name), getElementsByTagName)
//   ElementDouble             IHTMLElement, IHTMLElement2 (getElementsByTagName over the elements
//                             inside it), plus by tag: link IHTMLLinkElement, a IHTMLAnchorElement,
//                             area IHTMLAreaElement, base IHTMLBaseElement, meta IHTMLMetaElement,
//                             img IHTMLImgElement
//   StyleDouble               IHTMLStyle (cssText)
//   StyleSheetDouble          IHTMLStyleSheet (title, href, disabled, addImport, removeImport)
//   StyleSheetsCollectionDouble IHTMLStyleSheetsCollection (length, item(VARIANT*, VARIANT*))
//   FramesCollectionDouble    IHTMLFramesCollection2 (document.frames: length, item(VT_I4) → window)
//   WindowDouble              IHTMLWindow2 (document, or E_ACCESSDENIED for a frame of another site)
//   LocationDouble            IHTMLLocation (href; put_href records the navigation)
//
// Values: attributes, titles, hrefs and texts are std::optional: std::nullopt is "absent" (the
// getter succeeds with a null BSTR), an empty string is "present and empty" (a zero-length BSTR).
// Element getters return attributes as written, except the href of link, a and area elements of
// a document: as the browser does, that is resolved against the document's address, or against
// the href of its first base element that has one (itself resolved against the address).
//
// Failure injection (from com_double.h, on any double): failMethod("get_length", E_FAIL) makes the
// method fail; nullMethod("get_document") makes it succeed with null; emptyMethod("get_title")
// with an empty string, empty collection or length 0. Methods taking an index or name also look
// for the key with the argument, e.g. failMethod("item(3)", E_FAIL) on a collection fails only
// index 3, nullMethod("tags(head)") on the all collection gives null for that tag only, and
// failMethod("getElementsByTagName(base)", ...) on the document. refuseInterface(IID_...) makes
// QueryInterface refuse. Collections are created afresh on every call; to reach them use
// DocumentDouble::onCollection, which sees each new collection (with its name()) before the
// library does.
//
// Lifetime: every double starts with one reference owned by whoever created it (builders wrap
// them in ComPtr). A document holds its elements, sheets, frames and location; collections hold
// counted references to what they list, never to their document, so there are no cycles:
// DoubleBase::liveDoubles() is back at its start value once the test and the library let go.

#include <windows.h>
#include <mshtml.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "common/variant.h"
#include "support/com_double.h"
#include "support/dom_stubs.h"

namespace quorin::test {

using OptText = std::optional<std::wstring>;

// Narrow copy of ASCII text, for injection keys such as "tags(a)".
std::string narrow(const std::wstring& text);

// A double whose IDispatch is served by its primary interface; the IDispatch methods return
// E_NOTIMPL. Adds the injection checks every getter uses.
template <class Primary, class... Others>
class DispatchDouble : public ComDouble<Primary, Others...> {
public:
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    IDispatch* dispatch() noexcept {
        return static_cast<IDispatch*>(static_cast<typename InterfaceOf<Primary>::type*>(this));
    }

protected:
    void* baseInterface(REFIID riid) override { return riid == IID_IDispatch ? dispatch() : nullptr; }

    // The failure injected for method, or for "method(argument)".
    HRESULT failure(const char* method) const { return this->injecting() ? failure(std::string(method)) : S_OK; }
    bool nullFor(const char* method) const { return this->injecting() && nullFor(std::string(method)); }
    bool emptyFor(const char* method) const { return this->injecting() && emptyFor(std::string(method)); }
    HRESULT failure(const std::string& method, const std::string& argument = {}) const {
        if (HRESULT hr = this->injected(method.c_str()); FAILED(hr)) return hr;
        return argument.empty() ? S_OK : this->configured(method + "(" + argument + ")");
    }
    bool nullFor(const std::string& method, const std::string& argument = {}) const {
        return this->nulled(method) || (!argument.empty() && this->nulled(method + "(" + argument + ")"));
    }
    bool emptyFor(const std::string& method, const std::string& argument = {}) const {
        return this->emptied(method) || (!argument.empty() && this->emptied(method + "(" + argument + ")"));
    }
    // A string getter: checks out, injection, then hands out value (null when absent).
    HRESULT stringOut(const char* method, const OptText& value, BSTR* out) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (HRESULT hr = failure(method); FAILED(hr)) return hr;
        if (nullFor(method)) return S_OK;
        const wchar_t* given = emptyFor(method) ? L"" : value ? value->c_str() : nullptr;
        if (!given) return S_OK;
        *out = SysAllocStringLen(given, static_cast<UINT>(emptyFor(method) ? 0 : value->size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    // Pointer out-parameters start null; object getters use this before anything else.
    template <class T>
    static HRESULT start(T** out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        return S_OK;
    }
};

class StyleDouble;
class StyleSheetDouble;
class WindowDouble;
class LocationDouble;
class ElementCollectionDouble;
class DocumentDouble;

// One element. The tag decides which element interfaces it answers (see the table above).
class ElementDouble final
    : public DispatchDouble<IHTMLElementStub, IHTMLElement2Stub, IHTMLLinkElementStub, IHTMLAnchorElementStub,
                            IHTMLAreaElementStub, IHTMLBaseElementStub, IHTMLMetaElementStub, IHTMLImgElementStub> {
public:
    // tag is stored in lower case. The inline style starts from a "style" attribute.
    explicit ElementDouble(const std::wstring& tag);

    const std::wstring& tag() const noexcept { return tag_; }
    // The document that resolves this element's href; null for an element of no document.
    void placeIn(DocumentDouble* document) noexcept { document_ = document; }

    // Builder calls; each returns the element for chaining. Names are case-insensitive.
    ElementDouble& attr(const std::wstring& name, const std::wstring& value = L"");
    ElementDouble& removeAttr(const std::wstring& name);
    ElementDouble& text(OptText innerText);  // innerText; absent by default
    ElementDouble& css(const std::wstring& cssText);
    // Records inner as lying inside this element (at any depth), e.g. an image inside an anchor.
    ElementDouble& contain(ElementDouble& inner);

    // Inspection. attribute() is the text of a string attribute (also those the library set with
    // setAttribute, e.g. "Quorin_style"); attributeValue() the raw VARIANT (VT_EMPTY if absent).
    OptText attribute(const std::wstring& name) const;
    const VARIANT* attributeValue(const std::wstring& name) const;
    const OptText& innerText() const noexcept { return innerText_; }
    const std::vector<ComPtr<ElementDouble>>& contained() const noexcept { return contained_; }
    StyleDouble* style() const noexcept { return style_.get(); }
    std::wstring cssText() const;
    struct AttributeCall {
        std::wstring method;  // "getAttribute", "setAttribute", "removeAttribute"
        std::wstring name;
        LONG flags;
    };
    const std::vector<AttributeCall>& attributeCalls() const noexcept { return attributeCalls_; }

    // IHTMLElement
    STDMETHODIMP setAttribute(BSTR name, VARIANT value, LONG flags) override;
    STDMETHODIMP getAttribute(BSTR name, LONG flags, VARIANT* value) override;
    STDMETHODIMP removeAttribute(BSTR name, LONG flags, VARIANT_BOOL* removed) override;
    STDMETHODIMP get_className(BSTR* p) override;
    STDMETHODIMP get_id(BSTR* p) override;
    STDMETHODIMP get_tagName(BSTR* p) override;
    STDMETHODIMP get_title(BSTR* p) override;
    STDMETHODIMP get_style(IHTMLStyle** p) override;
    STDMETHODIMP get_innerText(BSTR* p) override;
    STDMETHODIMP get_lang(BSTR* p) override;
    // IHTMLElement2: the contained elements of that tag ("*": all), in document order
    STDMETHODIMP getElementsByTagName(BSTR name, IHTMLElementCollection** p) override;
    // Link, anchor, area, base, meta, img
    STDMETHODIMP get_href(BSTR* p) override;
    STDMETHODIMP get_rel(BSTR* p) override;
    STDMETHODIMP get_rev(BSTR* p) override;
    STDMETHODIMP get_type(BSTR* p) override;
    STDMETHODIMP get_media(BSTR* p) override;
    STDMETHODIMP get_target(BSTR* p) override;
    STDMETHODIMP get_name(BSTR* p) override;
    STDMETHODIMP get_alt(BSTR* p) override;
    STDMETHODIMP get_httpEquiv(BSTR* p) override;
    STDMETHODIMP get_content(BSTR* p) override;
    STDMETHODIMP get_charset(BSTR* p) override;

private:
    ~ElementDouble() override = default;
    HRESULT attributeText(const char* method, const wchar_t* name, BSTR* out) const;

    std::wstring tag_;
    DocumentDouble* document_ = nullptr;  // not counted: the document holds its elements
    std::map<std::wstring, Variant> attributes_;  // key: lower-case name
    OptText innerText_;
    std::vector<ComPtr<ElementDouble>> contained_;
    ComPtr<StyleDouble> style_;
    std::vector<AttributeCall> attributeCalls_;
};

// An element's inline style. An empty cssText reads as a null string, as the browser gives it.
class StyleDouble final : public DispatchDouble<IHTMLStyleStub> {
public:
    StyleDouble() = default;
    const std::wstring& cssText() const noexcept { return cssText_; }
    void setCssText(const std::wstring& text) { cssText_ = text; }
    int cssTextWrites() const noexcept { return writes_; }

    STDMETHODIMP get_cssText(BSTR* p) override;
    STDMETHODIMP put_cssText(BSTR v) override;  // a null string clears

private:
    ~StyleDouble() override = default;
    std::wstring cssText_;
    int writes_ = 0;
};

// A list of elements: the document's all collection, tags(name) of a collection, or
// getElementsByTagName. item(name, index): name VT_I4 (or any number) → that position, null
// beyond the end; name a string → element(s) whose id or name equals it (index VT_I4 picks one).
class ElementCollectionDouble final : public DispatchDouble<IHTMLElementCollectionStub> {
public:
    using Hook = std::function<void(ElementCollectionDouble&)>;
    ElementCollectionDouble(std::string name, std::vector<ComPtr<ElementDouble>> elements, Hook hook);

    // "all", "tags(a)", "getElementsByTagName(base)", "item(name)"
    const std::string& name() const noexcept { return name_; }
    const std::vector<ComPtr<ElementDouble>>& elements() const noexcept { return elements_; }

    STDMETHODIMP get_length(LONG* p) override;
    STDMETHODIMP item(VARIANT name, VARIANT index, IDispatch** pdisp) override;
    STDMETHODIMP tags(VARIANT tagName, IDispatch** pdisp) override;

    // A new collection of the given elements, passed through hook first; owned by the caller.
    static ElementCollectionDouble* create(std::string name, std::vector<ComPtr<ElementDouble>> elements,
                                           const Hook& hook);

private:
    ~ElementCollectionDouble() override = default;
    std::string name_;
    std::vector<ComPtr<ElementDouble>> elements_;
    Hook hook_;
};

// One style sheet of a document.
class StyleSheetDouble final : public DispatchDouble<IHTMLStyleSheetStub> {
public:
    StyleSheetDouble(OptText title, OptText href, bool disabled, bool created = false);

    const OptText& title() const noexcept { return title_; }
    const OptText& href() const noexcept { return href_; }
    bool disabled() const noexcept { return disabled_; }
    void setDisabled(bool disabled) noexcept { disabled_ = disabled; }
    void setTitle(OptText title) { title_ = std::move(title); }
    // Made by the library with createStyleSheet (not part of the page as built).
    bool created() const noexcept { return created_; }
    // URLs passed to addImport, in call order.
    const std::vector<std::wstring>& imports() const noexcept { return imports_; }
    int disabledWrites() const noexcept { return disabledWrites_; }

    STDMETHODIMP put_title(BSTR v) override;
    STDMETHODIMP get_title(BSTR* p) override;
    STDMETHODIMP get_href(BSTR* p) override;
    STDMETHODIMP get_type(BSTR* p) override;
    STDMETHODIMP put_disabled(VARIANT_BOOL v) override;
    STDMETHODIMP get_disabled(VARIANT_BOOL* p) override;
    STDMETHODIMP get_readOnly(VARIANT_BOOL* p) override;
    STDMETHODIMP addImport(BSTR url, LONG index, LONG* newIndex) override;
    STDMETHODIMP removeImport(LONG index) override;

private:
    ~StyleSheetDouble() override = default;
    OptText title_, href_;
    bool disabled_;
    bool created_;
    int disabledWrites_ = 0;
    std::vector<std::wstring> imports_;
};

// document.styleSheets. item takes the index as a VT_I4 (or any number) variant and gives a
// VT_DISPATCH of the sheet; an index beyond the end is E_INVALIDARG.
class StyleSheetsCollectionDouble final : public DispatchDouble<IHTMLStyleSheetsCollectionStub> {
public:
    explicit StyleSheetsCollectionDouble(std::vector<ComPtr<StyleSheetDouble>> sheets);

    STDMETHODIMP get_length(LONG* p) override;
    STDMETHODIMP item(VARIANT* index, VARIANT* result) override;

private:
    ~StyleSheetsCollectionDouble() override = default;
    std::vector<ComPtr<StyleSheetDouble>> sheets_;
};

// document.frames: item(VT_I4 index or the frame's name) gives a VT_DISPATCH of the frame's window.
class FramesCollectionDouble final : public DispatchDouble<IHTMLFramesCollection2Stub> {
public:
    explicit FramesCollectionDouble(std::vector<ComPtr<WindowDouble>> frames);

    STDMETHODIMP item(VARIANT* index, VARIANT* result) override;
    STDMETHODIMP get_length(LONG* p) override;

private:
    ~FramesCollectionDouble() override = default;
    std::vector<ComPtr<WindowDouble>> frames_;
};

class DocumentDouble;

// The window of a frame. A frame of another site refuses its document and location with
// E_ACCESSDENIED, as the browser's cross-site rule does.
class WindowDouble final : public DispatchDouble<IHTMLWindow2Stub> {
public:
    WindowDouble(DocumentDouble* document, std::wstring name, bool accessDenied);

    DocumentDouble* document() const noexcept { return document_.get(); }
    const std::wstring& name() const noexcept { return name_; }
    bool accessDenied() const noexcept { return denied_; }

    STDMETHODIMP item(VARIANT* index, VARIANT* result) override;
    STDMETHODIMP get_length(LONG* p) override;
    STDMETHODIMP get_name(BSTR* p) override;
    STDMETHODIMP get_document(IHTMLDocument2** p) override;
    STDMETHODIMP get_location(IHTMLLocation** p) override;
    STDMETHODIMP get_frames(IHTMLFramesCollection2** p) override;

private:
    ~WindowDouble() override;
    ComPtr<DocumentDouble> document_;
    std::wstring name_;
    bool denied_;
};

// document.location. Setting href (or assign/replace) records the address instead of going there.
class LocationDouble final : public DispatchDouble<IHTMLLocationStub> {
public:
    explicit LocationDouble(std::wstring href) : href_(std::move(href)) {}

    const std::wstring& href() const noexcept { return href_; }
    void setHref(std::wstring href) { href_ = std::move(href); }
    // Every address the library navigated to, in order ("" for a null string).
    const std::vector<std::wstring>& navigations() const noexcept { return navigations_; }
    // Called after each recorded navigation (the demo host follows it).
    std::function<void(const std::wstring&)> onNavigate;

    STDMETHODIMP put_href(BSTR v) override;
    STDMETHODIMP get_href(BSTR* p) override;
    STDMETHODIMP assign(BSTR url) override;
    STDMETHODIMP replace(BSTR url) override;
    STDMETHODIMP toString(BSTR* p) override;

private:
    ~LocationDouble() override = default;
    HRESULT record(const char* method, BSTR url);
    std::wstring href_;
    std::vector<std::wstring> navigations_;
};

// A document: elements in document order (its all collection), style sheets, frames, location.
class DocumentDouble final : public DispatchDouble<IHTMLDocument2Stub, IHTMLDocument3Stub> {
public:
    explicit DocumentDouble(std::wstring url = L"http://example.test/index.html");

    // Building. The returned objects live as long as the document.
    ElementDouble& add(const std::wstring& tag);
    StyleSheetDouble& addSheet(OptText title, OptText href = std::wstring(), bool disabled = false);
    // A frame showing document (a reference is taken); accessDenied for a frame of another site.
    WindowDouble& addFrame(DocumentDouble* document, std::wstring name = L"", bool accessDenied = false);
    void setTitle(std::wstring title) { title_ = std::move(title); }
    void setUrl(std::wstring url);

    // Inspection.
    const std::wstring& url() const noexcept { return url_; }
    const std::wstring& title() const noexcept { return title_; }
    const std::vector<ComPtr<ElementDouble>>& elements() const noexcept { return elements_; }
    std::vector<ElementDouble*> elementsByTag(const std::wstring& tag) const;
    // href resolved as the browser resolves the hrefs of links, anchors and areas: against the
    // first base element's href, else the address. As written when it cannot be combined.
    std::wstring resolve(const std::wstring& href) const;
    // Every sheet in collection order, those the library created (created()) included.
    const std::vector<ComPtr<StyleSheetDouble>>& sheets() const noexcept { return sheets_; }
    std::vector<StyleSheetDouble*> createdSheets() const;
    const std::vector<ComPtr<WindowDouble>>& frames() const noexcept { return frames_; }
    LocationDouble* location() const noexcept { return location_.get(); }
    // Arguments of every createStyleSheet call: href ("" for null) and index.
    struct CreateCall {
        std::wstring href;
        LONG index;
    };
    const std::vector<CreateCall>& createCalls() const noexcept { return createCalls_; }

    // Sees each element collection this document or its collections hand out, before the library.
    ElementCollectionDouble::Hook onCollection;
    // Sees each sheet createStyleSheet makes, before the library, e.g. to make one of its methods fail.
    std::function<void(StyleSheetDouble&)> onCreateSheet;

    // IHTMLDocument2
    STDMETHODIMP get_all(IHTMLElementCollection** p) override;
    STDMETHODIMP get_title(BSTR* p) override;
    STDMETHODIMP put_title(BSTR v) override;
    STDMETHODIMP get_readyState(BSTR* p) override;
    STDMETHODIMP get_frames(IHTMLFramesCollection2** p) override;
    STDMETHODIMP get_styleSheets(IHTMLStyleSheetsCollection** p) override;
    STDMETHODIMP get_location(IHTMLLocation** p) override;
    STDMETHODIMP get_URL(BSTR* p) override;
    STDMETHODIMP createStyleSheet(BSTR href, LONG index, IHTMLStyleSheet** sheet) override;
    // IHTMLDocument3
    STDMETHODIMP getElementsByTagName(BSTR name, IHTMLElementCollection** p) override;
    STDMETHODIMP getElementById(BSTR id, IHTMLElement** p) override;

private:
    ~DocumentDouble() override;

    std::wstring url_;
    std::wstring title_;
    std::vector<ComPtr<ElementDouble>> elements_;
    std::vector<ElementDouble*> bases_;  // the base elements of elements_, in order
    std::vector<ComPtr<StyleSheetDouble>> sheets_;
    std::vector<ComPtr<WindowDouble>> frames_;
    ComPtr<LocationDouble> location_;
    std::vector<CreateCall> createCalls_;
};

}  // namespace quorin::test
