#include "record/GifWriter.h"

#include <gif_lib.h>

#include <algorithm>
#include <new>

#include "imageio/Win32File.h"
#include "util/Win32Error.h"

namespace {

// giflib takes a colour table of 2, 4 ... 256 entries.
int TableSize(size_t colours)
{
    int size = 2;
    while (size_t(size) < colours)
        size *= 2;
    return size;
}

}  // namespace

CGifWriter::CGifWriter(HANDLE file, int width, int height) : m_file(file)
{
    int error = 0;
    m_gif = EGifOpen(this, Output, &error);
    if (!m_gif)
        throw Vorn::CWin32Error(ERROR_NOT_ENOUGH_MEMORY);
    EGifSetGifVersion(m_gif, true);
    const GifByteType loopForever[3] = {1, 0, 0};
    try {
        Check(EGifPutScreenDesc(m_gif, width, height, 8, 0, nullptr));
        Check(EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE));
        Check(EGifPutExtensionBlock(m_gif, 11, "NETSCAPE2.0"));
        Check(EGifPutExtensionBlock(m_gif, 3, loopForever));
        Check(EGifPutExtensionTrailer(m_gif));
    } catch (...) {
        Close();
        throw;
    }
}

void CGifWriter::Close() noexcept
{
    int error = 0;
    EGifCloseFile(m_gif, &error);
    m_gif = nullptr;
}

CGifWriter::~CGifWriter()
{
    // Unfinished: what is written is thrown away with its file, so the trailer's write may fail.
    if (m_gif)
        Close();
}

int CGifWriter::Output(GifFileType* gif, const unsigned char* data, int length)
{
    CGifWriter& writer = *static_cast<CGifWriter*>(gif->UserData);
    // giflib hands over a byte or a 255-byte block at a time; nothing may be thrown through it.
    try {
        writer.m_pending.insert(writer.m_pending.end(), data, data + length);
    } catch (const std::bad_alloc&) {
        writer.m_writeError = ERROR_NOT_ENOUGH_MEMORY;
        return 0;
    }
    if (writer.m_pending.size() >= kWriteSize && !writer.Flush())
        return 0;
    return length;
}

bool CGifWriter::Flush() noexcept
{
    try {
        CWin32File::WriteAll(m_file, m_pending.data(), static_cast<DWORD>(m_pending.size()));
        m_pending.clear();
        return true;
    } catch (const Vorn::CWin32Error& error) {
        m_writeError = error.GetCode();
        return false;
    }
}

void CGifWriter::Check(int result)
{
    if (result == GIF_ERROR)
        throw Vorn::CWin32Error(m_writeError != ERROR_SUCCESS ? m_writeError : ERROR_INVALID_DATA);
}

void CGifWriter::Add(const SGifFrame& frame, int delayCs, bool restoreUnder)
{
    GraphicsControlBlock control = {restoreUnder ? DISPOSE_PREVIOUS : DISPOSE_DO_NOT, false, delayCs,
                                    frame.transparent};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    Check(EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension));

    std::vector<GifColorType> colours(TableSize(frame.palette.size()));
    std::transform(frame.palette.begin(), frame.palette.end(), colours.begin(), [](uint32_t colour) {
        return GifColorType{GifByteType(colour >> 16), GifByteType(colour >> 8), GifByteType(colour)};
    });
    ColorMapObject* table = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
    if (!table)
        throw Vorn::CWin32Error(ERROR_NOT_ENOUGH_MEMORY);
    const RECT& r = frame.rect;
    const int result = EGifPutImageDesc(m_gif, r.left, r.top, r.right - r.left, r.bottom - r.top, false, table);
    GifFreeMapObject(table);
    Check(result);
    m_line.assign(frame.indices.begin(), frame.indices.end());
    Check(EGifPutLine(m_gif, m_line.data(), static_cast<int>(m_line.size())));
}

void CGifWriter::Finish()
{
    Close();  // writes the trailer, whose write giflib does not check
    Check(m_writeError == ERROR_SUCCESS && Flush() ? GIF_OK : GIF_ERROR);
}
