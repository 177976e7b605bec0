// The capture engine's skin manager as the program uses it: snapcore.dll loaded from
// the test program's own folder, drawing into real memory DCs.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Gbk.h"
#include "LiveGdiObjects.h"
#include "gui/SnapcoreFixture.h"
#include "snapcore.h"

namespace {

constexpr COLORREF kSentinel = RGB(1, 2, 3);
constexpr int kCanvasWidth = 260, kCanvasHeight = 220;
constexpr RECT kFrame = {20, 15, 240, 200};
constexpr int kFillBackground = 1; // what the program passes

std::wstring Wide(const char* ansi)
{
    wchar_t buffer[256] = {};
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, buffer, 255);
    return buffer;
}

const std::string kMagnifierCaption = ToGbk(L"\u653E\u5927\u955C"); // 放大镜

// A 32-bit top-down bitmap in a memory DC, filled with a colour no skin uses, so
// every pixel a drawing touches can be told from the ones it left alone.
class CCanvas {
public:
    CCanvas()
    {
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        format.bmiHeader.biWidth = kCanvasWidth;
        format.bmiHeader.biHeight = -kCanvasHeight;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        m_hDC = CreateCompatibleDC(nullptr);
        m_hBitmap = CreateDIBSection(m_hDC, &format, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pBits), nullptr, 0);
        m_hOld = SelectObject(m_hDC, m_hBitmap);
        const RECT all{0, 0, kCanvasWidth, kCanvasHeight};
        SetDCBrushColor(m_hDC, kSentinel);
        FillRect(m_hDC, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    ~CCanvas()
    {
        SelectObject(m_hDC, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hDC);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    HDC DC() const { return m_hDC; }

    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const uint32_t rgb = m_pBits[y * kCanvasWidth + x];
        return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }

    std::vector<uint32_t> Pixels() const
    {
        GdiFlush();
        return std::vector<uint32_t>(m_pBits, m_pBits + kCanvasWidth * kCanvasHeight);
    }

    // Pixels inside r that are no longer the sentinel, and every pixel outside it that
    // is not the sentinel any more.
    int ChangedInside(const RECT& r) const { return CountChanged(r, true); }
    int ChangedOutside(const RECT& r) const { return CountChanged(r, false); }

private:
    int CountChanged(const RECT& r, bool inside) const
    {
        int changed = 0;
        for (int y = 0; y < kCanvasHeight; ++y)
            for (int x = 0; x < kCanvasWidth; ++x) {
                const bool inRect = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                if (inRect == inside && At(x, y) != kSentinel)
                    ++changed;
            }
        return changed;
    }

    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    uint32_t* m_pBits = nullptr;
};

struct ReleaseSkinManager {
    void operator()(ISkinManager* manager) const { manager->Release(); }
};
using SkinManagerPtr = std::unique_ptr<ISkinManager, ReleaseSkinManager>;

int ListLength(const SkinEntry* list)
{
    int count = 0;
    while (list[count].name)
        ++count;
    return count;
}

RECT ClientOf(ISkinManager& manager, const RECT& frame)
{
    RECT client{-1, -1, -1, -1};
    manager.CalcClientRect(&frame, &client);
    return client;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return outer.left <= inner.left && inner.left <= inner.right && inner.right <= outer.right &&
           outer.top <= inner.top && inner.top <= inner.bottom && inner.bottom <= outer.bottom;
}

// A frame with a caption and a label inside its client area, as the options page's
// preview and the magnifier draw them.
std::vector<uint32_t> Sample(ISkinManager& manager)
{
    const CCanvas canvas;
    manager.DrawFrame(canvas.DC(), &kFrame, kMagnifierCaption.c_str(), kFillBackground);
    RECT label = ClientOf(manager, kFrame);
    InflateRect(&label, -7, -7);
    manager.DrawLabel(canvas.DC(), &label, "X: 12  Y: 34", kFillBackground);
    return canvas.Pixels();
}

class SnapcoreSkin : public SnapcoreFixture {
protected:
    void SetUp() override
    {
        SnapcoreFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_pManager = Create();
        ASSERT_NE(m_pManager, nullptr);
        m_nSkins = ListLength(m_pManager->GetSkinList(0));
    }
    void TearDown() override
    {
        m_pManager.reset();
        SnapcoreFixture::TearDown();
    }

