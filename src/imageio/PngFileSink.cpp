#include "imageio/PngFileSink.h"

#include <cstring>

#include "imageio/Win32File.h"

namespace {
constexpr size_t kBufferSize = 64 * 1024;

CPngFileSink* SinkOf(png_structp png)
{
    return static_cast<CPngFileSink*>(png_get_io_ptr(png));
}
}

CPngFileSink::CPngFileSink(HANDLE hFile) : m_hFile(hFile), m_buffer(kBufferSize) {}

void CPngFileSink::Install(png_structp png)
{
    png_set_write_fn(png, this, WriteCallback, FlushCallback);
}

void CPngFileSink::Flush()
{
    if (m_used > 0)
        CWin32File::WriteAll(m_hFile, m_buffer.data(), static_cast<DWORD>(m_used));
    m_used = 0;
}

void CPngFileSink::WriteCallback(png_structp png, png_bytep data, size_t size)
{
    SinkOf(png)->Write(data, size);
}

void CPngFileSink::FlushCallback(png_structp png)
{
    SinkOf(png)->Flush();
}

void CPngFileSink::Write(const BYTE* data, size_t size)
{
    if (m_used + size > kBufferSize) {
        Flush();
        if (size >= kBufferSize) {
            CWin32File::WriteAll(m_hFile, data, static_cast<DWORD>(size));
            return;
        }
    }
    memcpy(m_buffer.data() + m_used, data, size);
    m_used += size;
}
