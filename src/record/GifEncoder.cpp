#include "record/GifEncoder.h"

#include <process.h>

#include <new>
#include <utility>

#include "record/GifWriter.h"
#include "util/FileReplacement.h"
#include "util/Win32Error.h"

namespace {

// About what a frame costs in the file: LZW codes a run of one index in a few codes, so the
// runs, in coding order, and the colour table.
size_t CodingCost(const SGifFrame& frame)
{
    size_t runs = 0;
    for (size_t i = 0; i < frame.indices.size(); ++i)
        runs += i == 0 || frame.indices[i] != frame.indices[i - 1];
    return runs + frame.palette.size();
}

}  // namespace

CGifEncoder::CGifEncoder(int width, int height, uint64_t queueLimitBytes)
    : m_width(width), m_height(height), m_queueLimitBytes(queueLimitBytes) {}

CGifEncoder::~CGifEncoder()
{
    StopWorker();
    m_writer.reset();
    m_file.reset();  // deletes the temporary unless committed
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
    // The true pixels of the frame waiting to be written, and of the screen under it.
    std::vector<uint32_t> shown, under;
    SGifFrame waiting;             // coded, its delay not known yet
    int waitingDelayCs = 0;        // frames unchanged from it lengthen it
    SQueued item;
    try {
        while (Take(item)) {
            waitingDelayCs += item.previousDelayCs;
            if (item.pixels.empty()) {
                if (!shown.empty())
                    m_writer->Add(waiting, waitingDelayCs);
                m_writer->Finish();
                m_file->Commit();
                CSectionLock lock(m_lock);
                m_committed = true;
                return;
            }
            SGifFrame over;
            if (!MakeGifFrame(shown.empty() ? nullptr : shown.data(), item.pixels.data(), m_width, m_height, over))
                continue;
            // Content that moves back and forth (a list scrolling over striped rows, a blinking
            // highlight) often matches the screen before the waiting frame better than the
            // waiting frame itself: then that frame restores what it covered.
            SGifFrame overUnder;
            const bool restore = !under.empty() &&
                                 MakeGifFrame(under.data(), item.pixels.data(), m_width, m_height, overUnder) &&
                                 CodingCost(overUnder) < CodingCost(over);
            if (!shown.empty())
                m_writer->Add(waiting, waitingDelayCs, restore);
            if (!restore)
                under = std::move(shown);
            shown = std::move(item.pixels);
            waiting = std::move(restore ? overUnder : over);
            waitingDelayCs = 0;
        }
    } catch (const Vorn::CWin32Error& error) {
        Fail(error.GetCode());
    } catch (const std::bad_alloc&) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
}
