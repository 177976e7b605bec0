#include "util/BinaryFile.h"

#include <cstring>

#include "util/Win32Error.h"

using Vorn::CWin32Error;

CBinaryFile::~CBinaryFile()
{
    Close();
}

void CBinaryFile::Open(const char* path, DWORD dwAccess, DWORD dwShareMode, SECURITY_ATTRIBUTES* pSecurity,
                       DWORD dwDisposition, DWORD dwFlagsAndAttributes, HANDLE hTemplate)
{
    Close();
    m_hFile = ::CreateFileA(path, dwAccess, dwShareMode, pSecurity, dwDisposition, dwFlagsAndAttributes, hTemplate);
    if (m_hFile == INVALID_HANDLE_VALUE)
        throw CWin32Error(::GetLastError());
}

void CBinaryFile::Close() noexcept
{
    if (m_hFile != INVALID_HANDLE_VALUE && m_bOwnsHandle)
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bOwnsHandle = true;
}

CBinaryFile& CBinaryFile::operator<<(const std::string& text)
{
    WriteText(text.data(), text.size());
    return *this;
}

CBinaryFile& CBinaryFile::operator<<(const char* text)
{
    WriteText(text, std::strlen(text));
    return *this;
}

CBinaryFile& CBinaryFile::operator>>(std::string& text)
{
    uint32_t nLength = 0;
    *this >> nLength;
    // A damaged length must fail here, before it can turn into an allocation.
    if (nLength > BytesLeft())
        throw CWin32Error(ERROR_HANDLE_EOF);
    text.assign(nLength, '\0');
    if (nLength != 0)
        Read(&text[0], nLength);
    return *this;
}

void CBinaryFile::WriteText(const char* text, uint64_t length)
{
    // Only reachable on 64-bit: a length the 4-byte prefix cannot hold.
    if (length > UINT32_MAX)
        throw CWin32Error(ERROR_INVALID_DATA);
    *this << static_cast<uint32_t>(length);
    if (length != 0)
        Write(text, static_cast<DWORD>(length));
}

void WriteWhole(HANDLE hFile, const void* data, DWORD dwSize)
{
    const BYTE* next = static_cast<const BYTE*>(data);
    while (dwSize > 0) {
        DWORD dwWritten = 0;
        if (!::WriteFile(hFile, next, dwSize, &dwWritten, nullptr))
            throw CWin32Error(::GetLastError());
        if (dwWritten == 0)
            throw CWin32Error(ERROR_DISK_FULL);
        next += dwWritten;
        dwSize -= dwWritten;
    }
}

void CBinaryFile::Write(const void* data, DWORD dwSize)
{
    WriteWhole(m_hFile, data, dwSize);
}

void CBinaryFile::Read(void* data, DWORD dwSize)
{
    DWORD dwRead = 0;
    if (!::ReadFile(m_hFile, data, dwSize, &dwRead, nullptr))
        throw CWin32Error(::GetLastError());
    if (dwRead != dwSize)
        throw CWin32Error(ERROR_HANDLE_EOF);
}

uint64_t CBinaryFile::BytesLeft() const
{
    LARGE_INTEGER size = {};
    LARGE_INTEGER position = {};
    LARGE_INTEGER noMove = {};
    if (!::GetFileSizeEx(m_hFile, &size) || !::SetFilePointerEx(m_hFile, noMove, &position, FILE_CURRENT))
        throw CWin32Error(::GetLastError());
    return size.QuadPart > position.QuadPart ? static_cast<uint64_t>(size.QuadPart - position.QuadPart) : 0;
}
