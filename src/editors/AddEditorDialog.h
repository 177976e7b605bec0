#pragma once

#include <string>

#include "ui/Dialog.h"

// Asks for the program of a new editor: typed, browsed for, or the system's Paint.
// OK is taken only for an existing file whose name ends in .exe; anything else keeps
// the dialog open, with a message that names a missing file.
class CAddEditorDlg : public CDialog {
public:
    CAddEditorDlg();

    // After OK: the accepted path.
    const std::string& Path() const { return m_strPath; }

private:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND hControl) override;
    void Browse();
    void FillInSystemPaint();
    void Accept();

    std::string m_strCaption;
    std::string m_strPrompt;
    std::string m_strPath;
};
