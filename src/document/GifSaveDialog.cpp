#include "document/GifSaveDialog.h"

#include <commdlg.h>

#include "document/ImageFileDialogs.h"
#include "imageio/GifFile.h"
#include "res/resource.h"
#include "util/CharSearch.h"

bool ChooseGifSaveName(HWND owner, const std::string& proposed, std::string& chosen)
{
    Vorn::CFastString<128> name;
    name.LoadString(IDS_GIF_FILTER);
    FilterString filter;
    AppendBarSeparated(filter, name.GetString());
    filter.Append('\0');
    filter.Append(kGifPatterns);
    filter.Append('\0');
    filter.Append('\0');

    const std::string folder(proposed.c_str(), FileNamePart(proposed.c_str()));
    char path[MAX_PATH] = "";
    lstrcpynA(path, FileNamePart(proposed.c_str()), MAX_PATH);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.GetString();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = "gif";
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&dialog))
        return false;
    chosen = path;
    return true;
}
