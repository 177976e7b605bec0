#include "ui/Dialog.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

namespace {
bool IsListBox(HWND hControl)
{
    char szClass[16] = {};
    GetClassNameA(hControl, szClass, sizeof szClass);
    return lstrcmpiA(szClass, "ListBox") == 0;
}
}  // namespace

INT_PTR CDialog::DoModal(HWND hOwner)
{
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), hOwner, StaticDialogProc,
                           reinterpret_cast<LPARAM>(this));
}

int32_t CDialog::GetCheck(int id) const
{
    return static_cast<int32_t>(SendDlgItemMessageA(m_hWnd, id, BM_GETCHECK, 0, 0));
}

void CDialog::SetCheck(int id, int32_t state)
{
    SendDlgItemMessageA(m_hWnd, id, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void CDialog::ShowFlag(int id, int32_t& flag)
{
    if (flag < BST_UNCHECKED || flag > BST_INDETERMINATE)
        flag = BST_UNCHECKED;
    SetCheck(id, flag);
}

bool CDialog::GetUnsigned(int id, uint32_t& value) const
{
    char szText[16] = {};
    const int length = GetDlgItemTextA(m_hWnd, id, szText, sizeof szText);
    if (length <= 0 || length >= static_cast<int>(sizeof szText) - 1)
        return false;
    uint64_t result = 0;
    for (int i = 0; i < length; ++i) {
        if (szText[i] < '0' || szText[i] > '9')
            return false;
        result = result * 10 + static_cast<uint64_t>(szText[i] - '0');
        if (result > UINT32_MAX)
            return false;
    }
    value = static_cast<uint32_t>(result);
    return true;
}

void CDialog::SetUnsigned(int id, uint32_t value)
{
    SetDlgItemInt(m_hWnd, id, value, FALSE);
}

bool CDialog::GetText(int id, std::string& text, size_t maxBytes) const
{
    HWND hControl = Item(id);
    if (!hControl)
        return false;
    // The length may be an upper bound (text held as UTF-16), so the copy says how long it really is.
    const int length = GetWindowTextLengthA(hControl);
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const int copied = GetWindowTextA(hControl, buffer.data(), length + 1);
    if (static_cast<size_t>(copied) > maxBytes)
        return false;
    text.assign(buffer.data(), static_cast<size_t>(copied));
    return true;
}

void CDialog::AddListEntry(int id, const char* text)
{
    const UINT msg = IsListBox(Item(id)) ? LB_ADDSTRING : CB_ADDSTRING;
    SendDlgItemMessageA(m_hWnd, id, msg, 0, reinterpret_cast<LPARAM>(text));
}

int CDialog::GetSelection(int id) const
{
    const UINT msg = IsListBox(Item(id)) ? LB_GETCURSEL : CB_GETCURSEL;
    return static_cast<int>(SendDlgItemMessageA(m_hWnd, id, msg, 0, 0));
}

void CDialog::SetSelection(int id, int index)
{
    const UINT msg = IsListBox(Item(id)) ? LB_SETCURSEL : CB_SETCURSEL;
    SendDlgItemMessageA(m_hWnd, id, msg, static_cast<WPARAM>(index), 0);
}

void CDialog::ShowSelection(int id, int32_t& index, int32_t fallback)
{
    const UINT msg = IsListBox(Item(id)) ? LB_GETCOUNT : CB_GETCOUNT;
    const LRESULT count = SendDlgItemMessageA(m_hWnd, id, msg, 0, 0);
    if (index < 0 || index >= count)
        index = fallback;
    SetSelection(id, index);
}

void CDialog::GetHotkey(int id, uint16_t& key, uint16_t& modifiers) const
{
    const WORD hotkey = LOWORD(SendDlgItemMessageA(m_hWnd, id, HKM_GETHOTKEY, 0, 0));
    key = LOBYTE(hotkey);
    modifiers = HIBYTE(hotkey);
}

void CDialog::SetHotkey(int id, uint16_t key, uint16_t modifiers)
{
    SendDlgItemMessageA(m_hWnd, id, HKM_SETHOTKEY, MAKEWORD(LOBYTE(key), LOBYTE(modifiers)), 0);
}

bool CDialog::Refuse(int id)
{
    MessageBeep(static_cast<UINT>(-1));
    SetFocus(Item(id));
    return false;
}

bool CDialog::OnCommand(WORD id, WORD, HWND)
{
    if (id != IDOK && id != IDCANCEL)
        return false;
    EndDialog(m_hWnd, id);
    return true;
}

bool CDialog::OnNotify(const NMHDR&, LRESULT&)
{
    return false;
}

INT_PTR CDialog::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
            return FALSE;
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    }
    return FALSE;
}

INT_PTR CDialog::Route(CDialog* initialised, HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = initialised;
    if (dialog) {
        dialog->m_hWnd = hDlg;
        SetWindowLongPtrA(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    } else {
        dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hDlg, DWLP_USER));
    }
    if (!dialog)
        return FALSE;
    const INT_PTR result = dialog->DialogProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hDlg, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
    }
    return result;
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialog* initialised = msg == WM_INITDIALOG ? reinterpret_cast<CDialog*>(lParam) : nullptr;
    return Route(initialised, hDlg, msg, wParam, lParam);
}
