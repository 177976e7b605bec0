#pragma once

#include <windows.h>

#include <prsht.h>

#include "ui/Dialog.h"

// A page of a property sheet. The sheet creates the page window when the page is
// first shown; the object must outlive the sheet. Leaving the page (another tab or
// OK) asks OnKillActive, which validates and stores the controls.
class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT templateId) : CDialog(templateId) {}

    // The description PropertySheetA needs; the tab text is the template's caption.
    PROPSHEETPAGEA Describe();

    HWND Sheet() const { return GetParent(Handle()); }

protected:
    // False keeps the user on the page (the handler has said why, or beeped).
    virtual bool OnKillActive() { return true; }

    bool OnNotify(const NMHDR& header, LRESULT& result) override;

private:
    static INT_PTR CALLBACK StaticPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
};
