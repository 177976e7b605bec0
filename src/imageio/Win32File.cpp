#include "imageio/Win32File.h"

#include "util/BinaryFile.h"
#include "util/Win32Error.h"

using Vorn::CWin32Error;

CWin32File::~CWin32File()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
}

void CWin32File::OpenForReading(const char* path)
{
    m_hFile = ::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE)
        throw CWin32Error(::GetLastError());
}

DWORD CWin32File::Read(void* buffer, DWORD dwSize)
{
    DWORD dwRead = 0;
    if (!::ReadFile(m_hFile, buffer, dwSize, &dwRead, nullptr))
        throw CWin32Error(::GetLastError());
    return dwRead;
}

void CWin32File::ReadExactly(void* buffer, DWORD dwSize)
{
    if (Read(buffer, dwSize) != dwSize)
        throw CWin32Error(ERROR_HANDLE_EOF);
}

void CWin32File::WriteAll(HANDLE hFile, const void* data, DWORD dwSize)
{
    WriteWhole(hFile, data, dwSize);
}

void CWin32File::SeekTo(DWORD dwOffset)
{
    LARGE_INTEGER position = {};
    position.QuadPart = dwOffset;
    if (!::SetFilePointerEx(m_hFile, position, nullptr, FILE_BEGIN))
        throw CWin32Error(::GetLastError());
}

uint64_t CWin32File::GetSize() const
{
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(m_hFile, &size))
        throw CWin32Error(::GetLastError());
    return static_cast<uint64_t>(size.QuadPart);
}
