#pragma once
// Base of every COM test double: a QueryInterface table over the listed interfaces, interlocked
// reference counts the tests can read, a process-wide count of live doubles, interfaces that can
// be refused, and methods that can be made to fail.

#include <windows.h>
#include <objbase.h>

#include <map>
#include <set>
#include <string>
#include <type_traits>

namespace quorin::test {

class DoubleBase {
public:
    // Doubles alive in this process; a test that gave back every reference ends where it began.
    static LONG liveDoubles() noexcept { return live_; }

    LONG refCount() const noexcept { return refs_; }

    // QueryInterface for riid fails from now on.
    void refuseInterface(REFIID riid) { refused_.insert(riid); }
    // The named method returns hr from now on (S_OK clears it).
    void failMethod(const std::string& method, HRESULT hr) {
        if (hr == S_OK)
            failures_.erase(method);
        else
            failures_[method] = hr;
    }
    HRESULT injected(const char* method) const {
        auto it = failures_.find(method);
        return it == failures_.end() ? S_OK : it->second;
    }
    HRESULT injected(const std::string& method) const { return injected(method.c_str()); }
    // The named getter succeeds but hands out null (no object, null string) from now on.
    void nullMethod(const std::string& method, bool on = true) { toggle(nulls_, method, on); }
    // The named getter succeeds with an empty result (empty string, empty collection, 0).
    void emptyMethod(const std::string& method, bool on = true) { toggle(empties_, method, on); }
    bool nulled(const std::string& method) const { return nulls_.count(method) != 0; }
    bool emptied(const std::string& method) const { return empties_.count(method) != 0; }
    // Whether anything was injected at all: the getters skip the look-ups otherwise, so that big
    // pages measure the library rather than the doubles.
    bool injecting() const noexcept { return !failures_.empty() || !nulls_.empty() || !empties_.empty(); }

protected:
    DoubleBase() noexcept { InterlockedIncrement(&live_); }
    virtual ~DoubleBase() { InterlockedDecrement(&live_); }
    DoubleBase(const DoubleBase&) = delete;
    DoubleBase& operator=(const DoubleBase&) = delete;

    ULONG addRef() noexcept { return InterlockedIncrement(&refs_); }
    ULONG release() noexcept {
        const LONG count = InterlockedDecrement(&refs_);
        if (count == 0) delete this;
        return count;
    }
    bool refused(REFIID riid) const { return refused_.count(riid) != 0; }

private:
    static void toggle(std::set<std::string>& set, const std::string& method, bool on) {
        if (on)
            set.insert(method);
        else
            set.erase(method);
    }
    struct IidLess {
        bool operator()(const IID& a, const IID& b) const { return memcmp(&a, &b, sizeof a) < 0; }
    };
    static inline volatile LONG live_ = 0;
    volatile LONG refs_ = 1;
    std::set<IID, IidLess> refused_;
    std::map<std::string, HRESULT> failures_;
    std::set<std::string> nulls_, empties_;
};

// The interface a listed base stands for: itself, or the Interface it names (generated stubs).
template <class I, class = void>
struct InterfaceOf {
    using type = I;
};
template <class I>
struct InterfaceOf<I, std::void_t<typename I::Interface>> {
    using type = typename I::Interface;
};

// A double implementing Primary and Others. IUnknown is served by Primary. Interfaces that the
// listed ones derive from (IDispatch, IOleWindow, ...) are handed out through baseInterface.
template <class Primary, class... Others>
class ComDouble : public DoubleBase, public Primary, public Others... {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (refused(riid)) return E_NOINTERFACE;
        if (riid == IID_IUnknown)
            *out = static_cast<IUnknown*>(static_cast<Primary*>(this));
        else if (!(*out = find<Primary, Others...>(riid)))
            *out = baseInterface(riid);
        if (!*out) return E_NOINTERFACE;
        addRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return addRef(); }
    STDMETHODIMP_(ULONG) Release() override { return release(); }

    IUnknown* unknown() noexcept { return static_cast<IUnknown*>(static_cast<Primary*>(this)); }

protected:
    virtual void* baseInterface(REFIID) { return nullptr; }

private:
    template <class I, class... Rest>
    void* find(REFIID riid) {
        using Interface = typename InterfaceOf<I>::type;
        if (riid == __uuidof(Interface)) return static_cast<Interface*>(static_cast<I*>(this));
        if constexpr (sizeof...(Rest) > 0)
            return find<Rest...>(riid);
        else
            return nullptr;
    }
};

}  // namespace quorin::test
