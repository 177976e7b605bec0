#pragma once
#include <windows.h>

#include <vector>

#include "record/GifFrame.h"

struct GifFileType;

// Writes an animated GIF into an open file: GIF89a, the screen of the recording, looping
// forever, then frame by frame, each over the ones before. Every failure
// throws Vorn::CWin32Error with the system's reason (ERROR_INVALID_DATA for what giflib
// refuses itself).
class CGifWriter {
public:
    CGifWriter(HANDLE file, int width, int height);
    ~CGifWriter();
    CGifWriter(const CGifWriter&) = delete;
    CGifWriter& operator=(const CGifWriter&) = delete;

    // A frame and how long it shows, in hundredths of a second; restoreUnder: after it, what
    // it covered comes back ("restore previous") instead of the frame staying in place.
    void Add(const SGifFrame& frame, int delayCs, bool restoreUnder = false);
    // The trailer; nothing may be added after.
    void Finish();

private:
    static int Output(GifFileType* gif, const unsigned char* data, int length);
    bool Flush() noexcept;
    void Close() noexcept;
    void Check(int result);

    static constexpr size_t kWriteSize = 64 * 1024;

    HANDLE m_file;
    GifFileType* m_gif = nullptr;
    DWORD m_writeError = ERROR_SUCCESS;  // the reason of a failed write, which giflib cannot carry
    std::vector<unsigned char> m_pending;  // written in large pieces
    std::vector<unsigned char> m_line;   // giflib masks the indices it is given in place
};
