#include "settings/Settings.h"

#include <commctrl.h>

#include <cstring>
#include <new>

#include "res/resource.h"
#include "util/AppMessageBox.h"
#include "util/BinaryFile.h"
#include "util/FastString.h"
#include "util/FileReplacement.h"
#include "util/ModulePath.h"
#include "util/SystemReason.h"
#include "util/Win32Error.h"

using Vorn::CWin32Error;

CSettings g_settings;

namespace {
const char kFileName[] = "lumigrab.cfg";
const char kMoreOptionsFileName[] = "lumigrab.ini";
const int32_t kModeWindow = 1;

UINT HotkeyModifiersToRegistration(uint16_t hotkeyFlags)
{
    // The hotkey control and RegisterHotKey order Shift and Alt the other way round;
    // the extended-key bit has no counterpart.
    UINT modifiers = 0;
    if (hotkeyFlags & HOTKEYF_SHIFT)
        modifiers |= MOD_SHIFT;
    if (hotkeyFlags & HOTKEYF_CONTROL)
        modifiers |= MOD_CONTROL;
    if (hotkeyFlags & HOTKEYF_ALT)
        modifiers |= MOD_ALT;
    return modifiers;
}

void BuildPath(char (&path)[MAX_PATH])
{
    if (!MakeModuleFilePath(kFileName, path))
        throw CWin32Error(ERROR_BAD_PATHNAME);
}
}  // namespace

CSettings::CSettings(const CSettings& other)
    : GeneralOptions(other), SaveOptions(other), HotkeyOptions(other), AuxWindowOptions(other), MoreOptions(other)
{
}

CSettings& CSettings::operator=(const CSettings& other)
{
    GeneralOptions::operator=(other);
    SaveOptions::operator=(other);
    HotkeyOptions::operator=(other);
    AuxWindowOptions::operator=(other);
    MoreOptions::operator=(other);
    return *this;
}

void CSettings::Load()
{
    LoadSpecified();
    char iniPath[MAX_PATH];
    if (MakeModuleFilePath(kMoreOptionsFileName, iniPath))
        LoadMoreOptions(*this, iniPath);
}

void CSettings::LoadSpecified()
{
    try {
        char path[MAX_PATH];
        BuildPath(path);
        ReadFrom(path);
        return;
    } catch (const CWin32Error& error) {
        if (error.GetCode() != ERROR_FILE_NOT_FOUND)
            AppMessageBox(nullptr, IDS_CONFIG_READ_FAILED, MB_OK | MB_ICONEXCLAMATION);
    } catch (const std::bad_alloc&) {
        // A string as long as a huge file is more than a damaged file deserves.
        AppMessageBox(nullptr, IDS_CONFIG_READ_FAILED, MB_OK | MB_ICONEXCLAMATION);
    }
    SetDefaults();
}

void CSettings::Save() const
{
    if (!m_bModified)
        return;
    try {
        char path[MAX_PATH];
        BuildPath(path);
        WriteTo(path);
    } catch (const CWin32Error&) {
        AppMessageBox(nullptr, IDS_CONFIG_WRITE_FAILED, MB_OK | MB_ICONEXCLAMATION);
    }
    char iniPath[MAX_PATH];
    if (!MakeModuleFilePath(kMoreOptionsFileName, iniPath))
        SetLastError(ERROR_BAD_PATHNAME);
    else if (SaveMoreOptions(*this, iniPath))
        return;
    AppMessageBox(nullptr, IDS_MORE_OPTIONS_WRITE_FAILED, MB_OK | MB_ICONEXCLAMATION,
                      SystemReason(GetLastError()).c_str());
}

void CSettings::SetDefaults()
{
    static_cast<GeneralOptions&>(*this) = {0, 0, 1, 300, 1, 1};

    Vorn::CFastString<64> prefix;
    prefix.LoadString(IDS_DEFAULT_PREFIX);
    m_strNamePrefix.assign(prefix.GetString(), prefix.GetLength());
    m_bAutoSave = 0;
    m_nSaveType = 0;

    // Ctrl+F8 captures the screen, F2 alone starts a window capture.
    static_cast<HotkeyOptions&>(*this) = {1, VK_F8, HOTKEYF_CONTROL, 1, VK_F2, 0, kModeWindow};

    m_nMagnification = 2;
    m_nSkin = 0;

    // The last region is where the user captured, not a choice to undo.
    const MoreOptions kept = *this;
    static_cast<MoreOptions&>(*this) = MoreOptions();
    m_bHasLastRegion = kept.m_bHasLastRegion;
    m_rcLastRegion = kept.m_rcLastRegion;
}

CSettings CSettings::Defaults()
{
    CSettings defaults;
    defaults.SetDefaults();
    return defaults;
}

