#include "DpiAwarenessScope.h"

namespace snapcore {
namespace {

// The DPI_AWARENESS_CONTEXT values; the SDK declares them only for newer WINVER.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));

} // namespace

CDpiAwarenessScope::CDpiAwarenessScope()
{
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32)
        return;
    m_pfnSetContext = reinterpret_cast<SetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
    if (!m_pfnSetContext)
        return;
    // Windows 10 1607 knows only the first version of per-monitor awareness.
    m_hPrevious = m_pfnSetContext(kPerMonitorAwareV2);
    if (!m_hPrevious)
        m_hPrevious = m_pfnSetContext(kPerMonitorAware);
}

CDpiAwarenessScope::~CDpiAwarenessScope()
{
    if (m_hPrevious)
        m_pfnSetContext(m_hPrevious);
}

} // namespace snapcore
