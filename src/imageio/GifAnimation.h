#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct GifFileType;

// A GIF file decoded as a viewer shows it: the logical screen and each frame drawn over the
// ones before as its disposal says. The whole file is read at Open; frames are drawn on demand.
class CGifAnimation {
public:
    // False with the reason as the last error (ERROR_INVALID_DATA for what is no GIF or is
    // damaged, ERROR_NOT_ENOUGH_MEMORY when over the image size limit, the system's own for I/O).
    bool Open(const char* path);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int FrameCount() const { return static_cast<int>(m_frames.size()); }
    int DelayCs(int frame) const { return m_frames[frame].delayCs; }  // as stored (0 possible)
    DWORD DurationMs() const;                                         // the sum of the stored delays, in ms
    // Draws frame on canvas (Width()*Height() pixels, 0x00RRGGBB top-down) as shown after the
    // frames before it: frame 0 starts from the background; any other must follow the frame
    // drawn last on the same canvas (frame - 1).
    void DrawFrame(int frame, uint32_t* canvas);

private:
    struct SFrame {
        size_t offset, length;          // its bytes in the file, from the image separator
        RECT rect;                      // on the logical screen, clipped to it
        int transparent = -1;
        int disposal = 0;
        int delayCs = 0;
    };
    // Finds the frames after the screen descriptor, walking their coded pixels without
    // decoding them; position follows giflib's reading. Throws what Open reports.
    void ReadFrames(GifFileType* gif, size_t& position);
    void Dispose(const SFrame& frame, uint32_t* canvas) const;

    // The file, kept coded: a long recording decoded whole would not fit in memory.
    std::string m_bytes;
    size_t m_headerLength = 0;  // the header, screen descriptor and global colour table
    int m_width = 0;
    int m_height = 0;
    uint32_t m_background = 0;
    std::vector<SFrame> m_frames;
    std::vector<uint32_t> m_underLast;  // what the last frame drawn covered, for "restore previous"
};
