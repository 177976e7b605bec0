#include "document/FileCopy.h"

#include <vector>

#include "scoped/ScopedHandles.h"
#include "util/BinaryFile.h"
#include "util/FileReplacement.h"
#include "util/Win32Error.h"

void CopyFileReplacing(const char* source, const char* target)
{
    CKernelHandleOwner input(CreateFileA(source, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (input.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        input.release();
        throw Vorn::CWin32Error(error);
    }
    CFileReplacement output(target, CFileReplacement::kReplaceExisting);
    std::vector<char> block(1 << 16);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(input.get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr))
            throw Vorn::CWin32Error(GetLastError());
        if (read == 0)
            break;
        WriteWhole(output.GetHandle(), block.data(), read);
    }
    // The source may be the target itself: it must be closed before the target is replaced.
    input.reset();
    output.Commit();
}
