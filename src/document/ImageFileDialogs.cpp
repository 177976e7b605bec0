#include "document/ImageFileDialogs.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstring>
#include <string>
#include <vector>

#include "annotate/AnnotatedPng.h"
#include "imageio/GifFile.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "ui/MainFrameHandle.h"
#include "util/CharSearch.h"
#include "util/SystemReason.h"

namespace {
// The Open dialog starts on "all files", the entry after the formats and GIF (indices count
// from 1).
constexpr DWORD kAllFilesFilterIndex = kImageFormatCount + 2;
// The dialogs take a path of any length the system knows, so that a long one typed by the
// user comes back whole to be refused here, instead of overflowing the dialog's buffer.
constexpr DWORD kDialogPathSize = 32768;

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

std::string LoadedString(UINT id)
{
    Vorn::CFastString<256> text;
    text.LoadString(id);
    return std::string(text.GetString(), text.GetLength());
}

// A path longer than the program's file functions take is said so in its own words;
// anything else (a locked or vanished file, a full disk) in the system's.
std::string FileFailureReason(DWORD dwError)
{
    return dwError == ERROR_FILENAME_EXCED_RANGE ? LoadedString(IDS_PATH_TOO_LONG) : SystemReason(dwError);
}

// A file that cannot be read as an image, or one too large to hold, is said so in the
// program's words; anything else as FileFailureReason says it.
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
        return FileFailureReason(dwError);
    }
}

// Why the marks of a picture that opened could not be restored: the picture itself is
// fine, so damaged data is the marks', and memory is the system's reason.
std::string MarksFailureReason(DWORD dwError)
{
    return dwError == ERROR_INVALID_DATA ? LoadedString(IDS_MARKS_DAMAGED) : FileFailureReason(dwError);
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

// A dialog's choice longer than the paths the program keeps is refused with the file's
// name, before anything is done with it.
bool RefusedAsTooLong(HWND owner, UINT textId, UINT captionId, const char* path)
{
    if (strlen(path) < MAX_PATH)
        return false;
    ShowFileFailure(owner, textId, captionId, path, LoadedString(IDS_PATH_TOO_LONG));
    return true;
}

// The dialog's file-name box: a combo box in newer dialogs, an edit in older ones.
HWND NameBoxOf(HWND dialog)
{
    HWND box = GetDlgItem(dialog, cmb13);
    return box ? box : GetDlgItem(dialog, edt1);
}

std::string TextOf(HWND window)
{
    std::vector<char> text(GetWindowTextLengthA(window) + 1);
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

// The format of the type chosen in the Save As dialog, or -1. The type list itself says
// it; the record handed to ANSI hooks is not brought up to date everywhere.
int ChosenType(HWND dialog)
{
    const int code = static_cast<int>(SendDlgItemMessageA(dialog, cmb1, CB_GETCURSEL, 0, 0));
    return code >= 0 && code < kImageFormatCount ? code : -1;
}

// The path the dialog's OK would choose: the typed name, in the folder shown unless it
// names its own, with the chosen type's extension where the Save As dialog adds it.
std::string ChoiceOf(HWND dialog, bool addsExtension)
{
    std::string path = TextOf(NameBoxOf(dialog));
    const bool named = path.size() >= 2 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\'));
    std::vector<char> folder(kDialogPathSize);
    if (!named && SendMessageA(dialog, CDM_GETFOLDERPATH, folder.size(), reinterpret_cast<LPARAM>(folder.data())) > 0)
        path = std::string(folder.data()) + "\\" + path;
    const int type = ChosenType(dialog);
    if (addsExtension && type >= 0 && !FindExtensionDot(path.c_str()))
        path = ChangeExtension(path.c_str(), g_imageFormats[type].extension);
    return path;
}

// How a dialog refuses a path too long for the program.
struct PathCheck {
    UINT textId;
    UINT captionId;
    bool addsExtension;
};
const PathCheck kOpenCheck = {IDS_LOAD_FILE_FAILED, IDS_OPEN_FAILED, false};
const PathCheck kSaveCheck = {IDS_SAVE_FILE_FAILED, IDR_MAINFRAME, true};

// A path too long is refused before the dialog itself handles it, which some systems'
// dialogs cannot do without overrunning their own buffers; the user can then shorten it.
LRESULT CALLBACK PathCheckingProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) {
        const auto* check = reinterpret_cast<const PathCheck*>(data);
        if (RefusedAsTooLong(dialog, check->textId, check->captionId, ChoiceOf(dialog, check->addsExtension).c_str()))
            return 0;
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(dialog, PathCheckingProc, 0);
    return DefSubclassProc(dialog, msg, wParam, lParam);
}

// Both dialogs' hooks start the check with the dialog; the record names the check.
void CheckPathsOf(HWND hook, LPARAM record)
{
    SetWindowSubclass(GetParent(hook), PathCheckingProc, 0, reinterpret_cast<const OPENFILENAMEA*>(record)->lCustData);
}

UINT_PTR CALLBACK OpenDialogHook(HWND hook, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg == WM_INITDIALOG)
        CheckPathsOf(hook, lParam);
    return 0;
}

// The Save As dialog also puts the new type's extension on the proposed name as soon as
// the user picks another type.
UINT_PTR CALLBACK SaveDialogHook(HWND hook, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg == WM_INITDIALOG)
        CheckPathsOf(hook, lParam);
    if (msg != WM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->code != CDN_TYPECHANGE)
        return 0;
    HWND dialog = GetParent(hook);
    const int type = ChosenType(dialog);
    HWND box = NameBoxOf(dialog);
    if (type < 0 || !box)
        return 0;
    const std::string renamed = ChangeExtension(TextOf(box).c_str(), g_imageFormats[type].extension);
    SendMessageA(dialog, CDM_SETCONTROLTEXT, GetDlgCtrlID(box), reinterpret_cast<LPARAM>(renamed.c_str()));
    return 0;
}
}

