#include "imageio/JpegFileDest.h"

#include "imageio/Win32File.h"

namespace {

CJpegFileDest* DestOf(j_compress_ptr cinfo)
{
    return static_cast<CJpegFileDest*>(cinfo->dest);
}

void InitDestination(j_compress_ptr cinfo)
{
    CJpegFileDest* pDest = DestOf(cinfo);
    pDest->m_pBuffer = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, kJpegFileBufferSize));
    pDest->next_output_byte = pDest->m_pBuffer;
    pDest->free_in_buffer = kJpegFileBufferSize;
}

// The library calls this only when the buffer is full.
boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    CJpegFileDest* pDest = DestOf(cinfo);
    CWin32File::WriteAll(*pDest->m_phFile, pDest->m_pBuffer, kJpegFileBufferSize);
    pDest->next_output_byte = pDest->m_pBuffer;
    pDest->free_in_buffer = kJpegFileBufferSize;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    CJpegFileDest* pDest = DestOf(cinfo);
    const DWORD dwPending = kJpegFileBufferSize - static_cast<DWORD>(pDest->free_in_buffer);
    if (dwPending != 0)
        CWin32File::WriteAll(*pDest->m_phFile, pDest->m_pBuffer, dwPending);
}

}  // namespace

void InstallJpegFileDest(j_compress_ptr cinfo, HANDLE* phFile)
{
    if (!cinfo->dest)
        cinfo->dest = static_cast<CJpegFileDest*>(
            (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(CJpegFileDest)));
    CJpegFileDest* pDest = DestOf(cinfo);
    pDest->init_destination = InitDestination;
    pDest->empty_output_buffer = EmptyOutputBuffer;
    pDest->term_destination = TermDestination;
    pDest->m_phFile = phFile;
}
