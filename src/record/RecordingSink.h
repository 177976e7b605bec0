#pragma once
#include <windows.h>

#include <cstdint>

// Where a recording's frames go as they are taken. The recorder hands over only frames that
// differ from the one before; an unchanged screen lengthens the last frame instead.
class IRecordingSink {
public:
    // The first frame (previousDelayCs 0) or the next one, with the final delay of the frame
    // before it in hundredths of a second. pixels: width * height of 0x00RRGGBB, top-down, read
    // during the call only. False when the sink takes no more: Error() says why, and is 0 when
    // the frames waiting to be encoded reached the size limit.
    virtual bool AddFrame(const uint32_t* pixels, int previousDelayCs) = 0;
    // The recording ended, with the delay of its last frame; returns when all is written.
    // False with the reason in Error().
    virtual bool Finish(int lastDelayCs) = 0;
    virtual DWORD Error() const = 0;

protected:
    ~IRecordingSink() = default;
};
