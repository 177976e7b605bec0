#pragma once

#include <cstdint>

// The largest image either reader accepts, measured as its 24-bit pixels (rows padded
// to 4 bytes): 256 MiB, about 89 million pixels (16384 x 5461, or 11585 x 7723), held
// as a 32-bit DIB section of up to 342 MiB. The shipped program is a 32-bit process,
// whose 2 GiB address space must also hold the flattened copies that saving, copying
// and printing with marks make, and the zoomed view; anything larger could hardly
// open, and trying would take seconds and gigabytes first.
// The readers check it against the header before allocating anything for the pixels.
constexpr uint64_t kMaxImageBytes = uint64_t(256) << 20;

// True when an image of these dimensions (a negative height counts by its size) is
// over the limit.
constexpr bool ExceedsImageSizeLimit(int64_t width, int64_t height) noexcept
{
    const uint64_t stride = ((24 * uint64_t(width < 0 ? -width : width) + 31) >> 5) << 2;
    return stride * uint64_t(height < 0 ? -height : height) > kMaxImageBytes;
}

static_assert(!ExceedsImageSizeLimit(16384, 5461) && !ExceedsImageSizeLimit(11585, -7723) &&
                  ExceedsImageSizeLimit(16384, 5462) && ExceedsImageSizeLimit(30000, 20000),
              "the limit is the 24-bit copy of about 89 million pixels");
