#include "util/FileCopy.h"

#include <vector>

#include "scoped/ScopedHandles.h"
#include "util/BinaryFile.h"
#include "util/Win32Error.h"

bool CopyFileReplacing(const char* source, const char* target, CFileReplacement::Mode mode)
{
    try {
        const HANDLE opened = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (opened == INVALID_HANDLE_VALUE)
            throw Vorn::CWin32Error(GetLastError());
        const CKernelHandleOwner input(opened);
        CFileReplacement output(target, mode);
        std::vector<char> buffer(256 * 1024);
        for (;;) {
            DWORD read = 0;
            if (!ReadFile(input.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
                throw Vorn::CWin32Error(GetLastError());
            if (read == 0)
                break;
            WriteWhole(output.GetHandle(), buffer.data(), read);
        }
        output.Commit();
        return true;
    } catch (const Vorn::CWin32Error& error) {
        SetLastError(error.GetCode());
        return false;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
}
