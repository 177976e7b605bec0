#include "settings/AuxPage.h"

#include <utility>

#include "res/resource.h"
#include "util/FastString.h"
#include "util/TruncateText.h"

namespace {
// The preview reads the selected name into a 64-byte buffer.
const size_t kMaxSkinNameBytes = 63;
}  // namespace

CAuxPage::CAuxPage(AuxWindowOptions& options, SkinManagerSource skinManagerSource)
    : CPropertyPage(IDD_OPTIONS_AUX), m_options(options), m_skinManagerSource(std::move(skinManagerSource))
{
}

BOOL CAuxPage::OnInitDialog()
{
    m_skinManager.reset(m_skinManagerSource());
    m_preview.Attach(Item(IDC_SKIN_PREVIEW), Item(IDC_SKIN_LIST), m_skinManager.get());
    if (m_skinManager) {
        const SkinEntry* skins = m_skinManager->GetSkinList(0);
        for (const SkinEntry* skin = skins; skin && skin->name; ++skin)
            AddListEntry(IDC_SKIN_LIST, TruncateToWholeChars(skin->name, kMaxSkinNameBytes).c_str());
    } else {
        // Without an engine there are no skins to choose; the preview says why.
        EnableItem(IDC_SKIN_LIST, false);
        Vorn::CFastString<128> reason;
        reason.LoadString(IDS_NO_SKIN_PREVIEW);
        SetText(IDC_SKIN_PREVIEW, reason.GetString());
    }
    Load();
    return TRUE;
}

void CAuxPage::Load()
{
    const CSettings defaults = CSettings::Defaults();
    if (m_options.m_nMagnification < static_cast<int32_t>(kMinMagnification) ||
        m_options.m_nMagnification > static_cast<int32_t>(kMaxMagnification))
        m_options.m_nMagnification = defaults.m_nMagnification;
    SetUnsigned(IDC_MAGNIFICATION, static_cast<uint32_t>(m_options.m_nMagnification));
    // The stored skin stays as it is while there is no list to choose from.
    if (!m_skinManager)
        return;
    ShowSelection(IDC_SKIN_LIST, m_options.m_nSkin, defaults.m_nSkin);
    ShowSkin(m_options.m_nSkin, true);
}

bool CAuxPage::OnCommand(WORD id, WORD code, HWND)
{
    if (id != IDC_SKIN_LIST || code != LBN_SELCHANGE)
        return false;
    ShowSkin(GetSelection(IDC_SKIN_LIST), false);
    return true;
}

bool CAuxPage::OnKillActive()
{
    uint32_t magnification = 0;
    if (!GetUnsigned(IDC_MAGNIFICATION, magnification) || magnification < kMinMagnification ||
        magnification > kMaxMagnification)
        return Refuse(IDC_MAGNIFICATION);
    m_options.m_nMagnification = static_cast<int32_t>(magnification);
    if (!m_skinManager)
        return true;
    const int skin = GetSelection(IDC_SKIN_LIST);
    if (skin < 0)
        return Refuse(IDC_SKIN_LIST);
    m_options.m_nSkin = skin;
    return true;
}

void CAuxPage::ShowSkin(int index, bool erase)
{
    if (!m_skinManager)
        return;
    m_skinManager->SelectSkin(index, 0);
    InvalidateRect(Item(IDC_SKIN_PREVIEW), nullptr, erase);
}
