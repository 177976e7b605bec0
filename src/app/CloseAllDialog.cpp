#include "app/CloseAllDialog.h"

#include <cstdio>

#include "res/resource.h"
#include "util/FastString.h"

CCloseAllDialog::CCloseAllDialog(int unsavedCount) : CDialog(IDD_CLOSE_ALL), m_nUnsaved(unsavedCount)
{
}

BOOL CCloseAllDialog::OnInitDialog()
{
    Vorn::CFastString<128> format;
    format.LoadString(IDS_CLOSE_ALL_PROMPT);
    char text[160];
    std::snprintf(text, sizeof text, format.GetString(), m_nUnsaved);
    SetText(IDC_CLOSE_ALL_TEXT, text);
    // The system's shared icon, as a message box asking a question shows it.
    SendDlgItemMessageA(Handle(), IDC_CLOSE_ALL_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_QUESTION)), 0);
    return TRUE;
}

bool CCloseAllDialog::OnCommand(WORD id, WORD code, HWND hControl)
{
    if (id == IDC_SAVE_ALL || id == IDC_DISCARD_ALL) {
        EndDialog(Handle(), id);
        return true;
    }
    return CDialog::OnCommand(id, code, hControl);
}