// Reads in place, so whatever was read before a failure stays (only the folder
// survives the defaults that follow).
void CSettings::ReadFrom(const char* path)
{
    CBinaryFile file;
    file.Open(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    file.Read(static_cast<GeneralOptions*>(this), sizeof(GeneralOptions));
    file >> m_strNamePrefix >> m_bAutoSave >> m_strSaveFolder >> m_nSaveType;
    file.Read(static_cast<HotkeyOptions*>(this), sizeof(HotkeyOptions));
    file.Read(static_cast<AuxWindowOptions*>(this), sizeof(AuxWindowOptions));
}

// A write that fails part-way leaves the previous file as it was.
void CSettings::WriteTo(const char* path) const
{
    CFileReplacement replacement(path, CFileReplacement::kReplaceExisting);
    CBinaryFile file(replacement.GetHandle());
    file.Write(static_cast<const GeneralOptions*>(this), sizeof(GeneralOptions));
    file << m_strNamePrefix << m_bAutoSave << m_strSaveFolder << m_nSaveType;
    file.Write(static_cast<const HotkeyOptions*>(this), sizeof(HotkeyOptions));
    file.Write(static_cast<const AuxWindowOptions*>(this), sizeof(AuxWindowOptions));
    replacement.Commit();
}

CSettings::Hotkey CSettings::GetHotkey(int id) const
{
    if (id == kFullScreenHotkeyId)
        return {m_bFullScreenHotkey, m_wFullScreenKey, m_wFullScreenMods};
    if (id == kLastRegionHotkeyId)
        return {m_bLastRegionHotkey, m_wLastRegionKey, m_wLastRegionMods};
    if (id == kMarkupHotkeyId)
        return {m_bMarkupHotkey, m_wMarkupKey, m_wMarkupMods};
    return {m_bModalHotkey, m_wModalKey, m_wModalMods};
}

void CSettings::RegisterHotkeys(HWND frame) const
{
    RegisterHotkey(frame, kFullScreenHotkeyId);
    RegisterHotkey(frame, kModalHotkeyId);
    RegisterHotkey(frame, kLastRegionHotkeyId);
    RegisterHotkey(frame, kMarkupHotkeyId);
}

void CSettings::RestoreHotkeys(HWND frame) const
{
    RegisterHotkey(frame, kFullScreenHotkeyId, false);
    RegisterHotkey(frame, kModalHotkeyId, false);
    RegisterHotkey(frame, kLastRegionHotkeyId, false);
    RegisterHotkey(frame, kMarkupHotkeyId, false);
}

void CSettings::UnregisterHotkeys(HWND frame) const
{
    UnregisterHotkey(frame, kFullScreenHotkeyId);
    UnregisterHotkey(frame, kModalHotkeyId);
    UnregisterHotkey(frame, kLastRegionHotkeyId);
    UnregisterHotkey(frame, kMarkupHotkeyId);
}

void CSettings::UpdateHotkey(HWND frame, int id, const CSettings& before) const
{
    const Hotkey now = GetHotkey(id);
    const Hotkey old = before.GetHotkey(id);
    if (now.enabled == old.enabled && now.key == old.key && now.modifiers == old.modifiers)
        return;
    before.UnregisterHotkey(frame, id);
    RegisterHotkey(frame, id);
}

void CSettings::RegisterHotkey(HWND frame, int id, bool reportRefusal) const
{
    const Hotkey hotkey = GetHotkey(id);
    if (!hotkey.enabled)
        return;
    if (RegisterHotKey(frame, id, HotkeyModifiersToRegistration(hotkey.modifiers), hotkey.key) || !reportRefusal)
        return;
    const UINT message = id == kFullScreenHotkeyId  ? IDS_HOTKEY_FULLSCREEN_FAILED
                       : id == kLastRegionHotkeyId ? IDS_HOTKEY_LAST_REGION_FAILED
                       : id == kMarkupHotkeyId     ? IDS_HOTKEY_MARKUP_FAILED
                                                   : IDS_HOTKEY_MODAL_FAILED;
    AppMessageBox(frame, message, MB_OK | MB_ICONEXCLAMATION);
}

void CSettings::UnregisterHotkey(HWND frame, int id) const
{
    if (GetHotkey(id).enabled)
        UnregisterHotKey(frame, id);
}

bool operator==(const CSettings& a, const CSettings& b)
{
    // The raw blocks have no padding, so comparing their bytes compares every field
    // (the hotkey group as its five 32-bit words).
    return std::memcmp(static_cast<const GeneralOptions*>(&a), static_cast<const GeneralOptions*>(&b),
                       sizeof(GeneralOptions)) == 0 &&
           a.m_strNamePrefix == b.m_strNamePrefix && a.m_bAutoSave == b.m_bAutoSave &&
           a.m_strSaveFolder == b.m_strSaveFolder && a.m_nSaveType == b.m_nSaveType &&
           std::memcmp(static_cast<const HotkeyOptions*>(&a), static_cast<const HotkeyOptions*>(&b),
                       sizeof(HotkeyOptions)) == 0 &&
           a.m_nMagnification == b.m_nMagnification && a.m_nSkin == b.m_nSkin &&
           std::memcmp(static_cast<const MoreOptions*>(&a), static_cast<const MoreOptions*>(&b),
                       sizeof(MoreOptions)) == 0;
}

bool operator!=(const CSettings& a, const CSettings& b)
{
    return !(a == b);
}
