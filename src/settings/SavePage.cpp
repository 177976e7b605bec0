#include "settings/SavePage.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <memory>

#include "document/ImageFiles.h"
#include "res/resource.h"
#include "util/AppMessageBox.h"
#include "util/FastString.h"

namespace {

// Byte limits of the stored strings (a double-byte character counts twice).
const size_t kMaxFolderBytes = MAX_PATH - 1;
const size_t kMaxPrefixBytes = 64;

struct ShellFree {
    void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};
using ShellItemId = std::unique_ptr<ITEMIDLIST, ShellFree>;

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
    SetText(IDC_NAME_PREFIX, m_options.m_strNamePrefix.c_str());
    ShowFlag(IDC_AUTO_SAVE, m_options.m_bAutoSave);
    SetText(IDC_SAVE_FOLDER, m_options.m_strSaveFolder.c_str());
    SetSelection(IDC_SAVE_TYPE, m_options.m_nSaveType);
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

// The browser starts at the folder the page last stored, not at what is being typed.
void CSavePage::BrowseForFolder()
{
    Vorn::CFastString<64> title;
    title.LoadString(IDS_CHOOSE_FOLDER);
    ShellItemId root;
    if (!m_options.m_strSaveFolder.empty())
        root.reset(ILCreateFromPathA(m_options.m_strSaveFolder.c_str()));

    BROWSEINFOA browse = {};
    browse.hwndOwner = GetActiveWindow();
    browse.pidlRoot = root.get();
    browse.lpszTitle = title.GetString();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    ShellItemId chosen(SHBrowseForFolderA(&browse));
    char szPath[MAX_PATH] = {};
    if (!chosen || !SHGetPathFromIDListA(chosen.get(), szPath))
        return;
    m_options.m_strSaveFolder = szPath;
    SetText(IDC_SAVE_FOLDER, szPath);
}
