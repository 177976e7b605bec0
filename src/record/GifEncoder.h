#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "imageio/ImageSizeLimit.h"
#include "record/RecordingSink.h"
#include "scoped/ScopedHandles.h"

class CFileReplacement;
class CGifWriter;

// Encodes a recording into a GIF file on a thread of its own, so that grabbing keeps its
// pace: the frames wait in a queue whose pixels are bounded, each is coded against the one
// before (only what changed), and a frame is written once the next one says how long it
// showed.
class CGifEncoder : public IRecordingSink {
public:
    // queueLimitBytes: the most pixel bytes waiting to be coded.
    CGifEncoder(int width, int height, uint64_t queueLimitBytes = kMaxImageBytes);
    // Without a successful Finish, stops the worker and leaves no file.
    ~CGifEncoder();
    CGifEncoder(const CGifEncoder&) = delete;
    CGifEncoder& operator=(const CGifEncoder&) = delete;

    // Starts the worker writing path, which must not exist yet (an existing file is never
    // touched); false with the reason as the last error.
    bool Start(const char* path);

    // False, with Error() 0, when one more frame would pass the queue's limit; false with
    // the reason when writing failed.
    bool AddFrame(const uint32_t* pixels, int previousDelayCs) override;
    // Waits for every frame to be written and commits the file.
    bool Finish(int lastDelayCs) override;
    DWORD Error() const override;

private:
    struct SQueued {
        std::vector<uint32_t> pixels;  // empty: the end of the recording
        int previousDelayCs;
    };
    static unsigned __stdcall ThreadMain(void* self);
    void Work();
    // The next frame, waiting for one; false when told to stop.
    bool Take(SQueued& item);
    void Fail(DWORD error);
    void Push(SQueued&& item);
    void StopWorker();

    const int m_width, m_height;
    const uint64_t m_queueLimitBytes;
    std::unique_ptr<CFileReplacement> m_file;
    std::unique_ptr<CGifWriter> m_writer;
    CKernelHandleOwner m_thread;
    CKernelHandleOwner m_queued;  // set when an item or the stop waits for the worker

    mutable CCriticalSection m_lock;  // guards what follows
    std::deque<SQueued> m_queue;
    uint64_t m_queuedBytes = 0;
    DWORD m_error = ERROR_SUCCESS;
    bool m_stop = false;
    bool m_committed = false;
};
