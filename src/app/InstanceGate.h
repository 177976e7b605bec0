#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "scoped/ScopedHandles.h"

// Keeps the program to one copy per session. The first start holds a named mutex
// until its frame is gone; a later start hands its files to the running copy's frame
// and brings that frame to the front. A copy that is still starting or already closing
// has no frame that takes files: the later start waits for the name to come free and
// then runs by itself, so a start is never lost to a copy on its way out.
class CInstanceGate {
public:
    static const char kMutexName[];
    static constexpr DWORD kAnswerTimeoutMs = 5000;
    // The tests shorten the wait through this variable instead of spending its seconds.
    static const char kAnswerTimeoutVariable[];

    enum class Result {
        RunHere,       // this copy holds the name now (or the name could not be made)
        HandedOver,    // the running copy took the files
        NotAnswering,  // the running copy gave no answer in time; the reason says why
    };

    CInstanceGate();
    ~CInstanceGate() { Leave(); }
    CInstanceGate(const CInstanceGate&) = delete;
    CInstanceGate& operator=(const CInstanceGate&) = delete;

    Result Enter(const std::vector<std::string>& files, DWORD& reason);
    // Lets the next start run by itself; done as soon as the frame is gone.
    void Leave();

private:
    // One offer of the files to a frame: true when it took them; false, with reason
    // set, when it did not answer, and with reason 0 when it is closing.
    static bool Offer(HWND frame, const std::vector<char>& block, DWORD waitMs, DWORD& reason);

    DWORD m_dwAnswerTimeoutMs = kAnswerTimeoutMs;
    CKernelHandleOwner m_hMutex;
    bool m_bOwned = false;
};
