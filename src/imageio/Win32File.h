#pragma once

#include <windows.h>

#include <cstdint>

// A Win32 file handle for the image codecs, closed on every path. Every failed system
// call throws Vorn::CWin32Error with GetLastError(); a read that must fill its buffer
// and cannot throws ERROR_HANDLE_EOF, a write that moves fewer bytes ERROR_WRITE_FAULT.
class CWin32File {
public:
    CWin32File() noexcept = default;
    ~CWin32File();
    CWin32File(const CWin32File&) = delete;
    CWin32File& operator=(const CWin32File&) = delete;

    // No sharing; the file must exist.
    void OpenForReading(const char* path);
    // No sharing; a missing file is created, an existing one is opened as it is and
    // written from offset 0 (so its attributes and identity survive a save).
    void OpenForWriting(const char* path);

    // The libjpeg managers read and write through this handle directly.
    HANDLE* GetHandlePointer() noexcept { return &m_hFile; }

    // Reads up to dwSize bytes and returns how many arrived (0 at the end of the file).
    DWORD Read(void* buffer, DWORD dwSize);
    void ReadExactly(void* buffer, DWORD dwSize);
    void Write(const void* data, DWORD dwSize) { WriteAll(m_hFile, data, dwSize); }
    // The same for a handle held elsewhere (the JPEG destination manager).
    static void WriteAll(HANDLE hFile, const void* data, DWORD dwSize);
    void SeekTo(DWORD dwOffset);
    uint64_t GetSize() const;
    // Ends the file at the current position, so an older, longer file leaves no stale tail.
    void EndHere();

private:
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
