#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "editors/EditorEntry.h"
#include "scoped/ScopedHandles.h"
#include "ui/MenuImageSource.h"

// The user's ordered list of external image editors, kept in oteditor.cfg beside the
// executable, and the popup menu that offers them. Position i is editor i
// everywhere: in the file, in the list dialog's rows and as command 40001 + i.
class CEditorList : public IMenuImageSource {
public:
    // Strings copied out by GetAt hold this many bytes with their terminator.
    static constexpr int kTextSize = MAX_PATH;

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // Copies entry position's strings into buffers of kTextSize (either may be
    // null) and its icon index; false for a position outside the list.
    bool GetAt(int position, char* name, char* path, int* image) const;
    // Appends an editor and returns its position. An image of -1 asks the shell for
    // the program's small icon when the entry is first shown.
    int Add(const char* name, const char* path, int image);
    // Refused (false) when the new name differs from the old one only in case.
    bool Rename(int position, const char* name);
    bool Remove(int position);
    bool MoveUp(int position);
    bool MoveDown(int position);
    // First entry whose path equals path ignoring case, or -1.
    int FindPath(const char* path) const;

    // The system's small-icon list that the entries' icon indices refer to; fetched
    // once and never destroyed (the system owns it).
    HIMAGELIST GetSystemImageList() const;

    // Reads oteditor.cfg. A damaged file keeps the entries read before the damage and
    // leaves the list marked modified, so that Save writes it back sound.
    bool Load();
    // Writes the list when it changed; an empty list deletes the file.
    bool Save() const;
    bool IsModified() const { return m_bModified; }

    // The text of the menu's last item, the one that opens the list dialog.
    void SetSettingsText(const char* text) { m_strSettingsText = text; }
    // Rebuilds the popup: the editors, a separator when there are any, the settings item.
    void BuildMenu();
    HMENU GetMenu() const { return m_hMenu.get(); }

    // The editor's icon beside its menu item.
    bool GetMenuImage(UINT command, HIMAGELIST& images, int& index) const override;

private:
    int ImageOf(const EditorEntry& entry) const;
    void ReadFrom(const char* path);
    void WriteTo(const char* path) const;

    std::vector<EditorEntry> m_entries;
    CMenuOwner m_hMenu;
    std::string m_strSettingsText;
    mutable HIMAGELIST m_hSysImageList = nullptr;  // 0 until first fetched
    bool m_bModified = false;
};
