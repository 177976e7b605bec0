#include "record/GifEncoder.h"

#include <process.h>

#include <new>
#include <utility>

#include "record/GifWriter.h"
#include "util/FileReplacement.h"
#include "util/Win32Error.h"

namespace {

class CSectionLock {
public:
    explicit CSectionLock(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
    ~CSectionLock() { LeaveCriticalSection(&m_section); }
    CSectionLock(const CSectionLock&) = delete;
    CSectionLock& operator=(const CSectionLock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

}  // namespace

CGifEncoder::CGifEncoder(int width, int height, uint64_t queueLimitBytes)
    : m_width(width), m_height(height), m_queueLimitBytes(queueLimitBytes)
{
    InitializeCriticalSection(&m_lock);
}

CGifEncoder::~CGifEncoder()
{
    StopWorker();
    m_writer.reset();
    m_file.reset();  // deletes the temporary unless committed
    DeleteCriticalSection(&m_lock);
}

bool CGifEncoder::Start(const char* path)
{
    try {
        m_file = std::make_unique<CFileReplacement>(path, CFileReplacement::kCreateNew);
        m_writer = std::make_unique<CGifWriter>(m_file->GetHandle(), m_width, m_height);
    } catch (const Vorn::CWin32Error& error) {
        m_file.reset();
        SetLastError(error.GetCode());
        return false;
    } catch (const std::bad_alloc&) {
        m_file.reset();
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    m_queued.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (m_queued)
        m_thread.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadMain, this, 0, nullptr)));
    if (!m_thread) {
        const DWORD error = GetLastError();
        m_writer.reset();
        m_file.reset();
        SetLastError(error);
        return false;
    }
    return true;
}

bool CGifEncoder::AddFrame(const uint32_t* pixels, int previousDelayCs)
{
    const uint64_t frameBytes = uint64_t(m_width) * m_height * sizeof(uint32_t);
    {
        CSectionLock lock(m_lock);
        if (m_error != ERROR_SUCCESS || !m_thread)
            return false;
        if (m_queuedBytes + frameBytes > m_queueLimitBytes)
            return false;
        m_queuedBytes += frameBytes;
    }
    try {
        Push({std::vector<uint32_t>(pixels, pixels + size_t(m_width) * m_height), previousDelayCs});
    } catch (const std::bad_alloc&) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return true;
}

bool CGifEncoder::Finish(int lastDelayCs)
{
    if (m_thread) {
        Push({std::vector<uint32_t>(), lastDelayCs});
        WaitForSingleObject(m_thread.get(), INFINITE);
        m_thread.reset();
    }
    // A failed file goes now: nothing more can be written to it.
    m_writer.reset();
    m_file.reset();
    CSectionLock lock(m_lock);
    return m_committed;
}

DWORD CGifEncoder::Error() const
{
    CSectionLock lock(m_lock);
    return m_error;
}

void CGifEncoder::Push(SQueued&& item)
{
    CSectionLock lock(m_lock);
    m_queue.push_back(std::move(item));
    SetEvent(m_queued.get());
}

void CGifEncoder::Fail(DWORD error)
{
    CSectionLock lock(m_lock);
    if (m_error == ERROR_SUCCESS)
        m_error = error;
}

void CGifEncoder::StopWorker()
{
    if (!m_thread)
        return;
    {
        CSectionLock lock(m_lock);
        m_stop = true;
        SetEvent(m_queued.get());
    }
    WaitForSingleObject(m_thread.get(), INFINITE);
    m_thread.reset();
}

bool CGifEncoder::Take(SQueued& item)
{
    for (;;) {
        {
            CSectionLock lock(m_lock);
            if (m_stop)
                return false;
            if (!m_queue.empty()) {
                item = std::move(m_queue.front());
                m_queue.pop_front();
                m_queuedBytes -= item.pixels.size() * sizeof(uint32_t);
                return true;
            }
        }
        WaitForSingleObject(m_queued.get(), INFINITE);
    }
}

unsigned __stdcall CGifEncoder::ThreadMain(void* self)
{
    static_cast<CGifEncoder*>(self)->Work();
    return 0;
}

void CGifEncoder::Work()
{
    std::vector<uint32_t> previous;
    SGifFrame waiting;             // coded, its delay not known yet
    bool haveWaiting = false;
    int waitingDelayCs = 0;        // frames unchanged from it lengthen it
    SQueued item;
    try {
        while (Take(item)) {
            waitingDelayCs += item.previousDelayCs;
            if (item.pixels.empty()) {
                if (haveWaiting)
                    m_writer->Add(waiting, waitingDelayCs);
                m_writer->Finish();
                m_file->Commit();
                CSectionLock lock(m_lock);
                m_committed = true;
                return;
            }
            SGifFrame frame;
            if (!MakeGifFrame(previous.empty() ? nullptr : previous.data(), item.pixels.data(), m_width, m_height,
                              frame))
                continue;
            if (haveWaiting)
                m_writer->Add(waiting, waitingDelayCs);
            waiting = std::move(frame);
            haveWaiting = true;
            waitingDelayCs = 0;
            previous = std::move(item.pixels);
        }
    } catch (const Vorn::CWin32Error& error) {
        Fail(error.GetCode());
    } catch (const std::bad_alloc&) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
}
