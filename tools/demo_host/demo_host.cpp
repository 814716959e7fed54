// Plays the browser for one window around the real library: the frame window, the browser object
// and its pages come from the test doubles; the band and the helper are the library's own objects,
// created through COM as the browser creates them.
//
// usage: demo_host PAGES [--direct] [--seconds N] [--walk N] [--signal FOLDER]
//   PAGES      a .page file or a folder of them (the start page is index.page when present)
//   --direct   create the objects through the library's DllGetClassObject beside this program
//              instead of CoCreateInstance (for a library that is not registered)
//   --seconds  closes the window after N seconds whatever happens (default 60)
//   --walk     after the first page (shown, then with the style button's tooltip, then after
//              Control+Z typed into it), follows the page's rel=next link N times (default 3),
//              setting location.href as the link menu does; the host follows every address the
//              library sets
//   --signal   for each view writes FOLDER\NN-name.ready and waits (up to 15 s) for NN-name.done,
//              so that a script can take a screenshot
// On the first page the style menu is opened and a title chosen. After the walk the link menu is
// opened and shown with a link type's submenu (following one of its links first when the page
// offers no such type); then both settings sheets are opened from their menus' settings items and
// each tab and each entry dialog is shown once. Last, the two link types matched by words are added
// through the link sheet (words_rows.h) and the link menu is shown on the bundled forum page, which
// has no rel links. The library's settings live in a private registry key filled with demo entries.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "common/module.h"
#include "common/resources.h"
#include "common/shared_string.h"
#include "settings/settings_store.h"
#include "settings_ui_resource.h"
#include "shared/class_ids.h"
#include "support/browser_double.h"
#include "support/dialog_driver.h"
#include "support/library.h"
#include "support/page_file.h"
#include "support/menu_driver.h"
#include "support/registry_sandbox.h"
#include "words_rows.h"

using namespace quorin;
using namespace quorin::test;

namespace {

constexpr UINT WM_FOLLOW = WM_APP + 1;  // thread message: lParam a new std::wstring address

struct Options {
    std::wstring pages;
    bool direct = false;
    DWORD seconds = 60;
    int walk = 3;
    std::wstring signal;
};

std::wstring lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// Addresses of bundled pages are compared without fragment and letter case.
std::wstring pageKey(const std::wstring& url) { return lower(url.substr(0, url.find(L'#'))); }

void say(const std::wstring& text) { std::printf("demo_host: %s\n", toUtf8(text).c_str()); std::fflush(stdout); }

std::wstring hr(HRESULT result) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(result));
    return result == S_OK ? L"S_OK" : text;
}

class Host {
public:
    explicit Host(Options options) : options_(std::move(options)), deadline_(GetTickCount() + options_.seconds * 1000) {}

    int run();

private:
    bool loadBundle();
    bool show(const std::wstring& file);
    void follow(const std::wstring& url);
    void walkNext();
    // Rests the mouse on the style button until its tooltip shows.
    void hoverStyleButton();
    // Control+Z typed into the page, as the keyboard delivers it.
    void typeControlZ();
    HWND toolbar() const;
    void paint(HDC dc, const RECT& area);
    void status(const std::wstring& text);
    // Pumps messages for ms milliseconds (or until the deadline); false once the deadline passed.
    bool pump(DWORD ms);
    void signalView(const std::wstring& name);
    // The same from inside a modal loop, which wait keeps running; wait returns false to give up.
    void signalView(const std::wstring& name, const std::function<bool(DWORD)>& wait);
    // The style menu opened over the page, then one of its titles chosen.
    void showStyleMenu();
    // The link menu, as the user opens it from the button's arrow.
    void showLinkMenu();
    // Opens the link menu; true when it showed a link type's submenu (views view and
    // view-submenu), else it followed a link.
    bool showLinkMenuOnce(const std::wstring& view = L"link-menu");
    void showSettings();
    // Adds the link types of words, then opens the link menu on the forum page.
    void showLinkWords();
    static void storeDemoSettings();
    // An entry dialog to show from a tab: the page's list, whose first row is chosen, and the button.
    struct EntryShot {
        int tab;
        int list;
        int button;
        std::wstring name;
    };
    // Opens the sheet from the settings item of the button's menu, as the user does.
    void showSheet(int button, UINT settingsItem, UINT captionId, const std::wstring& prefix,
                   const std::vector<std::wstring>& tabs, const std::vector<EntryShot>& entries);
    bool expired() const { return static_cast<LONG>(GetTickCount() - deadline_) >= 0; }
    HRESULT create(REFCLSID clsid, REFIID riid, void** out);

