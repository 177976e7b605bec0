#include "imageio/PngFileSource.h"

#include <algorithm>
#include <cstring>

#include "imageio/Win32File.h"
#include "util/Win32Error.h"

namespace {
constexpr DWORD kBufferSize = 64 * 1024;
}

CPngFileSource::CPngFileSource(CWin32File& file) : m_pFile(&file), m_buffer(kBufferSize) {}

CPngFileSource::CPngFileSource(const BYTE* data, size_t size) : m_pData(data), m_end(size) {}

void CPngFileSource::Install(png_structp png)
{
    png_set_read_fn(png, this, ReadCallback);
}

void CPngFileSource::ReadCallback(png_structp png, png_bytep data, size_t size)
{
    static_cast<CPngFileSource*>(png_get_io_ptr(png))->Read(data, size);
}

void CPngFileSource::Read(BYTE* data, size_t size)
{
    while (size > 0) {
        if (m_position == m_end) {
            if (!m_pFile)
                throw Vorn::CWin32Error(ERROR_HANDLE_EOF);
            m_position = 0;
            m_end = m_pFile->Read(m_buffer.data(), kBufferSize);
            m_pData = m_buffer.data();
            if (m_end == 0)
                throw Vorn::CWin32Error(ERROR_HANDLE_EOF);
        }
        const size_t count = std::min(size, m_end - m_position);
        memcpy(data, m_pData + m_position, count);
        m_position += count;
        data += count;
        size -= count;
    }
}
