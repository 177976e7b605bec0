#include "editors/EditorList.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "res/resource.h"
#include "util/BinaryFile.h"
#include "util/FileReplacement.h"
#include "util/ModulePath.h"
#include "util/TruncateText.h"
#include "util/Win32Error.h"

namespace {
const char kFileName[] = "oteditor.cfg";

// The menu has ids for this many editors; 50000 after them is the settings item.
constexpr int kMenuCapacity = ID_EDITOR_LAST - ID_EDITOR_FIRST + 1;

std::unique_ptr<char[]> CopyText(const char* text)
{
    const size_t size = std::strlen(text) + 1;
    std::unique_ptr<char[]> copy(new char[size]);
    std::memcpy(copy.get(), text, size);
    return copy;
}

// Whole strings, case-insensitive in the system code page (a trail byte that looks
// like a letter is not a letter); ordinal, so "a-b" and "ab" stay different.
bool SameTextIgnoringCase(const char* a, const char* b)
{
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a, -1, b, -1) == CSTR_EQUAL;
}

// Names and paths longer than the buffers are cut between characters, never inside one.
std::string Shown(const std::unique_ptr<char[]>& text)
{
    return TruncateToWholeChars(text.get(), CEditorList::kTextSize - 1);
}

void CopyOut(char* buffer, const std::unique_ptr<char[]>& text)
{
    if (buffer)
        lstrcpyA(buffer, Shown(text).c_str());
}
}  // namespace

bool CEditorList::GetAt(int position, char* name, char* path, int* image) const
{
    if (position < 0 || position >= GetCount())
        return false;
    const EditorEntry& entry = m_entries[static_cast<size_t>(position)];
    CopyOut(name, entry.m_pszName);
    CopyOut(path, entry.m_pszPath);
    if (image)
        *image = ImageOf(entry);
    return true;
}

int CEditorList::ImageOf(const EditorEntry& entry) const
{
    if (entry.m_nImage == EditorEntry::kImageNotAsked) {
        SHFILEINFOA info{};
        const bool found =
            SHGetFileInfoA(entry.m_pszPath.get(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON) != 0;
        entry.m_nImage = found ? info.iIcon : -1;
    }
    return entry.m_nImage;
}

int CEditorList::Add(const char* name, const char* path, int image)
{
    EditorEntry entry;
    entry.m_pszName = CopyText(name);
    entry.m_pszPath = CopyText(path);
    entry.m_nImage = image == -1 ? EditorEntry::kImageNotAsked : image;
    m_entries.push_back(std::move(entry));
    m_bModified = true;
    return GetCount() - 1;
}

bool CEditorList::Rename(int position, const char* name)
{
    if (position < 0 || position >= GetCount())
        return false;
    EditorEntry& entry = m_entries[static_cast<size_t>(position)];
    if (SameTextIgnoringCase(entry.m_pszName.get(), name))
        return false;
    entry.m_pszName = CopyText(name);
    m_bModified = true;
    return true;
}

bool CEditorList::Remove(int position)
{
    if (position < 0 || position >= GetCount())
        return false;
    m_entries.erase(m_entries.begin() + position);
    m_bModified = true;
    return true;
}

bool CEditorList::MoveUp(int position)
{
    if (position <= 0 || position >= GetCount())
        return false;
    std::swap(m_entries[static_cast<size_t>(position)], m_entries[static_cast<size_t>(position - 1)]);
    m_bModified = true;
    return true;
}

bool CEditorList::MoveDown(int position)
{
    if (position < 0 || position >= GetCount() - 1)
        return false;
    return MoveUp(position + 1);
}

int CEditorList::FindPath(const char* path) const
{
    for (int position = 0; position < GetCount(); ++position)
        if (SameTextIgnoringCase(m_entries[static_cast<size_t>(position)].m_pszPath.get(), path))
            return position;
    return -1;
}

HIMAGELIST CEditorList::GetSystemImageList() const
{
    if (m_hSysImageList)
        return m_hSysImageList;
    // Any existing folder will do: the list comes with the answer for it.
    char folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_DESKTOP, FALSE))
        lstrcpyA(folder, "C:\\");
    SHFILEINFOA info{};
    m_hSysImageList = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA(folder, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    return m_hSysImageList;
}

