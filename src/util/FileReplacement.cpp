#include "util/FileReplacement.h"

#include <cstring>

#include "util/CharSearch.h"
#include "util/Win32Error.h"

using Vorn::CWin32Error;

namespace {

// The folder part of a path, with its trailing separator (a typed path may use
// either slash); "." for a bare file name.
void FolderOf(const char* path, char (&folder)[MAX_PATH])
{
    const char* backslash = FindLastChar(path, '\\');
    const char* slash = FindLastChar(path, '/');
    const char* separator = slash && (!backslash || slash > backslash) ? slash : backslash;
    if (!separator) {
        lstrcpynA(folder, ".", MAX_PATH);
        return;
    }
    lstrcpynA(folder, path, static_cast<int>(separator - path) + 2);
}

}  // namespace

CFileReplacement::CFileReplacement(const char* path, Mode mode) : m_mode(mode)
{
    if (std::strlen(path) >= MAX_PATH)
        throw CWin32Error(ERROR_FILENAME_EXCED_RANGE);
    lstrcpynA(m_szTarget, path, MAX_PATH);
    // Windows' move refuses to replace a read-only file, but only after the whole write;
    // some systems replace it anyway. Either way the user's protection wins, and early.
    const DWORD dwAttributes = ::GetFileAttributesA(path);
    if (mode == kReplaceExisting && dwAttributes != INVALID_FILE_ATTRIBUTES &&
        (dwAttributes & FILE_ATTRIBUTE_READONLY))
        throw CWin32Error(ERROR_ACCESS_DENIED);
    char folder[MAX_PATH];
    FolderOf(path, folder);
    // Makes the file under a name nobody else holds; in the target's folder, so that the
    // final move is a rename on the same volume.
    if (!::GetTempFileNameA(folder, "lgr", 0, m_szTemporary))
        throw CWin32Error(::GetLastError());
    m_hFile = ::CreateFileA(m_szTemporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        const DWORD dwError = ::GetLastError();
        Discard();
        throw CWin32Error(dwError);
    }
}

CFileReplacement::~CFileReplacement()
{
    Discard();
}

void CFileReplacement::Commit()
{
    // The data must be on the disk before the name points at it.
    if (!::FlushFileBuffers(m_hFile) || !::CloseHandle(m_hFile)) {
        const DWORD dwError = ::GetLastError();
        Discard();
        throw CWin32Error(dwError);
    }
    m_hFile = INVALID_HANDLE_VALUE;
    const DWORD dwFlags = MOVEFILE_WRITE_THROUGH | (m_mode == kReplaceExisting ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!::MoveFileExA(m_szTemporary, m_szTarget, dwFlags)) {
        const DWORD dwError = ::GetLastError();
        Discard();
        throw CWin32Error(dwError);
    }
    m_szTemporary[0] = '\0';
}

void CFileReplacement::Discard() noexcept
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
    if (m_szTemporary[0] != '\0') {
        ::DeleteFileA(m_szTemporary);
        m_szTemporary[0] = '\0';
    }
}
