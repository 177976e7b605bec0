#include "imageio/CodecFailure.h"

#include <windows.h>

#include <new>

#include "util/Win32Error.h"

int FailWithCurrentException() noexcept
{
    DWORD dwCode = ERROR_INVALID_DATA;
    try {
        throw;
    } catch (const Vorn::CWin32Error& error) {
        dwCode = error.GetCode();
    } catch (const std::bad_alloc&) {
        dwCode = ERROR_NOT_ENOUGH_MEMORY;
    } catch (...) {
        // The integer 1 of a format violation, the libjpeg error handler's string.
    }
    ::SetLastError(dwCode);
    return 0;
}