void AppendBarSeparated(FilterString& filter, const char* text)
{
    for (const char* p = text; *p != '\0'; p = CharNextA(p)) {
        if (*p == '|')
            filter.Append('\0');
        else
            filter.Append(p, CharNextA(p) - p);
    }
}

void BuildOpenFilter(FilterString& filter)
{
    AppendFormatFilters(filter);
    Vorn::CFastString<64> gif;
    gif.LoadString(IDS_GIF_FILTER);
    filter.Append(gif.GetString());
    filter.Append('\0');
    filter.Append(kGifPatterns);
    filter.Append('\0');
    Vorn::CFastString<64> all;
    all.LoadString(IDS_OPEN_FILTER_ALL);
    AppendBarSeparated(filter, all.GetString());
    filter.Append('\0');
}

void BuildSaveFilter(FilterString& filter)
{
    AppendFormatFilters(filter);
    filter.Append('\0');
}

HBITMAP OpenImageFile(char (&pathBuffer)[MAX_PATH + 1], std::vector<Annotation>* objects)
{
    FilterString filter;
    BuildOpenFilter(filter);
    std::vector<char> path(kDialogPathSize);
    char title[256] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = g_hMainFrame;
    dialog.lpstrFilter = filter.GetString();
    dialog.nFilterIndex = kAllFilesFilterIndex;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kDialogPathSize;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = sizeof(title);
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK;
    dialog.lpfnHook = OpenDialogHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(&kOpenCheck);
    if (!GetOpenFileNameA(&dialog))
        return nullptr;
    if (RefusedAsTooLong(g_hMainFrame, IDS_LOAD_FILE_FAILED, IDS_OPEN_FAILED, path.data()))
        return nullptr;
    lstrcpynA(pathBuffer, path.data(), MAX_PATH);
    return OpenImagePath(pathBuffer, objects);
}

HBITMAP OpenImagePath(const char* path, std::vector<Annotation>* objects)
{
    const bool gif = IsGifName(path);
    const int format = ImageFormatOfName(path);
    if (format < 0 && !gif) {
        Vorn::CFastString<64> text;
        Vorn::CFastString<64> caption;
        text.LoadString(IDS_UNSUPPORTED_TYPE);
        caption.LoadString(IDS_OPEN_FAILED);
        MessageBoxA(g_hMainFrame, text.GetString(), caption.GetString(), MB_ICONHAND | MB_OK);
        return nullptr;
    }
    bool incomplete = false;
    std::string marks;
    HBITMAP bitmap =
        gif ? ReadGifFirstFrame(path) : ReadImageFile(path, format, &incomplete, objects ? &marks : nullptr);
    // Marks that do not fit the pixels (another program changed them) are dropped,
    // and the file opens as the picture it shows; marks that fit but cannot be read are
    // lost too, and the user learns that the picture stays flattened.
    CBitmapOwner clean;
    const MarksRestore restore = bitmap && !marks.empty() && !incomplete
                                     ? UnpackAnnotatedImage(marks, bitmap, clean, *objects)
                                     : MarksRestore::kOtherPicture;
    if (restore == MarksRestore::kRestored) {
        DeleteObject(bitmap);
        bitmap = clean.release();
    }
    if (!bitmap)
        ShowFileFailure(g_hMainFrame, IDS_LOAD_FILE_FAILED, IDS_OPEN_FAILED, path,
                        OpenFailureReason(GetLastError()));
    else if (incomplete)
        ShowFileFailure(g_hMainFrame, IDS_IMAGE_INCOMPLETE, IDR_MAINFRAME, path, std::string());
    else if (restore == MarksRestore::kFailed)
        ShowFileFailure(g_hMainFrame, IDS_MARKS_NOT_RESTORED, IDR_MAINFRAME, path, MarksFailureReason(GetLastError()));
    return bitmap;
}

bool SaveImageAs(const ImageWriter& write, char (&nameBuffer)[MAX_PATH])
{
    FilterString filter;
    BuildSaveFilter(filter);
    std::vector<char> path(kDialogPathSize);
    lstrcpynA(path.data(), nameBuffer, MAX_PATH);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetActiveWindow() ? GetActiveWindow() : g_hMainFrame;
    dialog.lpstrFilter = filter.GetString();
    // The type starts as the one the proposed name says, so that pressing Save on an
    // opened PNG or BMP never writes JPEG data under its name; JPEG for anything else.
    const int proposedFormat = ImageFormatOfName(nameBuffer);
    dialog.nFilterIndex = proposedFormat >= 0 ? proposedFormat + 1 : 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kDialogPathSize;
    dialog.lpstrDefExt = g_imageFormats[0].extension;
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK;
    dialog.lpfnHook = SaveDialogHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(&kSaveCheck);
    if (!GetSaveFileNameA(&dialog))
        return false;
    if (RefusedAsTooLong(dialog.hwndOwner, IDS_SAVE_FILE_FAILED, IDR_MAINFRAME, path.data()))
        return false;
    lstrcpynA(nameBuffer, path.data(), MAX_PATH);
    // A typed extension of a format the program writes is what the user asked for; the
    // chosen type decides only for a name that names none.
    const int typedFormat = ImageFormatOfName(nameBuffer);
    const int format = typedFormat >= 0 ? typedFormat : static_cast<int>(dialog.nFilterIndex) - 1;
    if (write(format, nameBuffer))
        return true;
    ShowFileFailure(dialog.hwndOwner, IDS_SAVE_FILE_FAILED, IDR_MAINFRAME, nameBuffer,
                    FileFailureReason(GetLastError()));
    return false;
}
