#pragma once

#include <windows.h>

namespace Vorn {

// Thrown by value when a system call fails; catchers take it by reference and read the code.
class CWin32Error {
public:
    explicit CWin32Error(DWORD dwCode) noexcept : m_dwCode(dwCode) {}

    DWORD GetCode() const noexcept { return m_dwCode; }

private:
    DWORD m_dwCode;
};

}  // namespace Vorn