    SkinManagerPtr Create() const { return SkinManagerPtr(m_pfnCreateSkinManager()); }

    SkinManagerPtr m_pManager;
    int m_nSkins = 0;
};

TEST_F(SnapcoreSkin, ListsAtLeastFourDistinctChineseNamesEndedByNull)
{
    const SkinEntry* list = m_pManager->GetSkinList(0);
    ASSERT_GE(m_nSkins, 4);
    EXPECT_EQ(m_pManager->GetSkinCount(), m_nSkins);
    EXPECT_EQ(Wide(list[0].name), L"\u7ECF\u5178\u84DD") << "the first skin, 经典蓝, is the default";
    std::set<std::string> names;
    for (int i = 0; i < m_nSkins; ++i) {
        const std::wstring wide = Wide(list[i].name);
        ASSERT_FALSE(wide.empty()) << "skin " << i;
        // Readable in the system code page: ideographs only, no replacement marks.
        for (const wchar_t c : wide)
            EXPECT_TRUE(c >= 0x4E00 && c <= 0x9FFF) << "skin " << i << " has U+" << std::hex << int(c);
        EXPECT_LT(std::string(list[i].name).size(), 64u) << "fits the options page's 64-byte buffer";
        names.insert(list[i].name);
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(m_nSkins));
}

TEST_F(SnapcoreSkin, ClientAreaLiesInsideEveryFrame)
{
    const RECT frames[] = {kFrame, {0, 0, 1, 1}, {5, 5, 5, 5}, {50, 50, 10, 10}, {0, 0, 12, 300},
                           {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MAX - 3, INT_MIN, INT_MAX, INT_MIN + 4}};
    for (int skin = 0; skin < m_nSkins; ++skin) {
        m_pManager->SelectSkin(skin, 0);
        const RECT client = ClientOf(*m_pManager, kFrame);
        EXPECT_TRUE(client.left > kFrame.left && client.right < kFrame.right && client.bottom < kFrame.bottom)
            << "skin " << skin << " leaves a border";
        EXPECT_GE(client.top - kFrame.top, 16) << "skin " << skin << " leaves room for a caption";
        for (const RECT& frame : frames) {
            const RECT inner = ClientOf(*m_pManager, frame);
            const RECT ordered{frame.left, frame.top, std::max(frame.left, frame.right), std::max(frame.top, frame.bottom)};
            EXPECT_TRUE(Contains(ordered, inner))
                << "skin " << skin << " frame " << frame.left << "," << frame.top << "," << frame.right << ","
                << frame.bottom << " client " << inner.left << "," << inner.top << "," << inner.right << ","
                << inner.bottom;
        }
    }
    RECT untouched{1, 2, 3, 4};
    m_pManager->CalcClientRect(nullptr, &untouched);
    m_pManager->CalcClientRect(&kFrame, nullptr);
    EXPECT_EQ(untouched.right, 3);
}

TEST_F(SnapcoreSkin, FramesPaintOnlyInsideTheirRectangle)
{
    for (int skin = 0; skin < m_nSkins; ++skin) {
        m_pManager->SelectSkin(skin, 0);
        const RECT client = ClientOf(*m_pManager, kFrame);
        const int border = (kFrame.right - kFrame.left) * (kFrame.bottom - kFrame.top) -
                           (client.right - client.left) * (client.bottom - client.top);
        {
            const CCanvas canvas;
            m_pManager->DrawFrame(canvas.DC(), &kFrame, kMagnifierCaption.c_str(), kFillBackground);
            EXPECT_EQ(canvas.ChangedOutside(kFrame), 0) << "skin " << skin;
            EXPECT_EQ(canvas.ChangedInside(kFrame), (kFrame.right - kFrame.left) * (kFrame.bottom - kFrame.top))
                << "skin " << skin << " paints its whole frame, client included";
        }
        {
            // Without the fill flag the client stays as the caller drew it.
            const CCanvas canvas;
            m_pManager->DrawFrame(canvas.DC(), &kFrame, kMagnifierCaption.c_str(), 0);
            EXPECT_EQ(canvas.ChangedOutside(kFrame), 0) << "skin " << skin;
            EXPECT_EQ(canvas.ChangedInside(kFrame), border) << "skin " << skin;
        }
    }
}

TEST_F(SnapcoreSkin, LabelsPaintOnlyInsideTheirRectangleAndShowTheirText)
{
    const RECT label{40, 60, 200, 90};
    const std::string longText(3000, 'W');
    for (int skin = 0; skin < m_nSkins; ++skin) {
        m_pManager->SelectSkin(skin, 0);
        const CCanvas filled, bare, textOnly, tooLong;
        m_pManager->DrawLabel(filled.DC(), &label, kMagnifierCaption.c_str(), kFillBackground);
        m_pManager->DrawLabel(bare.DC(), &label, "", kFillBackground);
        m_pManager->DrawLabel(textOnly.DC(), &label, kMagnifierCaption.c_str(), 0);
        m_pManager->DrawLabel(tooLong.DC(), &label, longText.c_str(), kFillBackground);
        for (const CCanvas* canvas : {&filled, &bare, &textOnly, &tooLong})
            EXPECT_EQ(canvas->ChangedOutside(label), 0) << "skin " << skin;
        EXPECT_EQ(filled.ChangedInside(label), (label.right - label.left) * (label.bottom - label.top));
        EXPECT_NE(filled.Pixels(), bare.Pixels()) << "skin " << skin << " draws the Chinese text";
        EXPECT_GT(textOnly.ChangedInside(label), 20) << "skin " << skin << " draws text on the caller's background";
        EXPECT_LT(textOnly.ChangedInside(label), (label.right - label.left) * (label.bottom - label.top) / 2);
    }
}

TEST_F(SnapcoreSkin, LongCaptionsStayInsideTheFrame)
{
    std::wstring longCaption;
    for (int i = 0; i < 500; ++i)
        longCaption += L"\u8F85\u52A9\u7A97\u53E3"; // 辅助窗口
    const std::string caption = ToGbk(longCaption);
    for (int skin = 0; skin < m_nSkins; ++skin) {
        m_pManager->SelectSkin(skin, 0);
        const CCanvas canvas;
        m_pManager->DrawFrame(canvas.DC(), &kFrame, caption.c_str(), kFillBackground);
        EXPECT_EQ(canvas.ChangedOutside(kFrame), 0) << "skin " << skin;
    }
}

// Frames and labels reaching the ends of the coordinate range cover the whole canvas.
TEST_F(SnapcoreSkin, HugeRectanglesCoverTheCanvas)
{
    const RECT huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    const RECT all{0, 0, kCanvasWidth, kCanvasHeight};
    const std::string lines = "X: 1\nY: 2";
    for (int skin = 0; skin < m_nSkins; ++skin) {
        m_pManager->SelectSkin(skin, 0);
        const CCanvas frame, label;
        m_pManager->DrawFrame(frame.DC(), &huge, kMagnifierCaption.c_str(), kFillBackground);
        m_pManager->DrawLabel(label.DC(), &huge, lines.c_str(), kFillBackground);
        EXPECT_EQ(frame.ChangedInside(all), kCanvasWidth * kCanvasHeight) << "skin " << skin;
        EXPECT_EQ(label.ChangedInside(all), kCanvasWidth * kCanvasHeight) << "skin " << skin;
    }
}

// The options page cuts the sample frame off at the bottom with its own clip region
// and keeps painting with the same DC afterwards.
TEST_F(SnapcoreSkin, KeepsTheCallersClipRegionAndDCState)
{
    const CCanvas canvas;
    const RECT visible{0, 0, kCanvasWidth, 120};
    const HRGN clip = CreateRectRgnIndirect(&visible);
    SelectClipRgn(canvas.DC(), clip);
    SetTextColor(canvas.DC(), RGB(10, 20, 30));
    SetBkMode(canvas.DC(), OPAQUE);
    SetDCBrushColor(canvas.DC(), RGB(40, 50, 60));
    const HGDIOBJ font = GetCurrentObject(canvas.DC(), OBJ_FONT);

    m_pManager->SelectSkin(1, 0);
    m_pManager->DrawFrame(canvas.DC(), &kFrame, kMagnifierCaption.c_str(), kFillBackground);
    const RECT label{30, 100, 230, 140};
    m_pManager->DrawLabel(canvas.DC(), &label, kMagnifierCaption.c_str(), kFillBackground);

    const RECT belowClip{0, visible.bottom, kCanvasWidth, kCanvasHeight};
    EXPECT_EQ(canvas.ChangedInside(belowClip), 0);
    EXPECT_GT(canvas.ChangedInside(visible), 0);
    const HRGN after = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetClipRgn(canvas.DC(), after), 1);
    EXPECT_TRUE(EqualRgn(after, clip));
    EXPECT_EQ(GetTextColor(canvas.DC()), RGB(10, 20, 30));
    EXPECT_EQ(GetBkMode(canvas.DC()), OPAQUE);
    EXPECT_EQ(GetDCBrushColor(canvas.DC()), RGB(40, 50, 60));
    EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_FONT), font);
    SelectClipRgn(canvas.DC(), nullptr);
    DeleteObject(after);
    DeleteObject(clip);
}

