#include "app/InstanceGate.h"

#include <cstdlib>

#include "app/FrameClass.h"
#include "app/HandedFiles.h"

const char CInstanceGate::kMutexName[] = "Local\\Lumigrab.Instance";
const char CInstanceGate::kAnswerTimeoutVariable[] = "LUMIGRAB_ANSWER_TIMEOUT_MS";

namespace {
// How often a start that waits for a closing copy looks again.
constexpr DWORD kPollMs = 50;
}

CInstanceGate::CInstanceGate()
{
    char value[16] = "";
    const DWORD length = GetEnvironmentVariableA(kAnswerTimeoutVariable, value, sizeof value);
    const unsigned long milliseconds = length && length < sizeof value ? std::strtoul(value, nullptr, 10) : 0;
    if (milliseconds > 0 && milliseconds < kAnswerTimeoutMs)
        m_dwAnswerTimeoutMs = milliseconds;
}

CInstanceGate::Result CInstanceGate::Enter(const std::vector<std::string>& files, DWORD& reason)
{
    reason = 0;
    m_hMutex.reset(CreateMutexA(nullptr, TRUE, kMutexName));
    // Without the name nothing can be coordinated; running is better than refusing.
    if (!m_hMutex || GetLastError() != ERROR_ALREADY_EXISTS) {
        m_bOwned = m_hMutex != nullptr;
        return Result::RunHere;
    }
    const std::vector<char> block = PackHandedFiles(files);
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= m_dwAnswerTimeoutMs) {
            reason = ERROR_TIMEOUT;
            return Result::NotAnswering;
        }
        if (HWND frame = FindWindowA(kFrameClassName, nullptr)) {
            if (Offer(frame, block, m_dwAnswerTimeoutMs - elapsed, reason))
                return Result::HandedOver;
            if (reason)
                return Result::NotAnswering;
        }
        // The copy holding the name lets go of it when its frame is gone, or the
        // system does when it ends.
        const DWORD waited = WaitForSingleObject(m_hMutex.get(), kPollMs);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
            m_bOwned = true;
            return Result::RunHere;
        }
    }
}

bool CInstanceGate::Offer(HWND frame, const std::vector<char>& block, DWORD waitMs, DWORD& reason)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(frame, &processId);
    // This start is the user's; the running copy may take the foreground from it.
    AllowSetForegroundWindow(processId);
    COPYDATASTRUCT data{};
    data.dwData = kHandedFilesTag;
    data.cbData = static_cast<DWORD>(block.size());
    data.lpData = const_cast<char*>(block.data());
    DWORD_PTR answer = 0;
    SetLastError(0);
    if (SendMessageTimeoutA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_BLOCK | SMTO_ABORTIFHUNG,
                            waitMs, &answer))
        return answer == kFilesTaken;
    const DWORD error = GetLastError();
    // A frame destroyed while the message waited belongs to a copy that is closing.
    if (IsWindow(frame))
        reason = error ? error : ERROR_TIMEOUT;
    return false;
}

void CInstanceGate::Leave()
{
    if (m_bOwned)
        ReleaseMutex(m_hMutex.get());
    m_bOwned = false;
    m_hMutex.reset();
}