    Options options_;
    DWORD deadline_;
    RegistrySandbox sandbox_;  // the demo's settings stay out of the prefix's
    std::map<std::wstring, std::wstring> files_;  // page key → file
    std::wstring startFile_;
    std::unique_ptr<Library> library_;
    std::unique_ptr<BrowserFrame> frame_;
    ComPtr<BrowserDouble> browser_;
    std::unique_ptr<PageBuilder> page_;
    std::vector<std::unique_ptr<PageBuilder>> shownPages_;  // kept until the browser is gone
    std::wstring note_;
    int views_ = 0;
};

HRESULT Host::create(REFCLSID clsid, REFIID riid, void** out) {
    if (options_.direct) return library_->create(clsid, riid, out);
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, riid, out);
}

bool Host::loadBundle() {
    std::vector<std::wstring> files;
    if (GetFileAttributesW(options_.pages.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((options_.pages + L"\\*.page").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do files.push_back(options_.pages + L"\\" + found.cFileName);
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        std::sort(files.begin(), files.end());
    } else {
        files.push_back(options_.pages);
    }
    for (const auto& file : files) {
        std::string error;
        auto page = loadPageFile(file, &error);
        if (!page) {
            say(L"skipping " + file + L": " + fromUtf8(error));
            continue;
        }
        files_[pageKey(page->doc().url())] = file;
        if (startFile_.empty() || lstrcmpiW(PathFindFileNameW(file.c_str()), L"index.page") == 0) startFile_ = file;
    }
    say(std::to_wstring(files_.size()) + L" pages from " + options_.pages);
    return !files_.empty();
}

void Host::status(const std::wstring& text) {
    SendMessageW(frame_->statusBar(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool Host::show(const std::wstring& file) {
    std::string error;
    auto page = loadPageFile(file, &error);
    if (!page) {
        status(L"cannot load " + file);
        return false;
    }
    page->doc().location()->onNavigate = [](const std::wstring& url) {
        PostThreadMessageW(GetCurrentThreadId(), WM_FOLLOW, 0, reinterpret_cast<LPARAM>(new std::wstring(url)));
    };
    page_ = std::move(page);
    browser_->setDocument(page_->document());
    SetWindowTextW(frame_->frame(), (L"Quorin demo host - " + page_->doc().title()).c_str());
    const bool loaded = browser_->playPageLoad();
    InvalidateRect(frame_->documentWindow(), nullptr, TRUE);
    say(L"showing " + page_->doc().url() + (loaded ? L"" : L" (navigation cancelled)"));
    status(page_->doc().url() + L"   " + note_);
    return true;
}

void Host::follow(const std::wstring& url) {
    auto it = files_.find(pageKey(url));
    if (it == files_.end()) {
        say(L"not in the bundle: " + url);
        status(L"not in the bundle: " + url);
        return;
    }
    // The previous page stays alive while the library may still hold its objects.
    shownPages_.push_back(std::move(page_));
    show(it->second);
    signalView(PathFindFileNameW(it->second.c_str()));
}

void Host::walkNext() {
    std::wstring next;
    for (ElementDouble* link : page_->doc().elementsByTag(L"link")) {
        const std::wstring rel = L" " + lower(link->attribute(L"rel").value_or(L"")) + L" ";
        if (rel.find(L" next ") != std::wstring::npos && link->attribute(L"href")) {
            next = *link->attribute(L"href");
            break;
        }
    }
    if (next.empty()) return;
    wchar_t combined[2085];
    DWORD size = 2085;
    if (FAILED(UrlCombineW(page_->doc().url().c_str(), next.c_str(), combined, &size, 0))) return;
    // What the link menu does when the user picks "next".
    ComPtr<IHTMLLocation> location;
    if (SUCCEEDED(page_->doc().get_location(location.put())) && location)
        location->put_href(SharedString(combined).bstr());
}

HWND Host::toolbar() const {
    if (browser_->bands().empty()) return nullptr;
    return FindWindowExW(browser_->bands()[0].window, nullptr, TOOLBARCLASSNAMEW, nullptr);
}

void Host::hoverStyleButton() {
    HWND bar = toolbar();
    RECT button{};
    if (!bar || !SendMessageW(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button))) return;
    POINT face{button.left + 8, (button.top + button.bottom) / 2};
    ClientToScreen(bar, &face);
    // The tooltip control wants a few moves over the tool before it times the hover.
    for (int step = 3; step >= 0; --step) {
        SetCursorPos(face.x + step, face.y);
        pump(60);
    }
    pump(1500);
    signalView(L"tooltip");
    RECT page{};
    GetWindowRect(frame_->documentWindow(), &page);
    SetCursorPos(page.right - 40, page.bottom - 40);
    pump(300);
}

void Host::typeControlZ() {
    HWND document = frame_->documentWindow();
    PostMessageW(document, WM_KEYDOWN, VK_CONTROL, 1);
    PostMessageW(document, WM_KEYDOWN, 'Z', 1);
    PostMessageW(document, WM_KEYUP, 'Z', 0xC0000001);
    PostMessageW(document, WM_KEYUP, VK_CONTROL, 0xC0000001);
    pump(100);
    InvalidateRect(document, nullptr, TRUE);
    status(L"Control+Z: " + page_->doc().url() + L"   " + note_);
    signalView(L"after-control-z");
}

bool Host::pump(DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    while (!expired()) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                deadline_ = GetTickCount();
                return false;
            }
            if (!msg.hwnd && msg.message == WM_FOLLOW) {
                std::unique_ptr<std::wstring> url(reinterpret_cast<std::wstring*>(msg.lParam));
                follow(*url);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const LONG left = static_cast<LONG>(until - GetTickCount());
        if (left <= 0) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<LONG>(left, 50), QS_ALLINPUT);
    }
    return false;
}

void Host::signalView(const std::wstring& name) {
    signalView(name, [this](DWORD ms) { return pump(ms); });
}

void Host::signalView(const std::wstring& name, const std::function<bool(DWORD)>& wait) {
    wait(300);  // let the windows paint
    wchar_t prefix[8];
    swprintf(prefix, 8, L"%02d-", ++views_);
    std::wstring base = prefix + name.substr(0, name.find(L'.'));
    if (options_.signal.empty()) return;
    const std::wstring ready = options_.signal + L"\\" + base + L".ready";
    const std::wstring done = options_.signal + L"\\" + base + L".done";
    HANDLE file = CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    for (int i = 0; i < 150 && GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        if (!wait(100)) break;
}

void Host::storeDemoSettings() {
    SettingsStore store;
    store.loadAll();
    AddSheetEntry dark, print;
    dark.Title = L"ダーク";
    dark.Path = L"C:\\styles\\dark.css";
    print.Title = L"印刷用";
    print.Path = L"http://demo.quorin.test/print.css";
    store.AddSheet = {dark, print};
    PreferEntry preferred;
    preferred.Title = L"Light";
    preferred.URI = L"http://demo.quorin.test/";
    store.Prefer = {preferred};
    store.saveAll();
}

void Host::showStyleMenu() {
    HWND bar = toolbar();
    if (!bar) return;
    // The sheets were turned off by Control+Z; the button face turns them on again.
    SendMessageW(GetParent(bar), WM_COMMAND, MAKEWPARAM(40001, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
    ModalScript script(60000);
    const bool ran = script.run([&] { clickDropDown(bar, 40001); }, [&](ModalScript& s) {
        HMENU menu = waitForPopup(s);
        if (!menu) return;
        for (const MenuItem& item : menuItems(menu)) {
            if (item.text != L"Dark") continue;
            signalView(L"style-menu", [&s](DWORD ms) {
                s.sleep(ms);
                return !s.timedOut();
            });
            chooseItem(s, menu, item.id);
            return;
        }
        closeMenus(s);
    });
    InvalidateRect(frame_->documentWindow(), nullptr, TRUE);
    status(L"Dark chosen from the style menu: " + page_->doc().url());
    say(std::wstring(L"style menu ") + (ran ? L"shown" : L"not shown in time"));
    signalView(L"after-style-menu");
}

void Host::showSheet(int button, UINT settingsItem, UINT captionId, const std::wstring& prefix,
                     const std::vector<std::wstring>& tabs, const std::vector<EntryShot>& entries) {
    HWND bar = toolbar();
    if (!bar) return;
    ModalScript script(120000);
    const std::wstring caption = loadString(captionId);
    const bool ran = script.run([&] { clickDropDown(bar, button); }, [&](ModalScript& s) {
        const auto wait = [&s](DWORD ms) {
            s.sleep(ms);
            return !s.timedOut();
        };
        HMENU menu = waitForPopup(s);
        if (!menu) return;
        chooseItem(s, menu, settingsItem);
        HWND window = s.waitForDialog(caption.c_str());
        if (!window) return;
        for (int tab = 0; tab < static_cast<int>(tabs.size()); ++tab) {
            HWND page = selectTab(window, tab);
            signalView(prefix + L"-settings-" + tabs[tab], wait);
            for (const EntryShot& entry : entries) {
                if (entry.tab != tab) continue;
                clickRow(GetDlgItem(page, entry.list), 0);
                if (!clickLater(page, entry.button)) continue;
                HWND dialog = s.waitForOtherDialog({window});
                if (!dialog) continue;
                signalView(prefix + L"-entry-" + entry.name, wait);
                click(dialog, IDCANCEL);
                s.waitUntilGone(dialog);
            }
        }
        click(window, IDCANCEL);
    });
    say(prefix + L" settings " + (ran ? L"shown" : L"not shown in time"));
}

void Host::showSettings() {
    HMODULE resources = options_.direct ? library_->handle() : GetModuleHandleW(L"QuorinU.dll");
    if (!resources || !page_) {
        say(L"settings: the library is not loaded");
        return;
    }
    setModuleHandle(resources);
    showSheet(40001, 40099, IDS_STYLE_SETTINGS_CAPTION, L"style", {L"addsheet", L"prefer", L"etc", L"about"},
              {{0, IDC_ADDSHEET_LIST, IDC_ADDSHEET_EDIT, L"addsheet"}, {1, IDC_PREFER_LIST, IDC_PREFER_ADD, L"prefer"}});
    showSheet(50001, 50099, IDS_LINK_SETTINGS_CAPTION, L"link", {L"linktype", L"cruise", L"etc"},
              {{0, IDC_LINKTYPE_LIST, IDC_LINKTYPE_EDIT, L"linktype"}, {1, IDC_CRUISE_LIST, IDC_CRUISE_ADD, L"cruise"}});
}

// ---- The link button's menu ----------------------------------------------------------------------

constexpr int kLinkButton = 50001;

bool isLinkTypeItem(const MenuItem& item) { return item.id >= 51001 && item.id <= 51999 && !item.separator(); }

void Host::showLinkMenu() {
    // The walk may end on a page without a link type of several links (a frameset): the menu
    // then first follows one of its links, as a user would, and is opened again there.
    for (int attempt = 0; attempt < 3 && !expired(); ++attempt) {
        if (showLinkMenuOnce()) return;
        pump(500);
    }
    say(L"link menu: no page with a link type submenu reached");
}

bool Host::showLinkMenuOnce(const std::wstring& view) {
    HWND bar = toolbar();
    if (!bar) return false;
    bool shown = false;
    ModalScript script(60000);
    script.run([&] { clickDropDown(bar, kLinkButton); }, [&](ModalScript& s) {
        const auto wait = [&s](DWORD ms) {
            s.sleep(ms);
            return !s.timedOut();
        };
        HMENU menu = waitForPopup(s);
        if (!menu) return;
        const std::vector<MenuItem> items = menuItems(menu);
        int holder = -1, inlineLink = -1;
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            if (!isLinkTypeItem(items[i]) || items[i].grayed()) continue;
            if (items[i].submenu && holder < 0) holder = i;
            if (!items[i].submenu && inlineLink < 0) inlineLink = i;
        }
        if (holder < 0) {
            if (inlineLink >= 0)
                chooseAt(s, menu, inlineLink);
            else
                closeMenus(s);
            return;
        }
        signalView(view, wait);
        // The submenu opens with its first entry highlighted: the status bar shows its address.
        if (openSubmenu(s, menu, holder)) signalView(view + L"-submenu", wait);
        shown = true;
        closeMenus(s);
    });
    pump(200);
    return shown;
}

void Host::showLinkWords() {
    const bool added = demo::addWordsRows(
        toolbar(), [this](const std::wstring& name, const std::function<bool(DWORD)>& wait) { signalView(name, wait); });
    say(std::wstring(L"link types of words ") + (added ? L"added" : L"not added"));
    if (!added) return;
    follow(L"http://demo.quorin.test/forum.html");
    pump(300);
    if (!showLinkMenuOnce(L"link-words-menu")) say(L"link menu of the forum page: no submenu to show");
}

void Host::paint(HDC dc, const RECT& area) {
    if (!page_) return;
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW bold{};
    GetObjectW(font, sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    bold.lfHeight = bold.lfHeight * 3 / 2;
    HFONT heading = CreateFontIndirectW(&bold);
    HGDIOBJ old = SelectObject(dc, heading);
    SetBkMode(dc, TRANSPARENT);
    int y = area.top + 8;
    auto line = [&](const std::wstring& text, int indent = 0, COLORREF colour = RGB(0, 0, 0)) {
        if (y > area.bottom) return;
        SetTextColor(dc, colour);
        TextOutW(dc, area.left + 12 + indent, y, text.c_str(), static_cast<int>(text.size()));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        y += metrics.tmHeight + 2;
    };
    auto section = [&](const std::wstring& text) {
        y += 6;
        SelectObject(dc, heading);
        line(text, 0, RGB(0, 0, 128));
        SelectObject(dc, font);
    };
    std::function<void(DocumentDouble&, int)> describe = [&](DocumentDouble& doc, int indent) {
        SelectObject(dc, heading);
        line(doc.title().empty() ? L"(untitled)" : doc.title(), indent);
        SelectObject(dc, font);
        line(doc.url(), indent, RGB(96, 96, 96));
        section(L"Style sheets");
        for (const auto& sheet : doc.sheets())
            line(std::wstring(sheet->disabled() ? L"[ off ] " : L"[ on  ] ") +
                     (sheet->title() ? L"\"" + *sheet->title() + L"\"" : L"(untitled)") + L"  " +
                     sheet->href().value_or(L"") + (sheet->created() ? L"  (added by the library)" : L""),
                 indent + 12, sheet->disabled() ? RGB(128, 128, 128) : RGB(0, 96, 0));
        section(L"Links");
        for (const auto& element : doc.elements()) {
            if (element->tag() != L"link" && element->tag() != L"a") continue;
            const OptText rel = element->attribute(L"rel"), rev = element->attribute(L"rev");
            if (!rel && !rev && element->tag() == L"a" && !element->attribute(L"href")) continue;
            std::wstring kind = rel ? L"rel=" + *rel : rev ? L"rev=" + *rev : L"";
            std::wstring text = element->tag() == L"a" ? element->innerText().value_or(L"")
                                                       : element->attribute(L"title").value_or(L"");
            line(L"<" + element->tag() + L"> " + kind + L"  " + element->attribute(L"href").value_or(L"") + L"  " +
                     text,
                 indent + 12, RGB(0, 0, 160));
        }
        for (const auto& window : doc.frames()) {
            section(L"Frame \"" + window->name() + L"\"" + (window->accessDenied() ? L" (another site: no access)" : L""));
            if (!window->accessDenied() && window->document()) describe(*window->document(), indent + 24);
        }
    };
    describe(page_->doc(), 0);
    const auto& navigations = page_->doc().location()->navigations();
    if (!navigations.empty()) {
        section(L"location.href set to");
        for (const auto& url : navigations) line(url, 12);
    }
    SelectObject(dc, old);
    DeleteObject(heading);
}

int Host::run() {
    if (!loadBundle()) {
        say(L"no page to show in " + options_.pages);
        return 2;
    }
    if (options_.direct) {
        library_ = std::make_unique<Library>();
        if (!library_->handle()) {
            say(L"QuorinU.dll not found beside the host");
            return 3;
        }
    }
    storeDemoSettings();
    frame_ = std::make_unique<BrowserFrame>(L"Quorin demo host", true, 1024, 740);
    frame_->paintDocument = [this](HDC dc, const RECT& area) { paint(dc, area); };
    browser_ = ComPtr<BrowserDouble>::adopt(new BrowserDouble(nullptr, frame_.get()));
    browser_->bandFactory = [this](REFCLSID clsid, IUnknown** out) {
        return create(clsid, IID_IUnknown, reinterpret_cast<void**>(out));
    };

    ComPtr<IObjectWithSite> helper;
    const HRESULT created = create(CLSID_BrowserHelper, IID_IObjectWithSite, helper.putVoid());
    // The first document is in place before the helper is sited, as in a new browser window.
    std::string error;
    auto first = loadPageFile(startFile_, &error);
    browser_->setDocument(first ? first->document() : nullptr);
    const HRESULT sited = helper ? helper->SetSite(browser_->unknown()) : created;
    note_ = std::wstring(options_.direct ? L"direct" : L"CoCreateInstance") + L": helper " + hr(created) +
            L", SetSite " + hr(sited) + L", band " +
            (browser_->bands().empty() ? L"not created" : L"SetSite " + hr(browser_->bands()[0].setSiteResult)) +
            L", events " + (browser_->connectionPoint()->sinkCount() ? L"subscribed" : L"not subscribed");
    say(note_);
    shownPages_.push_back(std::move(first));

    if (show(startFile_)) {
        signalView(PathFindFileNameW(startFile_.c_str()));
        hoverStyleButton();
        typeControlZ();
        showStyleMenu();
    }
    for (int step = 0; step < options_.walk && !expired(); ++step) {
        const int before = views_;
        walkNext();
        pump(200);
        if (views_ == before) break;  // nothing followed
    }
    pump(500);
    if (!expired()) showLinkMenu();
    if (!expired()) showSettings();
    if (!expired()) showLinkWords();

    browser_->quit();
    if (helper) helper->SetSite(nullptr);
    helper.reset();
    browser_.reset();
    page_.reset();
    shownPages_.clear();
    frame_.reset();
    say(L"closed after " + std::to_wstring(views_) + L" views");
    return 0;
}

Options parse(int argc, wchar_t** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--direct")
            options.direct = true;
        else if (arg == L"--seconds" && i + 1 < argc)
            options.seconds = static_cast<DWORD>(_wtoi(argv[++i]));
        else if (arg == L"--walk" && i + 1 < argc)
            options.walk = _wtoi(argv[++i]);
        else if (arg == L"--signal" && i + 1 < argc)
            options.signal = argv[++i];
        else
            options.pages = arg;
    }
    return options;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    Options options = parse(argc, argv);
    LocalFree(argv);
    if (options.pages.empty()) {
        std::printf("usage: demo_host PAGES [--direct] [--seconds N] [--walk N] [--signal FOLDER]\n");
        return 2;
    }
    if (FAILED(OleInitialize(nullptr))) return 4;
    int result = Host(std::move(options)).run();
    OleUninitialize();
    return result;
}
