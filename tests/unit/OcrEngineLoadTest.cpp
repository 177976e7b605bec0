#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imageio/TopDownDib.h"
#include "scoped/ScopedHandles.h"
#include "util/ModulePath.h"

// The text-recognition engine is lumiocr.dll beside the program, with its language data
// in tessdata\ beside it; the program loads it by path only when text is to be read, so
// these tests do the same through the engine's C interface.
namespace {

struct TessBaseAPI;
struct TessResultIterator;
struct TessPageIterator;
struct ETEXT_DESC;
using CancelFunc = bool (*)(void* cancelThis, int words);

constexpr int PSM_SINGLE_BLOCK = 6;
constexpr int RIL_TEXTLINE = 2;

struct OcrEngine {
    CModuleOwner dll;
    TessBaseAPI* (*Create)();
    void (*Delete)(TessBaseAPI*);
    int (*Init3)(TessBaseAPI*, const char* dataPath, const char* language);
    void (*SetPageSegMode)(TessBaseAPI*, int mode);
    void (*SetImage)(TessBaseAPI*, const unsigned char*, int width, int height, int bytesPerPixel, int stride);
    int (*Recognize)(TessBaseAPI*, ETEXT_DESC* monitor);
    char* (*GetUTF8Text)(TessBaseAPI*);
    void (*DeleteText)(const char*);
    TessResultIterator* (*GetIterator)(TessBaseAPI*);
    void (*IteratorDelete)(TessResultIterator*);
    int (*IteratorNext)(TessResultIterator*, int level);
    char* (*IteratorText)(const TessResultIterator*, int level);
    const TessPageIterator* (*PageIterator)(const TessResultIterator*);
    int (*BoundingBox)(const TessPageIterator*, int level, int* left, int* top, int* right, int* bottom);
    ETEXT_DESC* (*MonitorCreate)();
    void (*MonitorDelete)(ETEXT_DESC*);
    void (*MonitorSetCancelFunc)(ETEXT_DESC*, CancelFunc);

    template <typename Function>
    void Resolve(Function& function, const char* name)
    {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(dll.get(), name)));
        ASSERT_NE(function, nullptr) << name << " is not exported";
    }
};

std::string Utf8(const wchar_t* text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], length, nullptr, nullptr);
    utf8.resize(length - 1);
    return utf8;
}

std::string WithoutSpaces(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

std::vector<std::string> Lines(const char* text)
{
    std::vector<std::string> lines;
    for (const char* start = text; *start;) {
        const char* end = start + strcspn(start, "\n");
        if (end > start)
            lines.emplace_back(start, end);
        start = *end ? end + 1 : end;
    }
    return lines;
}

class OcrEngineLoad : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char dllPath[MAX_PATH], dataPath[MAX_PATH];
        ASSERT_TRUE(MakeModuleFilePath("lumiocr.dll", dllPath));
        ASSERT_TRUE(MakeModuleFilePath("tessdata", dataPath));
        s_engine.dll.reset(LoadLibraryA(dllPath));
        ASSERT_NE(s_engine.dll.get(), nullptr) << dllPath << " does not load: " << GetLastError();
        OcrEngine& e = s_engine;
        e.Resolve(e.Create, "TessBaseAPICreate");
        e.Resolve(e.Delete, "TessBaseAPIDelete");
        e.Resolve(e.Init3, "TessBaseAPIInit3");
        e.Resolve(e.SetPageSegMode, "TessBaseAPISetPageSegMode");
        e.Resolve(e.SetImage, "TessBaseAPISetImage");
        e.Resolve(e.Recognize, "TessBaseAPIRecognize");
        e.Resolve(e.GetUTF8Text, "TessBaseAPIGetUTF8Text");
        e.Resolve(e.DeleteText, "TessDeleteText");
        e.Resolve(e.GetIterator, "TessBaseAPIGetIterator");
        e.Resolve(e.IteratorDelete, "TessResultIteratorDelete");
        e.Resolve(e.IteratorNext, "TessResultIteratorNext");
        e.Resolve(e.IteratorText, "TessResultIteratorGetUTF8Text");
        e.Resolve(e.PageIterator, "TessResultIteratorGetPageIterator");
        e.Resolve(e.BoundingBox, "TessPageIteratorBoundingBox");
        e.Resolve(e.MonitorCreate, "TessMonitorCreate");
        e.Resolve(e.MonitorDelete, "TessMonitorDelete");
        e.Resolve(e.MonitorSetCancelFunc, "TessMonitorSetCancelFunc");
        s_api = e.Create();
        ASSERT_EQ(0, e.Init3(s_api, dataPath, "chi_sim+eng")) << "no language data in " << dataPath;
    }
    static void TearDownTestSuite()
    {
        if (s_api)
            s_engine.Delete(s_api);
        s_api = nullptr;
        s_engine.dll.reset();
    }

    // Screen text at about 32 px in the system's message font, dark on light, drawn
    // by GDI into the program's own pixel layout; each line's place goes to m_lines.
    void SetUp() override
    {
        ASSERT_NE(s_api, nullptr);
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof(metrics);
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
        metrics.lfMessageFont.lfHeight = -32;
        const CFontOwner font(CreateFontIndirectW(&metrics.lfMessageFont));
        DWORD* pixels = nullptr;
        m_bitmap = CreateTopDownDib(kWidth, kHeight, pixels);
        ASSERT_NE(m_bitmap.get(), nullptr);
        std::fill(pixels, pixels + kWidth * kHeight, 0xF0F0F0);
        m_pixels = pixels;
        const CMemoryDC dc(nullptr);
        const CSelectObject bitmap(dc, m_bitmap.get()), selectedFont(dc, font.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0x20, 0x20, 0x20));
        int y = 24;
        for (const wchar_t* text : {L"Hello 2026", L"你好世界"}) {
            SIZE size;
            GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
            TextOutW(dc, 40, y, text, lstrlenW(text));
            m_lines.push_back({40, y, 40 + size.cx, y + size.cy});
            y += size.cy * 2;
        }
        GdiFlush();
    }

    void Recognise() const
    {
        s_engine.SetPageSegMode(s_api, PSM_SINGLE_BLOCK);
        s_engine.SetImage(s_api, reinterpret_cast<const unsigned char*>(m_pixels), kWidth, kHeight, 4,
                          kWidth * 4);
    }

    static constexpr int kWidth = 480, kHeight = 200;
    static OcrEngine s_engine;
    static TessBaseAPI* s_api;
    CBitmapOwner m_bitmap;
    const DWORD* m_pixels = nullptr;
    std::vector<RECT> m_lines;
};
OcrEngine OcrEngineLoad::s_engine;
TessBaseAPI* OcrEngineLoad::s_api;

