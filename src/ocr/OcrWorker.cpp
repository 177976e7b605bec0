#include "ocr/OcrWorker.h"

#include <process.h>

#include "ocr/OcrText.h"

COcrWorker::COcrWorker(COcrEngine& engine, HWND window, UINT message)
    : m_engine(engine), m_window(window), m_message(message)
{
}

COcrWorker::~COcrWorker()
{
    Cancel();
    Wait();
}

bool COcrWorker::Start(const DWORD* pixels, int width, int height, EOcrPageMode pageMode)
{
    if (Running())
        return false;
    Wait();
    m_pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
    m_width = width;
    m_height = height;
    m_pageMode = pageMode;
    m_result = SOcrResult();
    InterlockedExchange(&m_cancel, 0);
    m_thread.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadMain, this, 0, nullptr)));
    return m_thread != nullptr;
}

void COcrWorker::Cancel()
{
    InterlockedExchange(&m_cancel, 1);
}

bool COcrWorker::Running() const
{
    return m_thread && WaitForSingleObject(m_thread.get(), 0) == WAIT_TIMEOUT;
}

SOcrResult COcrWorker::TakeResult()
{
    Wait();
    return std::move(m_result);
}

void COcrWorker::Wait()
{
    if (m_thread)
        WaitForSingleObject(m_thread.get(), INFINITE);
    m_thread.reset();
}

unsigned __stdcall COcrWorker::ThreadMain(void* self)
{
    auto& worker = *static_cast<COcrWorker*>(self);
    SOcrResult& result = worker.m_result;
    result.load = worker.m_engine.Load();
    if (result.load.state == EOcrLoad::Ready) {
        result.outcome = worker.m_engine.Recognise(
            worker.m_pixels.data(), worker.m_width, worker.m_height, worker.m_pageMode, true,
            [&worker] { return InterlockedCompareExchange(&worker.m_cancel, 0, 0) != 0; },
            [&worker](int percent) { PostMessage(worker.m_window, worker.m_message, Progress, percent); },
            result.lines);
        std::vector<std::wstring> texts;
        for (const SOcrLine& line : result.lines)
            texts.push_back(line.text);
        result.text = JoinOcrLines(texts);
    }
    PostMessage(worker.m_window, worker.m_message, Finished, 0);
    return 0;
}
