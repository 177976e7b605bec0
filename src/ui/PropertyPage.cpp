#include "ui/PropertyPage.h"

#include <commctrl.h>

PROPSHEETPAGEA CPropertyPage::Describe()
{
    PROPSHEETPAGEA page = {};
    page.dwSize = sizeof page;
    page.hInstance = GetModuleHandleA(nullptr);
    page.pszTemplate = MAKEINTRESOURCEA(TemplateId());
    page.pfnDlgProc = StaticPageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

bool CPropertyPage::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.code != static_cast<UINT>(PSN_KILLACTIVE))
        return false;
    result = OnKillActive() ? FALSE : TRUE;
    return true;
}

INT_PTR CALLBACK CPropertyPage::StaticPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialog* initialised = nullptr;
    if (msg == WM_INITDIALOG)
        initialised = reinterpret_cast<CPropertyPage*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
    return Route(initialised, hDlg, msg, wParam, lParam);
}
