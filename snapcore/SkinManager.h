// The skin manager handed to callers of CreateSkinManager: the list of skins with
// their names in the system code page, and drawing in the selected skin at the
// screen's DPI.
#ifndef SNAPCORE_SKINMANAGER_H
#define SNAPCORE_SKINMANAGER_H

#include <string>
#include <vector>

#include "snapcore.h"

#include "DrawScale.h"

namespace snapcore {

class CSkinManager final : public ISkinManager {
public:
    CSkinManager(); // throws std::bad_alloc
    CSkinManager(const CSkinManager&) = delete;
    CSkinManager& operator=(const CSkinManager&) = delete;

    void __stdcall Release() override;
    const SkinEntry* __stdcall GetSkinList(int reserved) override;
    void __stdcall SelectSkin(int index, int reserved) override;
    void __stdcall CalcClientRect(const RECT* frame, RECT* client) override;
    int __stdcall GetSkinCount() override;
    void __stdcall DrawFrame(HDC dc, const RECT* frame, const char* caption, int flags) override;
    void __stdcall DrawLabel(HDC dc, const RECT* rect, const char* text, int flags) override;

private:
    ~CSkinManager() = default; // only Release ends the object

    std::vector<std::string> m_names;
    std::vector<SkinEntry> m_entries; // ends with a null name
    int m_nSelected = 0;
    const CDrawScale m_scale = CDrawScale::OfScreen();
};

} // namespace snapcore

#endif
