#include "editors/AddEditorDialog.h"

#include <commdlg.h>

#include <vector>

#include "res/resource.h"
#include "ui/CenterWindow.h"
#include "util/AppMessageBox.h"
#include "util/CharSearch.h"
#include "util/FastString.h"

namespace {
std::string LoadText(UINT id)
{
    Vorn::CFastString<128> text;
    text.LoadString(id);
    return std::string(text.GetString(), text.GetLength());
}

// The Open dialog's filter: the string's "|" separators become the terminators the
// dialog expects; a trail byte equal to "|" is part of its character and stays.
std::vector<char> LoadFilter(UINT id)
{
    const std::string text = LoadText(id);
    std::vector<char> filter(text.begin(), text.end());
    for (size_t i = 0; i < filter.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(filter[i])))
            ++i;
        else if (filter[i] == '|')
            filter[i] = '\0';
    }
    filter.insert(filter.end(), 2, '\0');
    return filter;
}

bool IsExistingFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsProgramName(const std::string& path)
{
    const char* dot = FindLastChar(path.c_str(), '.');
    return dot && lstrcmpiA(dot, ".exe") == 0;
}
}  // namespace

CAddEditorDlg::CAddEditorDlg()
    : CDialog(IDD_ADD_EDITOR), m_strCaption(LoadText(IDS_ADD_EDITOR)), m_strPrompt(LoadText(IDS_EDITOR_PATH))
{
}

BOOL CAddEditorDlg::OnInitDialog()
{
    SetWindowTextA(Handle(), m_strCaption.c_str());
    SetText(IDC_EDITOR_PATH, m_strPath.c_str());
    SetText(IDC_EDITOR_PROMPT, m_strPrompt.c_str());
    CenterOverOwner(Handle());
    return TRUE;
}

bool CAddEditorDlg::OnCommand(WORD id, WORD code, HWND hControl)
{
    switch (id) {
    case IDC_BROWSE_EDITOR:
        Browse();
        return true;
    case IDC_SYSTEM_PAINT:
        FillInSystemPaint();
        return true;
    case IDOK:
        Accept();
        return true;
    }
    return CDialog::OnCommand(id, code, hControl);
}

void CAddEditorDlg::Browse()
{
    const std::vector<char> filter = LoadFilter(IDS_EDITOR_FILTER);
    char file[MAX_PATH] = {};
    lstrcpynA(file, m_strPath.c_str(), sizeof file);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.data();
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
    if (GetOpenFileNameA(&dialog))
        SetText(IDC_EDITOR_PATH, file);
}

void CAddEditorDlg::FillInSystemPaint()
{
    char path[MAX_PATH + 16] = {};
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const char* backslash = FindLastChar(path, '\\');
    if (!backslash || backslash[1] != '\0')
        lstrcatA(path, "\\");
    lstrcatA(path, "mspaint.exe");
    SetText(IDC_EDITOR_PATH, path);
}

// A file that is not there (the system's Paint is missing on some systems) is named,
// and the path is selected for typing over; an empty text or a file that is not a
// program keeps the dialog open without a word.
void CAddEditorDlg::Accept()
{
    GetText(IDC_EDITOR_PATH, m_strPath);
    if (m_strPath.empty())
        return;
    if (!IsExistingFile(m_strPath)) {
        AppMessageBox(Handle(), IDS_EDITOR_NOT_FOUND, MB_OK | MB_ICONEXCLAMATION, m_strPath.c_str());
        SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_EDITOR_PATH)), TRUE);
        return;
    }
    if (IsProgramName(m_strPath))
        EndDialog(Handle(), IDOK);
}
