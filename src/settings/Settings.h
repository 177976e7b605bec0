#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "settings/MoreOptions.h"
#include "snapcore.h"

// The options of the General page. Stored as one raw 24-byte block.
struct GeneralOptions {
    int32_t m_bSimulatePrintScreen = 0;
    int32_t m_bIncludeCursor = 0;
    int32_t m_bHideMainWindow = 0;
    uint32_t m_nCaptureDelay = 0;  // milliseconds between hiding the frame and capturing
    int32_t m_bShowAfterCapture = 0;
    int32_t m_bPlaySound = 0;
};

// The options of the Save page. Stored field by field; strings are ANSI bytes.
struct SaveOptions {
    std::string m_strNamePrefix;
    int32_t m_bAutoSave = 0;
    std::string m_strSaveFolder;
    int32_t m_nSaveType = 0;  // index into the image format table: 0 JPEG, 1 BMP, 2 PNG
};

// The options of the Hotkeys page. Stored as one raw 20-byte block; modifiers are in
// hotkey-control form (1 Shift, 2 Ctrl, 4 Alt, 8 extended key).
struct HotkeyOptions {
    int32_t m_bFullScreenHotkey = 0;
    uint16_t m_wFullScreenKey = 0;
    uint16_t m_wFullScreenMods = 0;
    int32_t m_bModalHotkey = 0;
    uint16_t m_wModalKey = 0;
    uint16_t m_wModalMods = 0;
    int32_t m_nModalMode = 0;  // 0 full screen, 1 window, 2 region, 3 object
};

// The raw blocks go to the file exactly as they lie in memory.
static_assert(sizeof(MoreOptions) == 64, "MoreOptions has no padding, so it compares as bytes");
static_assert(sizeof(GeneralOptions) == 24, "GeneralOptions is stored as 24 bytes");
static_assert(sizeof(HotkeyOptions) == 20, "HotkeyOptions is stored as 20 bytes");
static_assert(sizeof(AuxWindowOptions) == 8, "AuxWindowOptions is stored as 8 bytes");

// All persistent options, kept in lumigrab.cfg next to the executable, and the ones
// the program adds, kept in lumigrab.ini beside it. The magnifier group is the capture
// engine's own record, so &g_settings can be handed to it. m_bModified is never
// stored, copied or compared.
class CSettings : public GeneralOptions,
                  public SaveOptions,
                  public HotkeyOptions,
                  public AuxWindowOptions,
                  public MoreOptions {
public:
    CSettings() : AuxWindowOptions() {}
    CSettings(const CSettings& other);
    CSettings& operator=(const CSettings& other);

    // Reads lumigrab.cfg; when that fails for any reason, applies the defaults. A missing
    // file is silent, any other failure is reported. Then the added options from
    // lumigrab.ini, whose missing or damaged values are silently the defaults.
    void Load();
    // Writes both files when m_bModified is set; a failure is reported, the ini's with
    // the system's reason.
    void Save() const;
    // Every default except the save folder and the last region, which the user chose and keeps.
    void SetDefaults();
    // A record at the defaults, with an empty folder: what a page shows instead of a
    // stored value it would refuse.
    static CSettings Defaults();

    // The global hotkeys of the main frame, each only while it is enabled. A
    // registration the system refuses (another program holds the keys) is reported
    // and leaves that hotkey unregistered; the rest goes on.
    static constexpr int kFullScreenHotkeyId = 100;
    static constexpr int kModalHotkeyId = 101;
    static constexpr int kLastRegionHotkeyId = 102;  // the 更多 page's, for ID_CAPTURE_LAST_REGION
    static constexpr int kMarkupHotkeyId = 103;      // the 更多 page's, for ID_CAPTURE_MARKUP
    void RegisterHotkeys(HWND frame) const;
    void UnregisterHotkeys(HWND frame) const;
    // Registers them again after UnregisterHotkeys without a word: each refusal was
    // reported when the keys were first registered.
    void RestoreHotkeys(HWND frame) const;
    // After this record replaced before: moves one hotkey to its new keys, and only
    // when its flag, key or modifiers changed.
    void UpdateHotkey(HWND frame, int id, const CSettings& before) const;

    // Runs the Options sheet over a copy of this record; OK takes over what changed,
    // marks the record modified, moves the changed hotkeys and the include-cursor check.
    // The Auxiliary page draws its preview with skin managers made by createSkinManager.
    void ShowOptions(const std::function<ISkinManager*()>& createSkinManager);

    int32_t m_bModified = 0;

private:
    struct Hotkey {
        int32_t enabled;
        uint16_t key;
        uint16_t modifiers;  // hotkey-control form
    };
    Hotkey GetHotkey(int id) const;
    void RegisterHotkey(HWND frame, int id, bool reportRefusal = true) const;
    void UnregisterHotkey(HWND frame, int id) const;

    // lumigrab.cfg alone: what Load did before the added options.
    void LoadSpecified();
    void ReadFrom(const char* path);
    void WriteTo(const char* path) const;
};

bool operator==(const CSettings& a, const CSettings& b);
bool operator!=(const CSettings& a, const CSettings& b);

extern CSettings g_settings;
