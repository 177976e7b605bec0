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

CPngFileSink::CPngFileSink(std::string& bytes) : m_pBytes(&bytes), m_buffer(kBufferSize) {}

void CPngFileSink::Install(png_structp png)
{
    png_set_write_fn(png, this, WriteCallback, FlushCallback);
}

void CPngFileSink::Flush()
{
    if (m_used > 0)
        Deliver(m_buffer.data(), m_used);
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
            Deliver(data, size);
            return;
        }
    }
    memcpy(m_buffer.data() + m_used, data, size);
    m_used += size;
}

void CPngFileSink::Deliver(const BYTE* data, size_t size)
{
    if (m_pBytes)
        m_pBytes->append(reinterpret_cast<const char*>(data), size);
    else
        CWin32File::WriteAll(m_hFile, data, static_cast<DWORD>(size));
}
