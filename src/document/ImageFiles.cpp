#include "document/ImageFiles.h"

#include <commdlg.h>
#include <dlgs.h>

#include <cstring>
#include <string>

#include "ui/MainFrameHandle.h"
#include "imageio/BmpFile.h"
#include "imageio/Dib.h"
#include "imageio/ImageReadResult.h"
#include "imageio/JpegFile.h"
#include "imageio/PngFile.h"
#include "res/resource.h"
#include "util/CharSearch.h"

const ImageFormat g_imageFormats[kImageFormatCount] = {
    {"JPEG", "*.jpg;*.jpeg;*.jpe;*.jfif", "jpg"},
    {"BMP", "*.bmp;*.dib", "bmp"},
    {"PNG", "*.png", "png"},
};

namespace {
constexpr int kJpegQuality = 100;
// The Open dialog starts on "all files", the entry after the formats (indices count from 1).
constexpr DWORD kAllFilesFilterIndex = kImageFormatCount + 1;

// The next ';' of a pattern list, walking whole characters; null at the end.
const char* NextSeparator(const char* text)
{
    for (const char* p = text; *p != '\0'; p = CharNextA(p))
        if (*p == ';')
            return p;
    return nullptr;
}

void AppendFormatFilters(FilterString& filter)
{
    for (const ImageFormat& format : g_imageFormats) {
        filter.Append(format.name);
        filter.Append(" (");
        filter.Append(format.patterns);
        filter.Append(")");
        filter.Append('\0');
        filter.Append(format.patterns);
        filter.Append('\0');
    }
}

// The Save As dialog puts the new type's extension on the proposed name as soon as
// the user picks another type.
UINT_PTR CALLBACK SaveDialogHook(HWND hook, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg != WM_NOTIFY)
        return 0;
    if (reinterpret_cast<NMHDR*>(lParam)->code != CDN_TYPECHANGE)
        return 0;
    // The type list itself says which type is chosen; the record handed to ANSI
    // hooks is not brought up to date everywhere.
    HWND dialog = GetParent(hook);
    const int code = static_cast<int>(SendDlgItemMessageA(dialog, cmb1, CB_GETCURSEL, 0, 0));
    if (code < 0 || code >= kImageFormatCount)
        return 0;
    HWND box = GetDlgItem(dialog, cmb13);
    if (!box)
        box = GetDlgItem(dialog, edt1);
    if (!box)
        return 0;
    char name[MAX_PATH] = {};
    GetWindowTextA(box, name, MAX_PATH);
    const char* extension = g_imageFormats[code].extension;
    char* dot = const_cast<char*>(FindLastChar(name, '.'));
    size_t keep = dot ? static_cast<size_t>(dot + 1 - name) : strlen(name);
    if (!dot && keep + 1 < MAX_PATH)
        name[keep++] = '.';
    if (keep + strlen(extension) < MAX_PATH)
        strcpy(name + keep, extension);
    SendMessageA(dialog, CDM_SETCONTROLTEXT, GetDlgCtrlID(box), reinterpret_cast<LPARAM>(name));
    return 0;
}

std::string LoadedString(UINT id)
{
    Vorn::CFastString<256> text;
    text.LoadString(id);
    return std::string(text.GetString(), text.GetLength());
}

// The system's own wording of an error code, without the line break it ends with.
std::string SystemReason(DWORD dwError)
{
    char* text = nullptr;
    const DWORD dwLength =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, dwError, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = dwLength ? std::string(text, dwLength) : std::to_string(dwError);
    LocalFree(text);
    // Trail bytes of double-byte characters are never below 0x40, so this cuts no character.
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

// A file that cannot be read as an image, or one too large to hold, is said so in the
// program's words; anything else (a locked or vanished file) in the system's.
std::string OpenFailureReason(DWORD dwError)
{
    switch (dwError) {
    case ERROR_INVALID_DATA:
    case ERROR_HANDLE_EOF:
        return LoadedString(IDS_UNRECOGNIZED_IMAGE);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return LoadedString(IDS_IMAGE_TOO_LARGE);
    default:
        return SystemReason(dwError);
    }
}

// Message textId, with %1 the path and %2 the reason, in an error box.
void ShowFileFailure(HWND owner, UINT textId, UINT captionId, const char* path, const std::string& reason)
{
    const std::string format = LoadedString(textId);
    const std::string caption = LoadedString(captionId);
    DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(path), reinterpret_cast<DWORD_PTR>(reason.c_str())};
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                   format.c_str(), 0, 0, reinterpret_cast<char*>(&text), 0, reinterpret_cast<va_list*>(inserts));
    MessageBoxA(owner, text ? text : path, caption.c_str(), MB_ICONHAND | MB_OK);
    LocalFree(text);
}
}

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

