#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ocr/OcrEngine.h"
#include "scoped/NonCopyable.h"
#include "scoped/ScopedHandles.h"

struct SOcrResult {
    SOcrLoadResult load;
    EOcrOutcome outcome = EOcrOutcome::NotLoaded;
    std::vector<SOcrLine> lines;
    std::wstring text;  // the lines, one per line
};

// Reads a picture on a thread of its own so that the window stays responsive. It posts
// message to window with wParam Progress (lParam 0-100) as the engine goes on and once
// Finished when done, cancelled or failed; the window then takes the result. Destroying
// the worker cancels and waits for the thread: the engine stops within a word, although
// loading the language data the first time cannot be cut short.
class COcrWorker : CNonCopyable {
public:
    enum : WPARAM { Progress, Finished };

    COcrWorker(COcrEngine& engine, HWND window, UINT message);
    ~COcrWorker();

    // Starts reading a copy of the pixels; false while a reading runs or when no thread starts.
    bool Start(const DWORD* pixels, int width, int height, EOcrPageMode pageMode);
    void Cancel();
    bool Running() const;
    // The result of the reading that posted Finished; waits for its thread to end.
    SOcrResult TakeResult();

private:
    static unsigned __stdcall ThreadMain(void* self);
    void Wait();

    COcrEngine& m_engine;
    HWND m_window;
    UINT m_message;
    std::vector<DWORD> m_pixels;
    int m_width = 0, m_height = 0;
    EOcrPageMode m_pageMode = EOcrPageMode::Choose;
    volatile LONG m_cancel = 0;
    CKernelHandleOwner m_thread;
    SOcrResult m_result;
};