TEST_F(OcrEngineLoad, ReadsEnglishAndChineseLinesFromPixelsInMemoryWithTheirBoxes)
{
    Recognise();
    ASSERT_EQ(0, s_engine.Recognize(s_api, nullptr));
    char* text = s_engine.GetUTF8Text(s_api);
    ASSERT_NE(text, nullptr);
    const std::vector<std::string> lines = Lines(text);
    s_engine.DeleteText(text);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("Hello 2026", lines[0]);
    EXPECT_EQ(Utf8(L"你好世界"), WithoutSpaces(lines[1])) << "the engine may space out Chinese characters";

    TessResultIterator* line = s_engine.GetIterator(s_api);
    ASSERT_NE(line, nullptr);
    size_t index = 0;
    do {
        ASSERT_LT(index, m_lines.size());
        int left, top, right, bottom;
        ASSERT_TRUE(s_engine.BoundingBox(s_engine.PageIterator(line), RIL_TEXTLINE, &left, &top, &right, &bottom));
        const RECT& drawn = m_lines[index];
        EXPECT_TRUE(left >= drawn.left - 4 && right <= drawn.right + 4 && top >= drawn.top - 4 &&
                    bottom <= drawn.bottom + 4 && right - left > (drawn.right - drawn.left) / 2)
            << "line " << index << " boxed at " << left << ',' << top << '-' << right << ',' << bottom
            << ", drawn at " << drawn.left << ',' << drawn.top << '-' << drawn.right << ',' << drawn.bottom;
        char* lineText = s_engine.IteratorText(line, RIL_TEXTLINE);
        EXPECT_EQ(lines[index] + "\n", lineText);
        s_engine.DeleteText(lineText);
        ++index;
    } while (s_engine.IteratorNext(line, RIL_TEXTLINE));
    s_engine.IteratorDelete(line);
    EXPECT_EQ(m_lines.size(), index);
}

TEST_F(OcrEngineLoad, StopsWhenTheMonitorCancelsAndReadsAgainAfterwards)
{
    static int s_asked;
    s_asked = 0;
    ETEXT_DESC* monitor = s_engine.MonitorCreate();
    s_engine.MonitorSetCancelFunc(monitor, [](void*, int) { return ++s_asked > 0; });
    Recognise();
    EXPECT_NE(0, s_engine.Recognize(s_api, monitor));
    s_engine.MonitorDelete(monitor);
    EXPECT_GT(s_asked, 0);

    Recognise();
    ASSERT_EQ(0, s_engine.Recognize(s_api, nullptr)) << "the engine stays usable after a cancel";
    char* text = s_engine.GetUTF8Text(s_api);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ("Hello 2026", Lines(text).at(0));
    s_engine.DeleteText(text);
}

}  // namespace
