#pragma once
// Base of every COM test double: a QueryInterface table over the listed interfaces, interlocked
// reference counts the tests can read, a process-wide count of live doubles, interfaces that can
// be refused, and methods that can be made to fail, one by one or process-wide by call number.

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace quorin::test {

// Process-wide numbering of the calls the doubles answer (methods that can fail and
// QueryInterface), and one numbered call given an injected outcome. A scenario is run once with
// count() to learn its calls, then once per call with inject(). Off unless started, so doubles on
// other threads pay one atomic load.
class CallFaults {
public:
    enum class Outcome {
        Fail,   // the call returns kFailure; QueryInterface refuses
        Null,   // a getter succeeds with a null object or string
        Empty,  // a getter succeeds with an empty string, an empty collection or 0
    };
    static constexpr HRESULT kFailure = E_FAIL;

    struct Call {
        std::string method;
        bool nullable = false, emptiable = false;  // whether the double looked for those outcomes
    };

    static void count() { begin(0, Outcome::Fail); }
    static void inject(long target, Outcome outcome) { begin(target, outcome); }
    // Stops numbering; the calls seen (with count()) stay readable.
    static void stop() { state().active = false; }
    static bool active() noexcept { return state().active.load(std::memory_order_relaxed); }
    static const std::vector<Call>& calls() { return state().calls; }
    static long callCount() { return state().number; }
    // Interface queries refused while counting (count()). They are calls into the page as well,
    // but take no number: failing a query that is refused anyway would test nothing.
    static long refusalCount() { return state().refusals; }
    // Whether the target call was reached and took the outcome.
    static bool hit() { return state().hit; }
    static const std::string& hitMethod() { return state().hitMethod; }

    // From the doubles. onCall numbers a call and gives the failure to return (S_OK for none).
    static HRESULT onCall(const char* method) {
        State& s = state();
        if (!s.active.load(std::memory_order_relaxed)) return S_OK;
        std::lock_guard<std::mutex> lock(s.mutex);
        const long number = ++s.number;
        s.current = number == s.target || s.target == 0 ? method : std::string();
        if (s.target == 0) s.calls.push_back({method});
        if (number != s.target || s.outcome != Outcome::Fail) return S_OK;
        note(s, method);
        return kFailure;
    }
    static void onRefusal() {
        State& s = state();
        if (!s.active.load(std::memory_order_relaxed)) return;
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.target == 0) ++s.refusals;
    }
    // Whether the call just numbered, of that method, is to hand out null or empty.
    static bool nullNow(const std::string& method) { return looked(method, Outcome::Null); }
    static bool emptyNow(const std::string& method) { return looked(method, Outcome::Empty); }

private:
    struct State {
        std::atomic<bool> active{false};
        std::mutex mutex;
        long number = 0, target = 0, refusals = 0;
        Outcome outcome = Outcome::Fail;
        std::string current;  // method of the counted call or of the target call, while it runs
        std::vector<Call> calls;
        bool hit = false;
        std::string hitMethod;
    };
    static State& state() {
        static State s;
        return s;
    }
    static void begin(long target, Outcome outcome) {
        State& s = state();
        std::lock_guard<std::mutex> lock(s.mutex);
        s.number = 0;
        s.refusals = 0;
        s.target = target;
        s.outcome = outcome;
        s.current.clear();
        if (target == 0) s.calls.clear();
        s.hit = false;
        s.hitMethod.clear();
        s.active = true;
    }
    static void note(State& s, const std::string& method) {
        s.hit = true;
        s.hitMethod = method;
    }
    static bool looked(const std::string& method, Outcome outcome) {
        State& s = state();
        if (!s.active.load(std::memory_order_relaxed)) return false;
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.current.empty() || s.current != method) return false;
        if (s.target == 0) {
            Call& call = s.calls.back();
            (outcome == Outcome::Null ? call.nullable : call.emptiable) = true;
            return false;
        }
        if (s.number != s.target || s.outcome != outcome) return false;
        note(s, method);
        return true;
    }
};

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
    // Numbers the call (CallFaults), then looks up the failure set for method.
    HRESULT injected(const char* method) const {
        if (HRESULT hr = CallFaults::onCall(method); FAILED(hr)) return hr;
        return configured(method);
    }
    // The failure set for method, without numbering a call.
    HRESULT configured(const std::string& method) const {
        auto it = failures_.find(method);
        return it == failures_.end() ? S_OK : it->second;
    }
    // The named getter succeeds but hands out null (no object, null string) from now on.
    void nullMethod(const std::string& method, bool on = true) { toggle(nulls_, method, on); }
    // The named getter succeeds with an empty result (empty string, empty collection, 0).
    void emptyMethod(const std::string& method, bool on = true) { toggle(empties_, method, on); }
    bool nulled(const std::string& method) const { return nulls_.count(method) != 0 || CallFaults::nullNow(method); }
    bool emptied(const std::string& method) const {
        return empties_.count(method) != 0 || CallFaults::emptyNow(method);
    }
    // Whether anything is injected or numbered at all: the getters skip the look-ups otherwise, so
    // that big pages measure the library rather than the doubles.
    bool injecting() const noexcept {
        return CallFaults::active() || !failures_.empty() || !nulls_.empty() || !empties_.empty();
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
        if (refused(riid)) {
            CallFaults::onRefusal();
            return E_NOINTERFACE;
        }
        if (FAILED(CallFaults::onCall("QueryInterface"))) return E_NOINTERFACE;
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
