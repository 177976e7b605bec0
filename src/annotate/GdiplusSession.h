#pragma once
#include <windows.h>

#include "scoped/NonCopyable.h"

// GDI+ for the whole process: started by the first drawing that needs it and shut down
// when the program exits. The drawings make their GDI+ objects anew in every call, so
// none of them outlives the session.
class CGdiplusSession : CNonCopyable {
public:
    // True when GDI+ runs, whether it was started now or before.
    static bool Start();

private:
    CGdiplusSession();
    ~CGdiplusSession();

    ULONG_PTR m_token = 0;
    bool m_bRunning = false;
};