TEST_F(SnapcoreSkin, EverySkinLooksDifferent)
{
    std::vector<std::vector<uint32_t>> samples;
    for (int skin = 0; skin < m_nSkins; ++skin) {
        m_pManager->SelectSkin(skin, 0);
        samples.push_back(Sample(*m_pManager));
        for (int earlier = 0; earlier < skin; ++earlier)
            EXPECT_NE(samples[earlier], samples[skin]) << "skins " << earlier << " and " << skin;
    }
}

TEST_F(SnapcoreSkin, SelectingAnIndexOutsideTheListKeepsTheCurrentSkin)
{
    m_pManager->SelectSkin(2, 0);
    const std::vector<uint32_t> selected = Sample(*m_pManager);
    for (const int outside : {-1, m_nSkins, m_nSkins + 1, INT_MAX, INT_MIN})
        m_pManager->SelectSkin(outside, 0);
    EXPECT_EQ(Sample(*m_pManager), selected);
    m_pManager->SelectSkin(0, 0);
    EXPECT_NE(Sample(*m_pManager), selected);
}

TEST_F(SnapcoreSkin, ManagersKeepTheirOwnSelectionAndList)
{
    const SkinManagerPtr second = Create();
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second.get(), m_pManager.get()) << "a new manager each call";
    m_pManager->SelectSkin(1, 0);
    const std::vector<uint32_t> first = Sample(*m_pManager);
    second->SelectSkin(3, 0);
    EXPECT_EQ(Sample(*m_pManager), first);
    EXPECT_NE(Sample(*second), first);

    // A list stays readable while its own manager lives, whatever happens to others.
    const SkinEntry* list = m_pManager->GetSkinList(0);
    const std::string name = list[2].name;
    SkinManagerPtr third = Create();
    third.reset();
    EXPECT_EQ(list[2].name, name);
}

