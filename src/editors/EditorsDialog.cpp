#include "editors/EditorsDialog.h"

#include <shellapi.h>

#include "editors/AddEditorDialog.h"
#include "editors/EditorList.h"
#include "res/resource.h"
#include "ui/CenterWindow.h"
#include "ui/DpiScale.h"
#include "util/FastString.h"

namespace {
// The longest name a label edit takes: what the list's 260-byte buffers hold.
constexpr int kMaxNameLength = CEditorList::kTextSize - 1;

void InsertColumn(HWND listView, int index, int width, UINT titleId)
{
    Vorn::CFastString<64> title;
    title.LoadString(titleId);
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(title.GetString());
    SendMessageA(listView, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}
}  // namespace

CEditorsDlg::CEditorsDlg(CEditorList& list) : CDialog(IDD_EDITORS), m_list(list) {}

BOOL CEditorsDlg::OnInitDialog()
{
    m_hListView = Item(IDC_EDITOR_LIST);
    SetUpListView();
    UpdateButtons();
    CenterOverOwner(Handle());
    return TRUE;
}

// Report view with the system's small icons; the rows' texts and icons are asked for
// as they are drawn, so only the count is set here.
void CEditorsDlg::SetUpListView()
{
    LONG_PTR style = GetWindowLongPtrA(m_hListView, GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(LVS_SMALLICON);
    style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_EDITLABELS;
    SetWindowLongPtrA(m_hListView, GWL_STYLE, style);
    SendMessageA(m_hListView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const CDpiScale dpi = CDpiScale::OfWindow(m_hListView);
    InsertColumn(m_hListView, 0, dpi.Scale(100), IDS_EDITOR_NAME);
    InsertColumn(m_hListView, 1, dpi.Scale(200), IDS_EDITOR_PATH);
    SendMessageA(m_hListView, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_list.GetSystemImageList()));
    SetRowCount();
}

void CEditorsDlg::SetRowCount()
{
    SendMessageA(m_hListView, LVM_SETITEMCOUNT, static_cast<WPARAM>(m_list.GetCount()), LVSICF_NOSCROLL);
}

int CEditorsDlg::SelectedRow() const
{
    return static_cast<int>(SendMessageA(m_hListView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CEditorsDlg::UpdateButtons()
{
    const int selected = SelectedRow();
    const int count = m_list.GetCount();
    EnableItem(IDC_EDITOR_UP, selected != -1 && selected != 0);
    EnableItem(IDC_EDITOR_DOWN, selected != -1 && selected != count - 1);
    EnableItem(IDC_EDITOR_REMOVE, selected != -1);
    EnableItem(IDC_EDITOR_RENAME, selected != -1);
}

bool CEditorsDlg::OnCommand(WORD id, WORD code, HWND hControl)
{
    switch (id) {
    case IDC_EDITOR_UP:
        OnMoveUp();
        return true;
    case IDC_EDITOR_DOWN:
        OnMoveDown();
        return true;
    case IDC_EDITOR_ADD:
        OnAdd();
        return true;
    case IDC_EDITOR_REMOVE:
        OnRemove();
        return true;
    case IDC_EDITOR_RENAME:
        OnRename();
        return true;
    case IDOK:
        // No OK button: Enter does not close the list.
        return true;
    case IDCANCEL:
        OnClose();
        return true;
    }
    return CDialog::OnCommand(id, code, hControl);
}

void CEditorsDlg::OnMoveUp()
{
    const int selected = SelectedRow();
    if (m_list.MoveUp(selected))
        ShowMovedRow(selected - 1, selected - 1);
}

void CEditorsDlg::OnMoveDown()
{
    const int selected = SelectedRow();
    if (m_list.MoveDown(selected))
        ShowMovedRow(selected + 1, selected);
}

// The selection follows the moved editor; both exchanged rows are drawn again.
void CEditorsDlg::ShowMovedRow(int row, int first)
{
    m_bRebuildMenu = true;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_hListView, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageA(m_hListView, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    SendMessageA(m_hListView, LVM_REDRAWITEMS, static_cast<WPARAM>(first), first + 1);
}

// A program already in the list (in any letter case), or one the shell knows nothing
// about, is not added.
void CEditorsDlg::OnAdd()
{
    CAddEditorDlg dialog;
    if (dialog.DoModal(GetActiveWindow()) != IDOK)
        return;
    const char* path = dialog.Path().c_str();
    if (m_list.FindPath(path) != -1)
        return;
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON))
        return;
    m_list.Add(info.szDisplayName, path, info.iIcon);
    m_bRebuildMenu = true;
    SetRowCount();
    UpdateButtons();
}

// The list view may not report the removed selection, so the buttons are brought up
// to date here as well.
void CEditorsDlg::OnRemove()
{
    const int selected = SelectedRow();
    if (!m_list.Remove(selected))
        return;
    m_bRebuildMenu = true;
    SendMessageA(m_hListView, LVM_DELETEITEM, static_cast<WPARAM>(selected), 0);
    UpdateButtons();
}

void CEditorsDlg::OnRename()
{
    const int selected = SelectedRow();
    if (selected == -1)
        return;
    SetFocus(m_hListView);
    SendMessageA(m_hListView, LVM_EDITLABELA, static_cast<WPARAM>(selected), 0);
}

void CEditorsDlg::OnClose()
{
    if (m_bRebuildMenu)
        m_list.BuildMenu();
    EndDialog(Handle(), IDCANCEL);
}

bool CEditorsDlg::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.hwndFrom != m_hListView)
        return false;
    switch (header.code) {
    case LVN_GETDISPINFOA:
        OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header)));
        result = 0;
        return true;
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
            UpdateButtons();
        result = 0;
        return true;
    }
    case LVN_BEGINLABELEDITA:
        SendMessageA(reinterpret_cast<HWND>(SendMessageA(m_hListView, LVM_GETEDITCONTROL, 0, 0)), EM_LIMITTEXT,
                     kMaxNameLength, 0);
        result = FALSE;  // editing is allowed
        return true;
    case LVN_ENDLABELEDITA:
        result = OnEndLabelEdit(reinterpret_cast<const NMLVDISPINFOA&>(header));
        return true;
    }
    return false;
}

void CEditorsDlg::OnGetDispInfo(NMLVDISPINFOA& info) const
{
    LVITEMA& item = info.item;
    char name[CEditorList::kTextSize];
    char path[CEditorList::kTextSize];
    int image = -1;
    if (!m_list.GetAt(item.iItem, name, path, &image))
        return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynA(item.pszText, item.iSubItem == 0 ? name : path, item.cchTextMax);
    if (item.mask & LVIF_IMAGE)
        item.iImage = image;
}

// An empty or cancelled edit changes nothing; any other text counts as a change for
// the menu even when the list refuses it (the same name in other letter case).
bool CEditorsDlg::OnEndLabelEdit(const NMLVDISPINFOA& info)
{
    if (!info.item.pszText || info.item.pszText[0] == '\0')
        return false;
    m_bRebuildMenu = true;
    return m_list.Rename(info.item.iItem, info.item.pszText);
}
