#pragma once
#include "ui/Dialog.h"

// The one question 全部关闭 asks when several images are unsaved: how many, and
// whether to save them all (IDC_SAVE_ALL), close them unsaved (IDC_DISCARD_ALL) or
// keep them open (IDCANCEL), which DoModal returns.
class CCloseAllDialog : public CDialog {
public:
    explicit CCloseAllDialog(int unsavedCount);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND hControl) override;

private:
    int m_nUnsaved;
};
