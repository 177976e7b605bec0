#include "util/FileReplacement.h"

#include <cstdio>
#include <cstring>

#include "scoped/ScopedHandles.h"
#include "util/CharSearch.h"
#include "util/Win32Error.h"

using Vorn::CWin32Error;

namespace {

// "lgrXXXX.tmp" and its terminating zero.
constexpr size_t kTemporaryNameSize = 12;

// What the user set on a file and the new one keeps. Made part of the temporary from its
// creation, because not every system's ReplaceFile carries the attributes over.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The path without the "\\?\" (or "\\?\UNC\") that GetFinalPathNameByHandle puts before it.
const char* WithoutLongPathPrefix(char* path)
{
    if (std::strncmp(path, "\\\\?\\UNC\\", 8) == 0) {
        path[6] = '\\';  // "\\?\UNC\server" becomes "\\server"
        return path + 6;
    }
    return std::strncmp(path, "\\\\?\\", 4) == 0 ? path + 4 : path;
}

}  // namespace

CFileReplacement::CFileReplacement(const char* path, Mode mode) : m_mode(mode)
{
    if (std::strlen(path) >= MAX_PATH)
        throw CWin32Error(ERROR_FILENAME_EXCED_RANGE);
    lstrcpynA(m_szTarget, path, MAX_PATH);
    if (mode == kReplaceExisting)
        ResolveTarget();
    // Windows' move refuses to replace a read-only file, but only after the whole write;
    // some systems replace it anyway. Either way the user's protection wins, and early.
    // A folder of that name is never replaced by a file, whatever ReplaceFile would do.
    const DWORD dwAttributes = ::GetFileAttributesA(m_szTarget);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        throw CWin32Error(ERROR_ACCESS_DENIED);
    if (mode == kReplaceExisting && dwAttributes != INVALID_FILE_ATTRIBUTES &&
        (dwAttributes & FILE_ATTRIBUTE_READONLY))
        throw CWin32Error(ERROR_ACCESS_DENIED);
    CreateTemporary(dwAttributes == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_NORMAL : dwAttributes & kKeptAttributes);
}

CFileReplacement::~CFileReplacement()
{
    Discard();
}

// A symbolic link stays a link: the file it points to is the one replaced.
void CFileReplacement::ResolveTarget()
{
    const HANDLE hOpened = ::CreateFileA(m_szTarget, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, 0, nullptr);
    if (hOpened == INVALID_HANDLE_VALUE)
        return;  // a new file, or one the write itself will report on
    const CKernelHandleOwner target(hOpened);
    char szFinal[MAX_PATH + 8] = {};
    const DWORD dwLength = ::GetFinalPathNameByHandleA(target.get(), szFinal, sizeof szFinal, VOLUME_NAME_DOS);
    if (dwLength == 0)
        return;  // a file system that cannot say; the path is all there is
    const char* real = WithoutLongPathPrefix(szFinal);
    if (dwLength >= sizeof szFinal || std::strlen(real) >= MAX_PATH)
        throw CWin32Error(ERROR_FILENAME_EXCED_RANGE);
    lstrcpynA(m_szTarget, real, MAX_PATH);
}

// Makes the file under a name nobody else holds, in the target's folder, so that the
// final replace is a rename on the same volume. The first failure that is not a taken
// name is the reason reported: a folder the user may not write to says so.
void CFileReplacement::CreateTemporary(DWORD dwAttributes)
{
    const size_t nFolderLength = static_cast<size_t>(FileNamePart(m_szTarget) - m_szTarget);
    if (nFolderLength + kTemporaryNameSize > MAX_PATH)
        throw CWin32Error(ERROR_FILENAME_EXCED_RANGE);
    std::memcpy(m_szTemporary, m_szTarget, nFolderLength);
    const DWORD dwStart = ::GetTickCount() ^ (::GetCurrentProcessId() << 8);
    for (DWORD dwAttempt = 0; dwAttempt <= 0xFFFF; ++dwAttempt) {
        std::snprintf(m_szTemporary + nFolderLength, kTemporaryNameSize, "lgr%04lX.tmp",
                      static_cast<unsigned long>((dwStart + dwAttempt) & 0xFFFF));
        m_hFile = ::CreateFileA(m_szTemporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW, dwAttributes, nullptr);
        if (m_hFile != INVALID_HANDLE_VALUE)
            return;
        const DWORD dwError = ::GetLastError();
        if (dwError != ERROR_FILE_EXISTS && dwError != ERROR_ALREADY_EXISTS) {
            m_szTemporary[0] = '\0';
            throw CWin32Error(dwError);
        }
    }
    m_szTemporary[0] = '\0';
    throw CWin32Error(ERROR_FILE_EXISTS);
}

void CFileReplacement::Commit()
{
    // The data must be on the disk before the name points at it. The handle is closed
    // exactly once, whatever the calls answer; the first failure is the one reported.
    DWORD dwError = ::FlushFileBuffers(m_hFile) ? ERROR_SUCCESS : ::GetLastError();
    const HANDLE hFile = m_hFile;
    m_hFile = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(hFile) && dwError == ERROR_SUCCESS)
        dwError = ::GetLastError();
    if (dwError == ERROR_SUCCESS)
        dwError = MoveOntoTarget();
    if (dwError != ERROR_SUCCESS) {
        Discard();
        throw CWin32Error(dwError);
    }
    m_szTemporary[0] = '\0';
}

DWORD CFileReplacement::MoveOntoTarget()
{
    if (m_mode == kCreateNew || ::GetFileAttributesA(m_szTarget) == INVALID_FILE_ATTRIBUTES) {
        const DWORD dwFlags = MOVEFILE_WRITE_THROUGH | (m_mode == kReplaceExisting ? MOVEFILE_REPLACE_EXISTING : 0);
        return ::MoveFileExA(m_szTemporary, m_szTarget, dwFlags) ? ERROR_SUCCESS : ::GetLastError();
    }
    // Unlike a move, this keeps what is on the existing file: its security, its streams.
    // Where the user may not change the security, the new content still counts most.
    if (::ReplaceFileA(m_szTarget, m_szTemporary, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return ERROR_SUCCESS;
    const DWORD dwError = ::GetLastError();
    if (dwError != ERROR_UNABLE_TO_MOVE_REPLACEMENT)
        return dwError;  // the target is as it was
    // The old file is gone and the new one still has its temporary name: it is all the
    // user has now, so it stays even when the last move fails.
    if (::MoveFileExA(m_szTemporary, m_szTarget, MOVEFILE_WRITE_THROUGH))
        return ERROR_SUCCESS;
    m_szTemporary[0] = '\0';
    return ::GetLastError();
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
