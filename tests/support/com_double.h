#pragma once
// Base of every COM test double: a QueryInterface table over the listed interfaces, interlocked
// reference counts the tests can read, a process-wide count of live doubles, interfaces that can
// be refused, and methods that can be made to fail.

#include <windows.h>
#include <objbase.h>

#include <map>
#include <set>
#include <string>

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
    struct IidLess {
        bool operator()(const IID& a, const IID& b) const { return memcmp(&a, &b, sizeof a) < 0; }
    };
    static inline volatile LONG live_ = 0;
    volatile LONG refs_ = 1;
    std::set<IID, IidLess> refused_;
    std::map<std::string, HRESULT> failures_;
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
            *out = static_cast<Primary*>(this);
        else if (!(*out = find<Primary, Others...>(riid)))
            *out = baseInterface(riid);
        if (!*out) return E_NOINTERFACE;
        addRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return addRef(); }
    STDMETHODIMP_(ULONG) Release() override { return release(); }

    IUnknown* unknown() noexcept { return static_cast<Primary*>(this); }

protected:
    virtual void* baseInterface(REFIID) { return nullptr; }

private:
    template <class I, class... Rest>
    void* find(REFIID riid) {
        if (riid == __uuidof(I)) return static_cast<I*>(this);
        if constexpr (sizeof...(Rest) > 0)
            return find<Rest...>(riid);
        else
            return nullptr;
    }
};

}  // namespace quorin::test
