#include "ui/UpdateUI.h"

#include <commctrl.h>
#include <cstring>

#include "res/resource.h"
#include "ui/StatusBar.h"

CUpdateUI g_updateUI;

namespace {
struct MapEntry {
    UINT id;
    unsigned kinds;
};

constexpr unsigned M = CUpdateUI::kMenu;
constexpr unsigned T = CUpdateUI::kToolBar;
constexpr unsigned S = CUpdateUI::kStatusBar;

constexpr MapEntry kMap[] = {
    {ID_ZOOM_IN, M | T},
    {ID_ZOOM_OUT, M | T},
    {ID_ZOOM_FIT, M | T},
    {ID_ZOOM_ACTUAL, M | T},
    {ID_INDICATOR_SIZE, S},
    {ID_INDICATOR_ZOOM, S},
    {ID_FILE_SAVE, M | T},
    {ID_FILE_PRINT, M},
    {ID_VIEW_TOOLBAR, M},
    {ID_VIEW_STATUS_BAR, M},
    {ID_CAPTURE_INCLUDE_CURSOR, M | T},
    {ID_CAPTURE_LAST_REGION, M | T},
    {ID_EDITORS, T},
    {ID_EDIT_COPY, M},
    {ID_ANNOTATE_UNDO, M},
    {ID_ANNOTATE_REDO, M},
};
}

CUpdateUI::CUpdateUI()
{
    static_assert(sizeof(kMap) / sizeof(kMap[0]) == kEntries, "one entry per mapped command");
    for (int i = 0; i < kEntries; ++i)
        m_entries[i] = Entry{kMap[i].id, kMap[i].kinds, true, false, {}, 0};
}

CUpdateUI::Entry* CUpdateUI::Find(UINT id)
{
    for (Entry& entry : m_entries)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

const CUpdateUI::Entry* CUpdateUI::Find(UINT id) const
{
    return const_cast<CUpdateUI*>(this)->Find(id);
}

// Menus read every entry when they open, so only the pushed kinds need the flag.
void CUpdateUI::MarkDirty(Entry& entry)
{
    entry.dirty = entry.kinds & (kToolBar | kStatusBar);
    m_dirtyKinds |= entry.dirty;
}

void CUpdateUI::EnableCommand(UINT id, bool enable)
{
    if (Entry* entry = Find(id)) {
        entry->enabled = enable;
        MarkDirty(*entry);
    }
}

void CUpdateUI::CheckCommand(UINT id, bool checked)
{
    if (Entry* entry = Find(id)) {
        entry->checked = checked;
        MarkDirty(*entry);
    }
}

void CUpdateUI::SetCommandText(UINT id, const char* text)
{
    if (Entry* entry = Find(id)) {
        lstrcpynA(entry->text, text ? text : "", sizeof(entry->text));
        MarkDirty(*entry);
    }
}

bool CUpdateUI::IsEnabled(UINT id) const
{
    const Entry* entry = Find(id);
    return entry && entry->enabled;
}

bool CUpdateUI::IsChecked(UINT id) const
{
    const Entry* entry = Find(id);
    return entry && entry->checked;
}

const char* CUpdateUI::GetCommandText(UINT id) const
{
    const Entry* entry = Find(id);
    return entry ? entry->text : "";
}

void CUpdateUI::UpdateMenu(HMENU popup) const
{
    for (const Entry& entry : m_entries) {
        if (!(entry.kinds & kMenu))
            continue;
        EnableMenuItem(popup, entry.id, MF_BYCOMMAND | (entry.enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(popup, entry.id, MF_BYCOMMAND | (entry.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CUpdateUI::UpdateToolBar()
{
    if (!(m_dirtyKinds & kToolBar) || !m_hToolBar)
        return;
    for (Entry& entry : m_entries) {
        if (!(entry.dirty & kToolBar))
            continue;
        SendMessageA(m_hToolBar, TB_ENABLEBUTTON, entry.id, MAKELPARAM(entry.enabled, 0));
        SendMessageA(m_hToolBar, TB_CHECKBUTTON, entry.id, MAKELPARAM(entry.checked, 0));
        entry.dirty &= ~kToolBar;
    }
    m_dirtyKinds &= ~kToolBar;
}

void CUpdateUI::UpdateStatusBar()
{
    if (!(m_dirtyKinds & kStatusBar) || !m_pStatusBar)
        return;
    for (Entry& entry : m_entries) {
        if (!(entry.dirty & kStatusBar))
            continue;
        m_pStatusBar->SetPaneText(entry.id, entry.text);
        entry.dirty &= ~kStatusBar;
    }
    m_dirtyKinds &= ~kStatusBar;
}
