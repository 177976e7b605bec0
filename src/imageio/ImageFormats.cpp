#include "imageio/ImageFormats.h"

#include <cstring>

#include "imageio/BmpFile.h"
#include "imageio/Dib.h"
#include "imageio/ImageReadResult.h"
#include "imageio/JpegFile.h"
#include "imageio/PngFile.h"
#include "scoped/ScopedHandles.h"
#include "util/CharSearch.h"

const ImageFormat g_imageFormats[kImageFormatCount] = {
    {"JPEG", "*.jpg;*.jpeg;*.jpe;*.jfif", "jpg"},
    {"BMP", "*.bmp;*.dib", "bmp"},
    {"PNG", "*.png", "png"},
};

namespace {
constexpr int kJpegQuality = 100;

// The next ';' of a pattern list, walking whole characters; null at the end.
const char* NextSeparator(const char* text)
{
    for (const char* p = text; *p != '\0'; p = CharNextA(p))
        if (*p == ';')
            return p;
    return nullptr;
}
}  // namespace

bool MatchFilterExtension(const char* patternList, const char* extension)
{
    const size_t length = strlen(extension);
    for (const char* pattern = patternList; pattern;) {
        const char* candidate = pattern + 2;  // after "*."
        if (strnlen(pattern, 2) == 2 && strnlen(candidate, length) == length &&
            CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, candidate, static_cast<int>(length), extension,
                           static_cast<int>(length)) == CSTR_EQUAL &&
            (candidate[length] == ';' || candidate[length] == '\0'))
            return true;
        const char* separator = NextSeparator(pattern);
        pattern = separator ? separator + 1 : nullptr;
    }
    return false;
}

int FindImageFormat(const char* extension)
{
    for (int code = 0; code < kImageFormatCount; ++code)
        if (MatchFilterExtension(g_imageFormats[code].patterns, extension))
            return code;
    return -1;
}

int ImageFormatOfName(const char* path)
{
    const char* dot = FindExtensionDot(path);
    return dot ? FindImageFormat(dot + 1) : -1;
}

std::string ChangeExtension(const char* path, const char* extension)
{
    const char* dot = FindExtensionDot(path);
    return std::string(path, dot ? dot - path : strlen(path)) + "." + extension;
}

HBITMAP ReadImageFile(const char* path, int formatCode, bool* pIncomplete, std::string* privateChunk)
{
    if (privateChunk)
        privateChunk->clear();
    CDib dib;
    int read = 0;
    switch (formatCode) {
    case 0:
        read = ReadJpegFile(path, dib);
        break;
    case 1:
        read = ReadBmpFile(path, dib);
        break;
    default:
        read = ReadPngFile(path, dib, privateChunk);
        break;
    }
    const DWORD dwError = read ? ERROR_SUCCESS : GetLastError();
    // The readers fill a DIB section, which becomes the document's bitmap as it is.
    HBITMAP bitmap = read ? dib.DetachSection() : nullptr;
    dib.Release();
    if (pIncomplete)
        *pIncomplete = bitmap && read == kImageReadIncomplete;
    SetLastError(dwError);
    return bitmap;
}

bool SaveImageFile(HBITMAP bitmap, int formatCode, const char* path, CFileReplacement::Mode mode,
                   const std::string* privateChunk)
{
    if (formatCode < 0 || formatCode >= kImageFormatCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    CDib dib;
    if (!dib.FromBitmap(bitmap)) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    int written = 0;
    switch (formatCode) {
    case 0:
        written = WriteJpegFile(dib, path, kJpegQuality, mode);
        break;
    case 1:
        written = WriteBmpFile(dib, path, mode);
        break;
    default:
        written = WritePngFile(dib, path, mode, privateChunk);
        break;
    }
    const DWORD dwError = GetLastError();
    dib.Release();
    SetLastError(dwError);
    return written != 0;
}
