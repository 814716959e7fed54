#pragma once
// The in-memory settings of one toolbar window and their registry persistence under
// HKEY_CURRENT_USER\Software\Orv\Quorin.

#include <windows.h>
#include <commctrl.h>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/fixed_text.h"
#include "common/shared_string.h"
#include "shared/link_list.h"
#include "shared/sheet_entry.h"

namespace quorin {

constexpr wchar_t kRootKeyPath[] = L"Software\\Orv\\Quorin";

using TitleText = FixedText<80>;   // titles and attribute values
using PathText = FixedText<260>;   // paths and URI patterns

struct AddSheetEntry {
    TitleText Title;
    PathText Path;
};

struct PreferEntry {
    TitleText Title;
    PathText URI;
};

struct EtcSettings {
    WORD UseSheetShortcut = 0;
    WORD UseAttrShortcut = 0;
    bool SyncUse = true;
    bool FrameAware = true;
    bool operator==(const EtcSettings& o) const {
        return UseSheetShortcut == o.UseSheetShortcut && UseAttrShortcut == o.UseAttrShortcut &&
               SyncUse == o.SyncUse && FrameAware == o.FrameAware;
    }
};

// Submenu value of a link-type row that is only a separator in the menu.
constexpr int kSeparatorSubmenu = 99;

// What a link type's Attr is matched against. Other values load and save unchanged and match
// nothing.
constexpr int kWhichRel = 0;
constexpr int kWhichRev = 1;
constexpr int kWhichWords = 2;  // the words a link shows; Attr holds alternatives separated by "|"

struct LinkTypeEntry {
    TitleText Title;
    int Which = kWhichRel;  // kWhich..., -1 on a separator row
    TitleText Attr;
    WORD Shortcut = 0;
    int Submenu = 2;     // 0 never, 1 always, 2 with two or more; 99 separator row
    LinkList links;      // the link engine's links of this type on the current page; never stored
};

struct CruiseEntry {
    TitleText Title;
    int index = -1;      // position of the link type with that title at run time; never stored
};

struct LinkEtcSettings {
    int MaxEtcNum = 999;
    bool EnumStyleSheet = false;
    int MaxUnRelNum = 999;
    bool GroupSameSite = false;
    bool EnumNonLink = false;
    int MaxNonLinkNum = 999;
    bool ElimDuplLinks = false;
    bool operator==(const LinkEtcSettings& o) const {
        return MaxEtcNum == o.MaxEtcNum && EnumStyleSheet == o.EnumStyleSheet && MaxUnRelNum == o.MaxUnRelNum &&
               GroupSameSite == o.GroupSameSite && EnumNonLink == o.EnumNonLink &&
               MaxNonLinkNum == o.MaxNonLinkNum && ElimDuplLinks == o.ElimDuplLinks;
    }
};

struct ToolbarSaveLocation {
    HKEY root = nullptr;
    const wchar_t* subkey = nullptr;
    const wchar_t* valueName = nullptr;
    TBSAVEPARAMSW params() const noexcept { return TBSAVEPARAMSW{root, subkey, valueName}; }
};

// Not stored: what the style engine last saw of the page, for the entry dialogs.
struct PageContext {
    SharedString currentUrl;
    std::vector<SheetEntry> sheetTitles;
};

bool createRootKey();
bool deleteRootKey();

class SettingsStore {
public:
    SettingsStore();
    // Writes back the groups changed since they were last loaded or saved, unless another window
    // has saved them since.
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    void setToolbarLocation();

    // Whole loads and saves hold the session's settings lock (settings_lock.h), so that no window
    // reads a group another is writing.
    bool loadAll();
    bool saveAll();

    bool loadAddSheet();
    bool loadPrefer();
    bool loadEtc();
    bool loadLinkType();
    bool loadLinkCruise();
    bool loadLinkEtc();
    bool saveAddSheet();
    bool savePrefer();
    bool saveEtc();
    bool saveLinkType();
    bool saveLinkCruise();
    bool saveLinkEtc();
    // Saves only the groups whose stored form differs from what was last loaded or saved, and
    // only where the registry still holds that: a store does not overwrite what another window
    // saved in the meantime.
    bool saveChanged();

    // First Prefer entry whose URI is a prefix of the url, letter case ignored; null if none.
    const PreferEntry* findPreferred(const wchar_t* url) const;

    std::vector<AddSheetEntry> AddSheet;
    std::vector<PreferEntry> Prefer;
    EtcSettings Etc;
    std::vector<LinkTypeEntry> LinkType;
    std::vector<CruiseEntry> LinkCruise;
    WORD CruiseShortcut = 0;
    LinkEtcSettings LinkEtc;
    ToolbarSaveLocation toolbarLocation;
    PageContext page;

    // One registry value of a group as a save writes it: REG_SZ text or REG_DWORD number.
    struct StoredValue {
        std::wstring name;
        bool isText = false;
        std::wstring text;
        DWORD number = 0;
        bool operator==(const StoredValue& o) const {
            return isText == o.isText && number == o.number && name == o.name && text == o.text;
        }
    };
    using GroupImage = std::vector<StoredValue>;

private:
    enum Group { AddSheetGroup, PreferGroup, EtcGroup, LinkTypeGroup, LinkCruiseGroup, LinkEtcGroup, GroupCount };

    GroupImage image(Group group) const;
    std::optional<GroupImage> storedImage(Group group) const;
    std::size_t entryCount(Group group) const;
    void noteLoaded(Group group);
    bool save(Group group);

    // What each group looked like in the registry after this store last loaded or saved it.
    std::array<GroupImage, GroupCount> known_;
};

}  // namespace quorin
