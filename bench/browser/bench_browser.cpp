// The built library in browser windows of the doubles: loading band and helper into a window
// against a floor program that makes the same windows and reads the same registry values with
// bare calls, the keyboard hook per message against an empty hook, each pair taken in turns; and,
// as information, the absolute times of a navigation, of a page built to hurt and of a store far
// beyond any user's. Prints one line per measurement and the targets; the exit code is always 0.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "browser/custom_messages.h"
#include "common/com_ptr.h"
#include "settings/settings_store.h"
#include "shared/class_ids.h"
#include "support/browser_double.h"
#include "support/library.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"
#include "bench_window.h"
#include "floor_band.h"
#include "timing.h"

using namespace quorin;
using namespace quorin::test;
using namespace quorin::bench;

namespace {

constexpr int kRepeats = 41;
constexpr int kLoadTurns = 41;
constexpr double kMaxLoadOverFloor = 1.5;
// Many short batches: the hook's share is a few per cent of a message's cost here, and the
// neighbours' bursts must fall on both hooks alike.
constexpr int kMessages = 500;
constexpr int kHookTurns = 101;
constexpr double kMaxHookOverEmpty = 1.05;
constexpr int kHugeStoreEntries = 100000;

// The most a user is likely to configure: 100 added sheets, 100 preferred entries, 50 link types.
void writeFullStore() {
    SettingsStore store;
    store.loadAll();
    for (int i = 0; i < 100; ++i) {
        const std::wstring n = std::to_wstring(i);
        store.AddSheet.push_back({(L"Added " + n).c_str(), (L"C:\\styles\\sheet" + n + L".css").c_str()});
        store.Prefer.push_back({(L"Title " + n).c_str(), (L"http://site" + n + L".test/docs/").c_str()});
    }
    store.LinkType.resize(50);
    for (int i = 0; i < 50; ++i) {
        store.LinkType[i].Title = (L"Type " + std::to_wstring(i)).c_str();
        store.LinkType[i].Attr = (L"rel" + std::to_wstring(i)).c_str();
        store.LinkType[i].Shortcut = static_cast<WORD>(0x0300 + 'A' + i % 26);
    }
    store.saveAll();
}

// A hand-edited store far beyond any user's: 100,000 added sheets.
void writeHugeStore() {
    SettingsStore store;
    store.loadAll();
    store.AddSheet.resize(kHugeStoreEntries);
    for (int i = 0; i < kHugeStoreEntries; ++i) {
        const std::wstring n = std::to_wstring(i);
        store.AddSheet[i] = {(L"Added " + n).c_str(), (L"s" + n + L".css").c_str()};
    }
    store.saveAll();
}

// Band and helper load over the huge store, then one navigation that adds every sheet; one run each.
void hugeStore(const Library& library) {
    writeHugeStore();
    BrowserFrame frame;
    PageBuilder page(L"http://bench.test/huge.html");
    page.skeleton().filler(20).sheet(L"Blue", L"blue.css");
    double start = nowMs();
    BenchWindow window(library, frame, page.document());
    const double load = nowMs() - start;
    start = nowMs();
    window.browser().playPageLoad();
    pump();
    const double navigation = nowMs() - start;
    std::printf("%-52s %8.0f ms\n", "band and helper load, 100,000 added sheets", load);
    std::printf("%-52s %8.0f ms\n", "  then one navigation adding all of them", navigation);
    SettingsStore store;
    store.loadAll();
    store.AddSheet.front().Title = L"Changed";
    start = nowMs();
    store.saveAll();
    const double save = nowMs() - start;
    std::printf("%-52s %8.0f ms\n", "saving the 100,000 added sheets over themselves", save);
    deleteRootKey();
}

// A page built to hurt: 100,000 anchors, 10,000 sheets, a 10 KB address (the page's own and that
// of every hundredth anchor: all of them would be 2 GB, more than a 32-bit browser has), titles of
// ampersands and tabs, one frame that refuses its document and one whose window fails to give it.
void hostilePage(const Library& library) {
    const std::wstring address = L"http://bench.test/" + std::wstring(10 * 1024, L'a') + L".html";
    PageBuilder page(address, std::wstring(200, L'&') + L"\t\t");
    page.skeleton();
    for (int i = 0; i < 10000; ++i) page.sheet(std::wstring(40, i % 2 ? L'&' : L'\t') + std::to_wstring(i % 100));
    for (int i = 0; i < 100000; ++i)
        page.anchor((i % 100 ? L"page.html" : address) + L"#" + std::to_wstring(i), std::wstring(30, L'&'),
                    i % 10 ? std::nullopt : OptText(L"next"));
    page.deniedFrame(L"http://other.test/");
    page.frame(L"http://bench.test/frame.html").skeleton().filler(2);
    page.doc().frames().back()->failMethod("get_document", E_FAIL);
    BrowserFrame frame;
    BenchWindow window(library, frame, page.document());
    double start = nowMs();
    window.browser().playPageLoad();
    pump();
    const double navigation = nowMs() - start;
    start = nowMs();
    typeControl(frame.documentWindow(), 'Z');
    typeControl(frame.documentWindow(), 'Z');
    const double sheets = nowMs() - start;
    start = nowMs();
    typeControl(frame.documentWindow(), 'U');
    const double cruise = nowMs() - start;
    std::printf("%-52s %8.0f ms\n", "hostile page: one navigation", navigation);
    std::printf("%-52s %8.0f ms\n", "  stylesheets off and on by the shortcut", sheets);
    std::printf("%-52s %8.0f ms\n", "  manual cruise by the shortcut", cruise);
}

// Band and helper loaded into the window, against the floor program, in turns.
Paired loadAgainstFloor(const Library& library, BrowserFrame& frame, DocumentDouble* document) {
    std::unique_ptr<BenchWindow> window;
    std::unique_ptr<FloorBand> floor;
    const auto clear = [&] {
        window.reset();
        floor.reset();
        pump();
    };
    return measurePaired(
        kLoadTurns,
        [&] { return timed(clear, [&] { floor = std::make_unique<FloorBand>(library.handle(), frame.rebar()); }); },
        [&] { return timed(clear, [&] { window = std::make_unique<BenchWindow>(library, frame, document); }); });
}

LRESULT CALLBACK emptyHook(int code, WPARAM wParam, LPARAM lParam) { return CallNextHookEx(nullptr, code, wParam, lParam); }

// Milliseconds of posting a batch to window and dispatching it.
double batchMs(HWND window) {
    const double start = nowMs();
    for (int i = 0; i < kMessages; ++i) PostMessageW(window, WM_APP, 0, 0);
    pump();
    return nowMs() - start;
}

// The message loop with an empty hook and with the library's, in turns.
Paired hookAgainstEmpty(HWND target, HWND band) {
    return measurePaired(
        kHookTurns,
        [&] {
            HookHandle empty(SetWindowsHookExW(WH_GETMESSAGE, emptyHook, nullptr, GetCurrentThreadId()));
            return batchMs(target);
        },
        [&] {
            SendMessageW(band, UM_TOP_NAVIGATE_COMPLETE, 0, 0);
            const double ms = batchMs(target);
            SendMessageW(band, UM_BROWSER_QUIT, 0, 0);
            return ms;
        });
}

Timing perMessage(const Timing& batch) { return {batch.best * 1e6 / kMessages, batch.median * 1e6 / kMessages}; }

}  // namespace

