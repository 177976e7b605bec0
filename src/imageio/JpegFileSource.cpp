#include "imageio/JpegFileSource.h"

#include <jerror.h>

namespace {

CJpegFileSource* SourceOf(j_decompress_ptr cinfo)
{
    return static_cast<CJpegFileSource*>(cinfo->src);
}

void InitSource(j_decompress_ptr cinfo)
{
    SourceOf(cinfo)->m_bStartOfFile = TRUE;
}

// Never suspends: at the end of the data (or on a failed read) it hands the library an
// end-of-image marker, so a cut-off file still decodes, its missing rows filled in.
boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    CJpegFileSource* pSource = SourceOf(cinfo);
    DWORD dwRead = 0;
    if (!::ReadFile(*pSource->m_phFile, pSource->m_pBuffer, kJpegFileBufferSize, &dwRead, nullptr) ||
        dwRead == 0) {
        WARNMS(cinfo, JWRN_JPEG_EOF);
        pSource->m_bEndedEarly = true;
        pSource->m_pBuffer[0] = 0xFF;
        pSource->m_pBuffer[1] = JPEG_EOI;
        dwRead = 2;
    }
    pSource->next_input_byte = pSource->m_pBuffer;
    pSource->bytes_in_buffer = dwRead;
    pSource->m_bStartOfFile = FALSE;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long numBytes)
{
    if (numBytes <= 0)
        return;
    CJpegFileSource* pSource = SourceOf(cinfo);
    while (static_cast<size_t>(numBytes) > pSource->bytes_in_buffer) {
        numBytes -= static_cast<long>(pSource->bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    pSource->next_input_byte += numBytes;
    pSource->bytes_in_buffer -= static_cast<size_t>(numBytes);
}

void TermSource(j_decompress_ptr) {}

}  // namespace

void InstallJpegFileSource(j_decompress_ptr cinfo, HANDLE* phFile)
{
    if (!cinfo->src) {
        auto* pSource = static_cast<CJpegFileSource*>(
            (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(CJpegFileSource)));
        pSource->m_pBuffer = static_cast<JOCTET*>(
            (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kJpegFileBufferSize));
        cinfo->src = pSource;
    }
    CJpegFileSource* pSource = SourceOf(cinfo);
    pSource->init_source = InitSource;
    pSource->fill_input_buffer = FillInputBuffer;
    pSource->skip_input_data = SkipInputData;
    pSource->resync_to_restart = jpeg_resync_to_restart;
    pSource->term_source = TermSource;
    pSource->bytes_in_buffer = 0;
    pSource->next_input_byte = nullptr;
    pSource->m_phFile = phFile;
    pSource->m_bEndedEarly = false;
}
