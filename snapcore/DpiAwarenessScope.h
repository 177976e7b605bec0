#ifndef SNAPCORE_DPIAWARENESSSCOPE_H
#define SNAPCORE_DPIAWARENESSSCOPE_H

#include <windows.h>

#include "scoped/NonCopyable.h"

namespace snapcore {

// Makes the calling thread per-monitor DPI aware for the scope's life, so that screen
// coordinates, window rectangles and grabs are physical pixels whatever the host
// program declared, and puts the thread's previous awareness back at the end. Where
// Windows has no per-thread awareness (before Windows 10 1607) nothing changes.
class CDpiAwarenessScope : CNonCopyable {
public:
    CDpiAwarenessScope();
    ~CDpiAwarenessScope();

private:
    using SetContextFn = HANDLE(WINAPI*)(HANDLE);
    SetContextFn m_pfnSetContext = nullptr;
    HANDLE m_hPrevious = nullptr;
};

} // namespace snapcore

#endif