int main() {
    if (FAILED(OleInitialize(nullptr))) return 0;
    {
        // The doubles' record of attribute calls would grow with every run.
        ElementDouble::recordAttributeCalls(false);
        RegistrySandbox sandbox;
        Library library;
        BrowserFrame frame;
        PageBuilder page(L"http://bench.test/index.html");
        page.skeleton().filler(20);
        for (int i = 0; i < 100; ++i) page.sheet(L"Sheet " + std::to_wstring(i / 2), L"s" + std::to_wstring(i) + L".css", i % 2);

        std::printf("Band and helper load into a browser window, in turns with the floor program: the same windows, "
                    "registry values and rebar band with bare calls (%d turns; best and median)\n",
                    kLoadTurns);
        const Paired defaults = loadAgainstFloor(library, frame, page.document());
        printPaired("floor program, default settings", "band and helper, default settings", defaults);
        writeFullStore();
        const Paired full = loadAgainstFloor(library, frame, page.document());
        printPaired("floor program, full settings", "band and helper, full settings", full);

        // Default settings again: the added sheets would pile up in the one document the doubles
        // reload, where a browser shows a fresh document each time.
        deleteRootKey();
        BenchWindow window(library, frame, page.document());
        const Timing routing = measure(kRepeats, [&] { window.browser().playPageLoad(); });
        auto alone = ComPtr<BrowserDouble>::adopt(new BrowserDouble(page.document(), &frame));
        const Timing floor = measure(kRepeats, [&] { alone->playPageLoad(); });
        std::printf("one top-level navigation, 100 sheets (best and median of %d)\n", kRepeats);
        std::printf("  %-52s %10.3f %10.3f ms\n", "the doubles alone", floor.best, floor.median);
        std::printf("  %-52s %10.3f %10.3f ms\n", "with the library", routing.best, routing.median);

        HWND band = window.band();
        SendMessageW(band, UM_BROWSER_QUIT, 0, 0);
        const Timing without = perMessage(measure(kHookTurns, [&] { batchMs(frame.statusBar()); }));
        const Paired hook = hookAgainstEmpty(frame.statusBar(), band);
        std::printf("message loop per message not for the page, batches of %d in turns (%d turns; best and median)\n",
                    kMessages, kHookTurns);
        std::printf("  %-52s %10.0f %10.0f ns\n", "without a hook", without.best, without.median);
        const Paired perMessages{perMessage(hook.first), perMessage(hook.second), hook.turnRatio};
        printPaired("with an empty hook", "with the library's hook", perMessages, "ns");
        hostilePage(library);
        hugeStore(library);
        std::printf("target: band and helper load with full settings in at most %.1fx the time of the floor program "
                    "(in turns): %s (%.2fx)\n",
                    kMaxLoadOverFloor, verdict(full.turnRatio > 0 && full.turnRatio <= kMaxLoadOverFloor),
                    full.turnRatio);
        std::printf("target: hook per message in at most %.2fx the time of an empty hook (in turns): %s (%.2fx)\n",
                    kMaxHookOverEmpty, verdict(hook.turnRatio > 0 && hook.turnRatio <= kMaxHookOverEmpty),
                    hook.turnRatio);
    }
    OleUninitialize();
    return 0;
}
