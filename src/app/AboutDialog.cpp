#include "app/AboutDialog.h"

#include <algorithm>
#include <cstring>

#include "res/resource.h"
#include "ui/HyperLink.h"

namespace {

const char kMailPrefix[] = "mailto:";

// Centres the dialog over its owner, or over the work area when the owner is hidden
// or minimised, and keeps it on the owner's monitor.
void CenterOverOwner(HWND hDlg)
{
    HWND hOwner = GetWindow(hDlg, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(hOwner ? hOwner : hDlg, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& rcWork = monitor.rcWork;

    RECT rcOver = rcWork;
    if (hOwner && IsWindowVisible(hOwner) && !IsIconic(hOwner))
        GetWindowRect(hOwner, &rcOver);
    RECT rcDlg;
    GetWindowRect(hDlg, &rcDlg);
    const int width = rcDlg.right - rcDlg.left;
    const int height = rcDlg.bottom - rcDlg.top;
    int x = (rcOver.left + rcOver.right - width) / 2;
    int y = (rcOver.top + rcOver.bottom - height) / 2;
    // Right and bottom first, so that a dialog larger than the work area keeps its caption visible.
    x = std::max<int>(rcWork.left, std::min<int>(x, rcWork.right - width));
    y = std::max<int>(rcWork.top, std::min<int>(y, rcWork.bottom - height));
    SetWindowPos(hDlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class CAboutDialog {
public:
    INT_PTR Run(HWND hOwner)
    {
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX), hOwner, DialogProc,
                               reinterpret_cast<LPARAM>(this));
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        switch (msg) {
        case WM_INITDIALOG:
            reinterpret_cast<CAboutDialog*>(lParam)->OnInitDialog(hDlg);
            return TRUE;  // the focus goes to OK, the default button
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(hDlg, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(hDlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

    void OnInitDialog(HWND hDlg)
    {
        CenterOverOwner(hDlg);
        // The address is cut, not overrun, when it is longer than the target can hold.
        char szTarget[256] = {};
        std::memcpy(szTarget, kMailPrefix, sizeof kMailPrefix);
        const int prefixLength = sizeof kMailPrefix - 1;
        GetDlgItemTextA(hDlg, IDC_CONTACT_LINK, szTarget + prefixLength, sizeof szTarget - prefixLength);
        m_contactLink.SubclassStatic(GetDlgItem(hDlg, IDC_CONTACT_LINK), szTarget);
    }

    CHyperLink m_contactLink;
};

}  // namespace

INT_PTR ShowAboutBox(HWND hOwner)
{
    CAboutDialog dialog;
    return dialog.Run(hOwner);
}
