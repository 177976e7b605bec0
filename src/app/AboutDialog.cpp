#include "app/AboutDialog.h"

#include <cstring>

#include "res/resource.h"
#include "ui/CenterWindow.h"
#include "ui/Dialog.h"
#include "ui/HyperLink.h"

namespace {

const char kMailPrefix[] = "mailto:";

class CAboutDialog : public CDialog {
public:
    CAboutDialog() : CDialog(IDD_ABOUTBOX) {}

private:
    BOOL OnInitDialog() override
    {
        CenterOverOwner(Handle());
        // The address is cut, not overrun, when it is longer than the target can hold.
        char szTarget[256] = {};
        std::memcpy(szTarget, kMailPrefix, sizeof kMailPrefix);
        const int prefixLength = sizeof kMailPrefix - 1;
        GetDlgItemTextA(Handle(), IDC_CONTACT_LINK, szTarget + prefixLength, sizeof szTarget - prefixLength);
        m_contactLink.SubclassStatic(Item(IDC_CONTACT_LINK), szTarget);
        return TRUE;  // the focus goes to OK, the default button
    }

    CHyperLink m_contactLink;
};

}  // namespace

INT_PTR ShowAboutBox(HWND hOwner)
{
    CAboutDialog dialog;
    return dialog.DoModal(hOwner);
}
