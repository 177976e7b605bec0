#include "settings/SavePage.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <memory>

#include "imageio/ImageFormats.h"
#include "res/resource.h"
#include "util/AppMessageBox.h"
#include "util/FastString.h"

namespace {

// Byte limits of the stored strings (a double-byte character counts twice).
const size_t kMaxFolderBytes = MAX_PATH - 1;
const size_t kMaxPrefixBytes = 64;

struct ShellFree {
    void operator()(void* memory) const { CoTaskMemFree(memory); }
};
using ShellItemId = std::unique_ptr<ITEMIDLIST, ShellFree>;
using ShellText = std::unique_ptr<wchar_t, ShellFree>;

// True when the text holds a character that file names forbid. The walk goes
// character by character, so a double-byte character's trail byte (which may be
// 0x5C or 0x7C) is never taken for a backslash or bar.
bool HasForbiddenFileNameChar(const char* text)
{
    static const char kForbidden[] = "\\/:*?\"<>|";
    for (const char* p = text; *p; p = CharNextA(p)) {
        if (IsDBCSLeadByte(static_cast<BYTE>(*p)))
            continue;
        for (const char* f = kForbidden; *f; ++f)
            if (*p == *f)
                return true;
    }
    return false;
}

}  // namespace

CSavePage::CSavePage(SaveOptions& options) : CPropertyPage(IDD_OPTIONS_SAVE), m_options(options)
{
}

BOOL CSavePage::OnInitDialog()
{
    for (const ImageFormat& format : g_imageFormats)
        AddListEntry(IDC_SAVE_TYPE, format.name);
    SendDlgItemMessageA(Handle(), IDC_SAVE_FOLDER, EM_LIMITTEXT, kMaxFolderBytes, 0);
    SendDlgItemMessageA(Handle(), IDC_NAME_PREFIX, EM_LIMITTEXT, kMaxPrefixBytes, 0);
    Load();
    return TRUE;
}

void CSavePage::Load()
{
    const CSettings defaults = CSettings::Defaults();
    const std::string& prefix = m_options.m_strNamePrefix;
    if (prefix.size() > kMaxPrefixBytes || HasForbiddenFileNameChar(prefix.c_str()))
        m_options.m_strNamePrefix = defaults.m_strNamePrefix;
    if (m_options.m_strSaveFolder.size() > kMaxFolderBytes)
        m_options.m_strSaveFolder = defaults.m_strSaveFolder;
    SetText(IDC_NAME_PREFIX, m_options.m_strNamePrefix.c_str());
    ShowFlag(IDC_AUTO_SAVE, m_options.m_bAutoSave);
    SetText(IDC_SAVE_FOLDER, m_options.m_strSaveFolder.c_str());
    ShowSelection(IDC_SAVE_TYPE, m_options.m_nSaveType, defaults.m_nSaveType);
    ShowExample();
    EnableAutoSave();
}

bool CSavePage::OnCommand(WORD id, WORD code, HWND)
{
    switch (id) {
    case IDC_AUTO_SAVE:
        EnableAutoSave();
        return true;
    case IDC_NAME_PREFIX:
        if (code == EN_CHANGE)
            ShowExample();
        return true;
    case IDC_BROWSE_FOLDER:
        BrowseForFolder();
        return true;
    }
    return false;
}

bool CSavePage::OnKillActive()
{
    if (!GetText(IDC_NAME_PREFIX, m_options.m_strNamePrefix, kMaxPrefixBytes))
        return Refuse(IDC_NAME_PREFIX);
    m_options.m_bAutoSave = GetCheck(IDC_AUTO_SAVE);
    if (!GetText(IDC_SAVE_FOLDER, m_options.m_strSaveFolder, kMaxFolderBytes))
        return Refuse(IDC_SAVE_FOLDER);
    m_options.m_nSaveType = GetSelection(IDC_SAVE_TYPE);
    if (m_options.m_nSaveType < 0)
        return Refuse(IDC_SAVE_TYPE);

    if (HasForbiddenFileNameChar(m_options.m_strNamePrefix.c_str())) {
        AppMessageBox(Handle(), IDS_PREFIX_INVALID, MB_OK | MB_ICONERROR);
        SetFocus(Item(IDC_NAME_PREFIX));
        return false;
    }
    if (m_options.m_bAutoSave && !PathIsDirectoryA(m_options.m_strSaveFolder.c_str())) {
        AppMessageBox(Handle(), IDS_PATH_INVALID, MB_OK | MB_ICONERROR);
        SetFocus(Item(IDC_SAVE_FOLDER));
        return false;
    }
    return true;
}

void CSavePage::EnableAutoSave()
{
    const bool enable = GetCheck(IDC_AUTO_SAVE) == BST_CHECKED;
    EnableItem(IDC_SAVE_FOLDER, enable);
    EnableItem(IDC_BROWSE_FOLDER, enable);
    EnableItem(IDC_SAVE_TYPE, enable);
}

void CSavePage::ShowExample()
{
    std::string example;
    GetText(IDC_NAME_PREFIX, example);
    example += '1';
    SetText(IDC_NAME_EXAMPLE, example.c_str());
}

// The browser shows the whole tree from the desktop down, with the folder the page last
// stored (not what is being typed) selected.
void CSavePage::BrowseForFolder()
{
    Vorn::CFastString<64> title;
    title.LoadString(IDS_CHOOSE_FOLDER);
    BROWSEINFOA browse = {};
    browse.hwndOwner = GetActiveWindow();
    browse.lpszTitle = title.GetString();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = OnBrowserEvent;
    browse.lParam = reinterpret_cast<LPARAM>(m_options.m_strSaveFolder.c_str());
    ShellItemId chosen(SHBrowseForFolderA(&browse));
    if (!chosen)
        return;
    // The path is asked for in full, since the ANSI call fails on a long one without a
    // reason. Some shells cut it short instead, which names no folder: refused the same.
    PWSTR widePath = nullptr;
    if (FAILED(SHGetNameFromIDList(chosen.get(), SIGDN_FILESYSPATH, &widePath)))
        return;
    const ShellText fullPath(widePath);
    char szPath[kMaxFolderBytes + 1] = {};
    if (!WideCharToMultiByte(CP_ACP, 0, fullPath.get(), -1, szPath, sizeof szPath, nullptr, nullptr) ||
        !PathIsDirectoryA(szPath)) {
        AppMessageBox(Handle(), IDS_FOLDER_TOO_LONG, MB_OK | MB_ICONERROR);
        return;
    }
    m_options.m_strSaveFolder = szPath;
    SetText(IDC_SAVE_FOLDER, szPath);
}

int CALLBACK CSavePage::OnBrowserEvent(HWND hBrowser, UINT msg, LPARAM, LPARAM folder)
{
    if (msg == BFFM_INITIALIZED && *reinterpret_cast<const char*>(folder))
        SendMessageA(hBrowser, BFFM_SETSELECTIONA, TRUE, folder);
    return 0;
}