void BuildOpenFilter(FilterString& filter)
{
    AppendFormatFilters(filter);
    Vorn::CFastString<64> all;
    all.LoadString(IDS_OPEN_FILTER_ALL);
    char text[65];
    memcpy(text, all.GetString(), all.GetLength() + 1);
    for (char* p = text; *p != '\0'; p = CharNextA(p))
        if (*p == '|')
            *p = '\0';
    filter.Append(text, all.GetLength());
    filter.Append('\0');
}

void BuildSaveFilter(FilterString& filter)
{
    AppendFormatFilters(filter);
    filter.Append('\0');
}

HBITMAP OpenImageFile(char (&pathBuffer)[MAX_PATH + 1])
{
    FilterString filter;
    BuildOpenFilter(filter);
    char title[256] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = g_hMainFrame;
    dialog.lpstrFilter = filter.GetString();
    dialog.nFilterIndex = kAllFilesFilterIndex;
    dialog.lpstrFile = pathBuffer;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = sizeof(title);
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!GetOpenFileNameA(&dialog))
        return nullptr;
    return OpenImagePath(pathBuffer);
}

HBITMAP OpenImagePath(const char* path)
{
    const char* dot = FindLastChar(path, '.');
    const int format = dot ? FindImageFormat(dot + 1) : -1;
    if (format < 0) {
        Vorn::CFastString<64> text;
        Vorn::CFastString<64> caption;
        text.LoadString(IDS_UNSUPPORTED_TYPE);
        caption.LoadString(IDS_OPEN_FAILED);
        MessageBoxA(g_hMainFrame, text.GetString(), caption.GetString(), MB_ICONHAND | MB_OK);
        return nullptr;
    }
    bool incomplete = false;
    HBITMAP bitmap = ReadImageFile(path, format, &incomplete);
    if (!bitmap)
        ShowFileFailure(g_hMainFrame, IDS_LOAD_FILE_FAILED, IDS_OPEN_FAILED, path,
                        OpenFailureReason(GetLastError()));
    else if (incomplete)
        ShowFileFailure(g_hMainFrame, IDS_IMAGE_INCOMPLETE, IDR_MAINFRAME, path, std::string());
    return bitmap;
}

HBITMAP ReadImageFile(const char* path, int formatCode, bool* pIncomplete)
{
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
        read = ReadPngFile(path, dib);
        break;
    }
    DWORD dwError = read ? ERROR_SUCCESS : GetLastError();
    HBITMAP bitmap = nullptr;
    if (read) {
        HDC screen = GetDC(nullptr);
        bitmap = CreateDIBitmap(screen, dib.GetInfo(), CBM_INIT, dib.GetBits(), dib.GetBitmapInfo(), DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        if (!bitmap)
            dwError = ERROR_NOT_ENOUGH_MEMORY;
    }
    dib.Release();
    if (pIncomplete)
        *pIncomplete = bitmap && read == kImageReadIncomplete;
    SetLastError(dwError);
    return bitmap;
}

bool SaveImageAs(HBITMAP bitmap, char (&nameBuffer)[MAX_PATH])
{
    FilterString filter;
    BuildSaveFilter(filter);
    char path[MAX_PATH] = {};
    lstrcpynA(path, nameBuffer, MAX_PATH);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetActiveWindow() ? GetActiveWindow() : g_hMainFrame;
    dialog.lpstrFilter = filter.GetString();
    // The type starts as the one the proposed name says, so that pressing Save on an
    // opened PNG or BMP never writes JPEG data under its name; JPEG for anything else.
    const char* dot = FindLastChar(path, '.');
    const int proposedFormat = dot ? FindImageFormat(dot + 1) : -1;
    dialog.nFilterIndex = proposedFormat >= 0 ? proposedFormat + 1 : 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = g_imageFormats[0].extension;
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK;
    dialog.lpfnHook = SaveDialogHook;
    if (!GetSaveFileNameA(&dialog))
        return false;
    lstrcpynA(nameBuffer, path, MAX_PATH);
    if (SaveImageFile(bitmap, static_cast<int>(dialog.nFilterIndex) - 1, nameBuffer))
        return true;
    ShowFileFailure(dialog.hwndOwner, IDS_SAVE_FILE_FAILED, IDR_MAINFRAME, nameBuffer, SystemReason(GetLastError()));
    return false;
}

bool SaveImageFile(HBITMAP bitmap, int formatCode, const char* path, CFileReplacement::Mode mode)
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
        written = WritePngFile(dib, path, mode);
        break;
    }
    const DWORD dwError = GetLastError();
    dib.Release();
    SetLastError(dwError);
    return written != 0;
}
