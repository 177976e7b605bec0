#pragma once
#include <windows.h>
#include <commctrl.h>

#include "ui/Dialog.h"

class CEditorList;

// The list of external editors with their icons, names and paths: move, add, remove
// and rename. Every change goes straight into the list (there is no Cancel); the
// editors' menu is rebuilt once, on closing, when something changed.
class CEditorsDlg : public CDialog {
public:
    explicit CEditorsDlg(CEditorList& list);

private:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND hControl) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

    void SetUpListView();
    void UpdateButtons();
    int SelectedRow() const;
    void SetRowCount();
    void OnMoveUp();
    void OnMoveDown();
    void ShowMovedRow(int row, int first);
    void OnAdd();
    void OnRemove();
    void OnRename();
    void OnClose();
    void OnGetDispInfo(NMLVDISPINFOA& info) const;
    bool OnEndLabelEdit(const NMLVDISPINFOA& info);

    CEditorList& m_list;
    HWND m_hListView = nullptr;
    bool m_bRebuildMenu = false;
};