bool CEditorList::Load()
{
    char path[MAX_PATH];
    if (!MakeModuleFilePath(kFileName, path))
        return false;
    try {
        ReadFrom(path);
    } catch (const Vorn::CWin32Error&) {
        return false;
    } catch (const std::bad_alloc&) {
        // A length the file holds but memory does not: as damaged as any other.
        return false;
    }
    m_bModified = false;
    return true;
}

// Entries are added as they are read, so a damaged file keeps the ones before the
// damage. A length beyond the end of the file fails before anything is allocated,
// and so does a count of more entries than the rest of the file could hold (each
// takes at least its two lengths). Entries beyond the menu's ids are never shown:
// they are not read, and the file keeps them unless the list is changed.
void CEditorList::ReadFrom(const char* path)
{
    CBinaryFile file;
    file.Open(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    int32_t count = 0;
    file >> count;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &attributes))
        throw Vorn::CWin32Error(GetLastError());
    const uint64_t size = (static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    constexpr uint64_t kLeastEntrySize = 2 * sizeof(int32_t);
    if (count > 0 && static_cast<uint64_t>(count) * kLeastEntrySize > size - sizeof count)
        throw Vorn::CWin32Error(ERROR_HANDLE_EOF);
    const int32_t shown = count < kMenuCapacity ? count : kMenuCapacity;
    std::string name, target;
    for (int32_t read = 0; read < shown; ++read) {
        file >> name >> target;
        Add(name.c_str(), target.c_str(), -1);
    }
}

bool CEditorList::Save() const
{
    if (!m_bModified)
        return true;
    char path[MAX_PATH];
    if (!MakeModuleFilePath(kFileName, path))
        return false;
    if (m_entries.empty())
        return DeleteFileA(path) != FALSE;
    try {
        WriteTo(path);
    } catch (const Vorn::CWin32Error&) {
        return false;
    }
    return true;
}

// A write that fails part-way (a full disk) leaves the previous list as it was, and
// a shorter list leaves none of the old bytes behind.
void CEditorList::WriteTo(const char* path) const
{
    CFileReplacement replacement(path, CFileReplacement::kReplaceExisting);
    CBinaryFile file(replacement.GetHandle());
    file << static_cast<int32_t>(m_entries.size());
    for (const EditorEntry& entry : m_entries)
        file << entry.m_pszName.get() << entry.m_pszPath.get();
    replacement.Commit();
}

// Editors beyond the range of command ids stay off the menu: the next id would be
// the settings item's.
void CEditorList::BuildMenu()
{
    m_hMenu.reset(CreatePopupMenu());
    if (!m_hMenu)
        return;
    const int count = GetCount() < kMenuCapacity ? GetCount() : kMenuCapacity;
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    item.fType = MFT_STRING;
    UINT position = 0;
    for (int index = 0; index < count; ++index) {
        // The same text as the list dialog shows.
        std::string name = Shown(m_entries[static_cast<size_t>(index)].m_pszName);
        item.wID = ID_EDITOR_FIRST + static_cast<UINT>(index);
        item.dwTypeData = &name[0];
        InsertMenuItemA(m_hMenu.get(), position++, TRUE, &item);
    }
    if (count > 0) {
        MENUITEMINFOA separator{};
        separator.cbSize = sizeof separator;
        separator.fMask = MIIM_FTYPE;
        separator.fType = MFT_SEPARATOR;
        InsertMenuItemA(m_hMenu.get(), position++, TRUE, &separator);
    }
    item.wID = ID_EDITOR_SETTINGS;
    item.dwTypeData = const_cast<char*>(m_strSettingsText.c_str());
    InsertMenuItemA(m_hMenu.get(), position, TRUE, &item);
}

bool CEditorList::GetMenuImage(UINT command, HIMAGELIST& images, int& index) const
{
    if (command < ID_EDITOR_FIRST || command > ID_EDITOR_LAST)
        return false;
    const int position = static_cast<int>(command - ID_EDITOR_FIRST);
    if (position >= GetCount())
        return false;
    const int image = ImageOf(m_entries[static_cast<size_t>(position)]);
    if (image < 0)
        return false;
    images = GetSystemImageList();
    index = image;
    return images != nullptr;
}
