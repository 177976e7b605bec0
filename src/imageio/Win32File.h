#pragma once

#include <windows.h>

#include <cstdint>

// A Win32 file handle the image readers read through, closed on every path. Every failed
// system call throws Vorn::CWin32Error with GetLastError(); a read that must fill its
// buffer and cannot throws ERROR_HANDLE_EOF. The writers write into a CFileReplacement's
// temporary file through WriteAll, which fails with the system's reason (WriteWhole).
class CWin32File {
public:
    CWin32File() noexcept = default;
    ~CWin32File();
    CWin32File(const CWin32File&) = delete;
    CWin32File& operator=(const CWin32File&) = delete;

    // No sharing; the file must exist.
    void OpenForReading(const char* path);

    // The libjpeg managers read and write through this handle directly.
    HANDLE* GetHandlePointer() noexcept { return &m_hFile; }

    // Reads up to dwSize bytes and returns how many arrived (0 at the end of the file).
    DWORD Read(void* buffer, DWORD dwSize);
    void ReadExactly(void* buffer, DWORD dwSize);
    static void WriteAll(HANDLE hFile, const void* data, DWORD dwSize);
    void SeekTo(DWORD dwOffset);
    uint64_t GetSize() const;

private:
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