// The program calls the operations by their position in the table of virtual operations.
TEST_F(SnapcoreSkin, EachSlotAnswersAtItsPosition)
{
    using ReleaseSlot = void(__stdcall*)(void*);
    using GetSkinListSlot = const SkinEntry*(__stdcall*)(void*, int);
    using SelectSkinSlot = void(__stdcall*)(void*, int, int);
    using CalcClientRectSlot = void(__stdcall*)(void*, const RECT*, RECT*);
    using GetSkinCountSlot = int(__stdcall*)(void*);
    using DrawSlot = void(__stdcall*)(void*, HDC, const RECT*, const char*, int);

    ISkinManager* manager = m_pfnCreateSkinManager();
    ASSERT_NE(manager, nullptr);
    void* const* slots = *reinterpret_cast<void* const* const*>(manager);
    const auto slot = [&](int index, auto type) { return reinterpret_cast<decltype(type)>(slots[index]); };

    const SkinEntry* list = slot(1, GetSkinListSlot{})(manager, 0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ListLength(list), m_nSkins);
    EXPECT_EQ(slot(4, GetSkinCountSlot{})(manager), m_nSkins);

    slot(2, SelectSkinSlot{})(manager, 3, 0);
    m_pManager->SelectSkin(3, 0);
    RECT client{};
    slot(3, CalcClientRectSlot{})(manager, &kFrame, &client);
    const RECT expected = ClientOf(*m_pManager, kFrame);
    EXPECT_TRUE(EqualRect(&client, &expected));

    const CCanvas bySlot;
    slot(5, DrawSlot{})(manager, bySlot.DC(), &kFrame, kMagnifierCaption.c_str(), kFillBackground);
    const RECT label{client.left + 7, client.top + 7, client.right - 7, client.bottom - 7};
    slot(6, DrawSlot{})(manager, bySlot.DC(), &label, "X: 12  Y: 34", kFillBackground);
    EXPECT_EQ(bySlot.Pixels(), Sample(*m_pManager));

    slot(0, ReleaseSlot{})(manager);
}

