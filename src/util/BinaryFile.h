#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>

// A binary stream over a Win32 file: 32-bit little-endian integers and strings stored
// as a 32-bit byte length followed by the bytes (ANSI code page, no terminator).
// Every failure throws Vorn::CWin32Error: a failed system call with GetLastError(),
// a read that hits the end of the file - including a string length larger than the
// rest of the file - with ERROR_HANDLE_EOF, and a write that moves fewer bytes than
// asked as WriteWhole says. A string read never allocates before its length has
// been checked against the file. A stream that opened its file owns the handle and
// closes it when destroyed; one made over a borrowed handle leaves it to its owner.
class CBinaryFile {
public:
    CBinaryFile() noexcept = default;
    // Writing goes through a CFileReplacement: the stream borrows its temporary's handle.
    explicit CBinaryFile(HANDLE hBorrowed) noexcept : m_hFile(hBorrowed), m_bOwnsHandle(false) {}
    ~CBinaryFile();
    CBinaryFile(const CBinaryFile&) = delete;
    CBinaryFile& operator=(const CBinaryFile&) = delete;

    // Passes the seven arguments to CreateFileA unchanged; a file still open is closed first.
    void Open(const char* path, DWORD dwAccess, DWORD dwShareMode, SECURITY_ATTRIBUTES* pSecurity,
              DWORD dwDisposition, DWORD dwFlagsAndAttributes, HANDLE hTemplate);
    void Close() noexcept;

    // Any 4-byte integer type: int, UINT, LONG, DWORD, BOOL ...
    template <typename T, typename = std::enable_if_t<std::is_integral_v<T> && sizeof(T) == 4>>
    CBinaryFile& operator<<(T value)
    {
        Write(&value, sizeof value);
        return *this;
    }

    template <typename T, typename = std::enable_if_t<std::is_integral_v<T> && sizeof(T) == 4>>
    CBinaryFile& operator>>(T& value)
    {
        Read(&value, sizeof value);
        return *this;
    }

    CBinaryFile& operator<<(const std::string& text);
    CBinaryFile& operator<<(const char* text);
    CBinaryFile& operator>>(std::string& text);

    // Raw blocks of exactly dwSize bytes; moving fewer is a failure like any other.
    void Write(const void* data, DWORD dwSize);
    void Read(void* data, DWORD dwSize);

private:
    void WriteText(const char* text, uint64_t length);
    uint64_t BytesLeft() const;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    bool m_bOwnsHandle = true;
};

// Writes all dwSize bytes, going on after a short write, so that a failure throws
// Vorn::CWin32Error with the system's own reason (a full disk says so); a write that
// the system takes none of without a reason counts as a full disk.
void WriteWhole(HANDLE hFile, const void* data, DWORD dwSize);
