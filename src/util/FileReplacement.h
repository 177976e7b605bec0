#pragma once

#include <windows.h>

// The one way this program writes a file: the content goes to a temporary file in the
// target's folder, and only a complete, flushed write is moved onto the target's name,
// so a failure part-way (a full disk, a folder that goes away) never costs the user the
// file that was there. An existing file is replaced keeping its attributes, security and
// streams; a symbolic link is written through, so it stays a link. Every failure throws
// Vorn::CWin32Error with the code of the first call that failed (ERROR_FILENAME_EXCED_RANGE
// for a path, or a temporary's path in its folder, of MAX_PATH or more); the temporary is
// then deleted and the target is left byte for byte as it was.
//
//     CFileReplacement replacement(path, CFileReplacement::kReplaceExisting);
//     ... write everything through replacement.GetHandle() ...
//     replacement.Commit();
//
// Leaving the scope without Commit (an exception on the way) deletes the temporary.
class CFileReplacement {
public:
    enum Mode {
        kReplaceExisting,  // an existing target is replaced in one step
        kCreateNew,        // an existing target is never touched: Commit fails with ERROR_ALREADY_EXISTS
    };

    // Creates the empty temporary file and opens it for writing; a read-only target fails
    // here with ERROR_ACCESS_DENIED.
    CFileReplacement(const char* path, Mode mode);
    ~CFileReplacement();
    CFileReplacement(const CFileReplacement&) = delete;
    CFileReplacement& operator=(const CFileReplacement&) = delete;

    // The temporary file's handle, owned by this object; valid until Commit.
    HANDLE GetHandle() const noexcept { return m_hFile; }

    // Flushes and closes the temporary file and moves it onto the target.
    void Commit();

private:
    void ResolveTarget();
    void CreateTemporary(DWORD dwAttributes);
    DWORD MoveOntoTarget();
    void Discard() noexcept;

    Mode m_mode;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    char m_szTarget[MAX_PATH] = {};
    char m_szTemporary[MAX_PATH] = {};
};