TEST_F(SnapcoreSkin, IgnoresMissingAndEmptyArguments)
{
    const CCanvas canvas;
    const RECT empty{50, 50, 50, 90}, inverted{100, 100, 60, 60};
    for (int skin = 0; skin < m_nSkins; ++skin) {
        m_pManager->SelectSkin(skin, 0);
        for (const RECT* rect : {static_cast<const RECT*>(nullptr), &empty, &inverted}) {
            m_pManager->DrawFrame(canvas.DC(), rect, kMagnifierCaption.c_str(), kFillBackground);
            m_pManager->DrawLabel(canvas.DC(), rect, kMagnifierCaption.c_str(), kFillBackground);
        }
        m_pManager->DrawFrame(nullptr, &kFrame, kMagnifierCaption.c_str(), kFillBackground);
        m_pManager->DrawLabel(nullptr, &kFrame, "x", kFillBackground);
    }
    EXPECT_EQ(canvas.ChangedInside(RECT{0, 0, kCanvasWidth, kCanvasHeight}), 0);

    // A missing text still gets its frame or label box.
    m_pManager->DrawFrame(canvas.DC(), &kFrame, nullptr, kFillBackground);
    m_pManager->DrawLabel(canvas.DC(), &kFrame, nullptr, kFillBackground);
    EXPECT_GT(canvas.ChangedInside(kFrame), 0);
}

TEST_F(SnapcoreSkin, LeavesNoGdiObjectsBehind)
{
    const auto cycle = [&] {
        const CCanvas canvas;
        for (int managerIndex = 0; managerIndex < 2; ++managerIndex) {
            const SkinManagerPtr manager = Create();
            for (int skin = 0; skin < m_nSkins; ++skin) {
                manager->SelectSkin(skin, 0);
                manager->DrawFrame(canvas.DC(), &kFrame, kMagnifierCaption.c_str(), skin % 2);
                RECT label = ClientOf(*manager, kFrame);
                manager->DrawLabel(canvas.DC(), &label, "X: 1\nY: 2", kFillBackground);
            }
        }
    };
    cycle(); // the first fonts may warm caches that stay
    const size_t before = LiveGdiObjects();
    for (int i = 0; i < 50; ++i)
        cycle();
    EXPECT_EQ(LiveGdiObjects(), before);
}

} // namespace
