#include "ocr/OcrEngine.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <type_traits>

#include "ocr/OcrText.h"
#include "util/ModulePath.h"

namespace {

struct TessBaseAPI;
struct TessResultIterator;
struct TessPageIterator;
struct ETEXT_DESC;

constexpr int kTextLine = 2;  // the engine's RIL_TEXTLINE
constexpr int kSymbol = 4;    // the engine's RIL_SYMBOL
constexpr int kSingleLine = 7;  // the engine's PSM_SINGLE_LINE
// Both languages at once read every word with the English model too, which wins on some
// Chinese words and turns them into Latin letters; the Chinese model alone knows Latin
// letters and digits, but the English one reads English better. Prepared screen text is
// read in Chinese, and the lines mostly in Latin letters again in English.
const char* const kLanguages = "chi_sim+eng";
const char* const kChinese = "chi_sim";
const char* const kEnglish = "eng";
constexpr int kRereadPadding = 4;

bool MostlyLatin(const std::wstring& text)
{
    int ideographs = 0, letters = 0;
    for (const wchar_t c : text) {
        ideographs += IsIdeograph(c);
        letters += (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
    }
    return letters > 4 * ideographs;
}

std::wstring FromUtf8(const char* text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return std::wstring();
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], length);
    wide.resize(length - 1);
    return wide;
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// Holds the engine's mutex; the wait for it gives up when cancel says so.
class COcrEngine::CLock : CNonCopyable {
public:
    explicit CLock(HANDLE mutex, const CancelQuery& cancel = {}) : m_mutex(mutex)
    {
        constexpr DWORD kCancelPollMs = 50;
        while (!m_held) {
            m_held = WaitForSingleObject(m_mutex, cancel ? kCancelPollMs : INFINITE) != WAIT_TIMEOUT;
            if (!m_held && cancel())
                return;
        }
    }
    ~CLock()
    {
        if (m_held)
            ReleaseMutex(m_mutex);
    }
    bool Held() const { return m_held; }

private:
    HANDLE m_mutex;
    bool m_held = false;
};

// The engine's C interface, resolved by name: the program links no import library so
// that it starts without the DLL.
struct COcrEngine::SApi {
    TessBaseAPI* (*Create)();
    void (*Delete)(TessBaseAPI*);
    int (*Init3)(TessBaseAPI*, const char* dataPath, const char* language);
    void (*SetPageSegMode)(TessBaseAPI*, int mode);
    void (*SetImage)(TessBaseAPI*, const unsigned char*, int width, int height, int bytesPerPixel, int stride);
    void (*SetSourceResolution)(TessBaseAPI*, int ppi);
    void (*SetRectangle)(TessBaseAPI*, int left, int top, int width, int height);
    char* (*GetUTF8Text)(TessBaseAPI*);
    int (*Recognize)(TessBaseAPI*, ETEXT_DESC* monitor);
    void (*DeleteText)(const char*);
    TessResultIterator* (*GetIterator)(TessBaseAPI*);
    void (*IteratorDelete)(TessResultIterator*);
    int (*IteratorNext)(TessResultIterator*, int level);
    char* (*IteratorText)(const TessResultIterator*, int level);
    const TessPageIterator* (*PageIterator)(const TessResultIterator*);
    int (*BoundingBox)(const TessPageIterator*, int level, int* left, int* top, int* right, int* bottom);
    int (*IsAtBeginningOf)(const TessPageIterator*, int level);
    ETEXT_DESC* (*MonitorCreate)();
    void (*MonitorDelete)(ETEXT_DESC*);
    void (*MonitorSetCancelFunc)(ETEXT_DESC*, bool (*)(void* cancelThis, int words));
    void (*MonitorSetCancelThis)(ETEXT_DESC*, void* cancelThis);
    int (*MonitorGetProgress)(ETEXT_DESC*);
    TessBaseAPI* handle = nullptr;  // both languages, as the plain engine reads
    TessBaseAPI* chinese = nullptr;
    TessBaseAPI* english = nullptr;

    ~SApi()
    {
        for (TessBaseAPI* api : {handle, chinese, english})
            if (api)
                Delete(api);
    }

    bool Resolve(HMODULE dll)
    {
        bool all = true;
        const auto resolve = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                reinterpret_cast<void*>(GetProcAddress(dll, name)));
            all = all && function != nullptr;
        };
        resolve(Create, "TessBaseAPICreate");
        resolve(Delete, "TessBaseAPIDelete");
        resolve(Init3, "TessBaseAPIInit3");
        resolve(SetPageSegMode, "TessBaseAPISetPageSegMode");
        resolve(SetImage, "TessBaseAPISetImage");
        resolve(SetSourceResolution, "TessBaseAPISetSourceResolution");
        resolve(SetRectangle, "TessBaseAPISetRectangle");
        resolve(GetUTF8Text, "TessBaseAPIGetUTF8Text");
        resolve(Recognize, "TessBaseAPIRecognize");
        resolve(DeleteText, "TessDeleteText");
        resolve(GetIterator, "TessBaseAPIGetIterator");
        resolve(IteratorDelete, "TessResultIteratorDelete");
        resolve(IteratorNext, "TessResultIteratorNext");
        resolve(IteratorText, "TessResultIteratorGetUTF8Text");
        resolve(PageIterator, "TessResultIteratorGetPageIterator");
        resolve(BoundingBox, "TessPageIteratorBoundingBox");
        resolve(IsAtBeginningOf, "TessPageIteratorIsAtBeginningOf");
        resolve(MonitorCreate, "TessMonitorCreate");
        resolve(MonitorDelete, "TessMonitorDelete");
        resolve(MonitorSetCancelFunc, "TessMonitorSetCancelFunc");
        resolve(MonitorSetCancelThis, "TessMonitorSetCancelThis");
        resolve(MonitorGetProgress, "TessMonitorGetProgress");
        return all;
    }
};

COcrEngine::COcrEngine(std::string folder) : m_folder(std::move(folder)), m_lock(CreateMutexA(nullptr, FALSE, nullptr))
{
    char programFolder[MAX_PATH];
    if (m_folder.empty() && MakeModuleFilePath("", programFolder))
        m_folder = programFolder;
}

COcrEngine::~COcrEngine()
{
    delete m_api;
}

SOcrLoadResult COcrEngine::Load()
{
    // Once tried, the answer never changes: no need to wait for a reading that holds the lock.
    if (InterlockedCompareExchange(&m_loadTried, 0, 0))
        return m_load;
    const CLock lock(m_lock.get());
    if (!m_loadTried) {
        m_load = LoadLocked();
        InterlockedExchange(&m_loadTried, 1);
    }
    return m_load;
}

std::string COcrEngine::MissingFile() const
{
    for (const char* file : {"lumiocr.dll", "tessdata\\chi_sim.traineddata", "tessdata\\eng.traineddata"}) {
        if (!FileExists(m_folder + file))
            return m_folder + file;
    }
    return std::string();
}

SOcrLoadResult COcrEngine::LoadLocked()
{
    const std::string dllPath = m_folder + "lumiocr.dll", dataPath = m_folder + "tessdata";
    const std::string missing = MissingFile();
    if (!missing.empty())
        return {EOcrLoad::MissingFile, missing, ERROR_FILE_NOT_FOUND};
    // Whatever the engine's DLL itself needs is looked for beside it.
    m_dll.reset(LoadLibraryExA(dllPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!m_dll)
        return {EOcrLoad::UnusableFile, dllPath, GetLastError()};
    auto api = std::make_unique<SApi>();
    if (!api->Resolve(m_dll.get()))
        return {EOcrLoad::UnusableFile, dllPath, ERROR_PROC_NOT_FOUND};
    for (const auto& [handle, languages] : {std::pair{&api->handle, kLanguages}, std::pair{&api->chinese, kChinese},
                                            std::pair{&api->english, kEnglish}}) {
        *handle = api->Create();
        const int initResult = api->Init3(*handle, dataPath.c_str(), languages);
        if (initResult != 0)
            return {EOcrLoad::UnusableFile, dataPath, static_cast<DWORD>(initResult)};
    }
    m_api = api.release();
    return {};
}

EOcrOutcome COcrEngine::Recognise(const DWORD* pixels, int width, int height, EOcrPageMode pageMode, bool prepare,
                                  const CancelQuery& cancel, const ProgressReport& progress,
                                  std::vector<SOcrLine>& lines)
{
    lines.clear();
    if (Load().state != EOcrLoad::Ready)
        return EOcrOutcome::NotLoaded;
    if (width <= 0 || height <= 0)
        return EOcrOutcome::Done;
    const bool byRegion = prepare && pageMode == EOcrPageMode::Choose;
    if (!byRegion) {
        const SOcrInput input = prepare ? PrepareScreenText(pixels, width, height, pageMode)
                                        : PrepareAsIs(pixels, width, height, pageMode);
        const CLock lock(m_lock.get(), cancel);
        const EOcrOutcome outcome = lock.Held()
                                        ? RecogniseLocked(input, prepare, width, height, {0, 0}, cancel, progress, lines)
                                        : EOcrOutcome::Cancelled;
        if (outcome != EOcrOutcome::Done)
            lines.clear();
        return outcome;
    }
    const std::vector<SScreenRegion> regions = SplitScreenRegions(pixels, width, height);
    const CLock lock(m_lock.get(), cancel);
    if (!lock.Held())
        return EOcrOutcome::Cancelled;
    for (size_t i = 0; i < regions.size(); ++i) {
        const SScreenRegion& region = regions[i];
        const int regionWidth = region.rect.right - region.rect.left;
        const int regionHeight = region.rect.bottom - region.rect.top;
        const size_t count = regions.size();
        const ProgressReport regionProgress = [&](int percent) {
            if (progress)
                progress(static_cast<int>((i * 100 + percent) / count));
        };
        const EOcrOutcome outcome =
            RecogniseLocked(PrepareScreenText(region.pixels.data(), regionWidth, regionHeight, pageMode), true,
                            regionWidth, regionHeight, {region.rect.left, region.rect.top}, cancel, regionProgress,
                            lines);
        if (outcome != EOcrOutcome::Done) {
            lines.clear();
            return outcome;
        }
    }
    if (regions.empty() && progress)
        progress(100);
    return EOcrOutcome::Done;
}

EOcrOutcome COcrEngine::RecogniseLocked(const SOcrInput& input, bool prepared, int width, int height, POINT origin,
                                        const CancelQuery& cancel, const ProgressReport& progress,
                                        std::vector<SOcrLine>& lines)
{
    struct SMonitorState {
        const SApi& api;
        ETEXT_DESC* monitor;
        const CancelQuery& cancel;
        const ProgressReport& progress;
        int lastPercent;
        bool cancelled;
    };
    const SApi& api = *m_api;
    const ProgressReport noProgress;
    ETEXT_DESC* monitor = api.MonitorCreate();
    SMonitorState state{api, monitor, cancel, progress, -1, false};
    // The engine asks whether to stop between words: the moment to pass on its progress too.
    const auto askBetweenWords = [](void* cancelThis, int) {
        auto& s = *static_cast<SMonitorState*>(cancelThis);
        const int percent = s.api.MonitorGetProgress(s.monitor);
        if (s.progress && percent != s.lastPercent)
            s.progress(percent);
        s.lastPercent = percent;
        s.cancelled = s.cancelled || (s.cancel && s.cancel());
        return s.cancelled;
    };
    api.MonitorSetCancelThis(monitor, &state);
    api.MonitorSetCancelFunc(monitor, askBetweenWords);
    // Screen pixels are at 96 per inch before scaling; saying so spares the engine its guess.
    const int resolution = static_cast<int>(std::lround(96 * input.scale));
    TessBaseAPI* const reader = prepared ? api.chinese : api.handle;
    api.SetPageSegMode(reader, static_cast<int>(input.pageMode));
    api.SetImage(reader, input.grey.data(), input.width, input.height, 1, input.width);
    api.SetSourceResolution(reader, resolution);
    const int recognised = api.Recognize(reader, monitor);
    api.MonitorDelete(monitor);
    if (recognised != 0)
        return state.cancelled ? EOcrOutcome::Cancelled : EOcrOutcome::Failed;

    TessResultIterator* line = api.GetIterator(reader);
    if (!line)
        return EOcrOutcome::Done;
    // A line read again must not move the progress back: only cancel is asked then.
    ETEXT_DESC* rereadMonitor = api.MonitorCreate();
    SMonitorState rereadState{api, rereadMonitor, cancel, noProgress, -1, false};
    api.MonitorSetCancelThis(rereadMonitor, &rereadState);
    api.MonitorSetCancelFunc(rereadMonitor, askBetweenWords);
    bool rereadImageSet = false;
    const auto readAgain = [&](const RECT& box, std::wstring& text) {
        if (!rereadImageSet) {
            api.SetImage(api.english, input.grey.data(), input.width, input.height, 1, input.width);
            api.SetPageSegMode(api.english, kSingleLine);
            api.SetSourceResolution(api.english, resolution);
            rereadImageSet = true;
        }
        const int left = std::max(0, static_cast<int>(box.left) - kRereadPadding);
        const int top = std::max(0, static_cast<int>(box.top) - kRereadPadding);
        const int right = std::min(input.width, static_cast<int>(box.right) + kRereadPadding);
        const int bottom = std::min(input.height, static_cast<int>(box.bottom) + kRereadPadding);
        api.SetRectangle(api.english, left, top, right - left, bottom - top);
        if (api.Recognize(api.english, rereadMonitor) != 0)
            return false;
        char* again = api.GetUTF8Text(api.english);
        if (again) {
            text = TidyOcrLine(PairBrackets(FromUtf8(again)));
            api.DeleteText(again);
        }
        return true;
    };
    const auto toSource = [&](int scaled, int limit, bool up, LONG offset) {
        const double source = (scaled - input.margin) / input.scale;
        return offset + std::clamp(static_cast<int>(up ? std::ceil(source) : std::floor(source)), 0, limit);
    };
    const auto textAt = [&](int level) {
        char* text = api.IteratorText(line, level);
        const std::wstring wide = text ? FromUtf8(text) : std::wstring();
        if (text)
            api.DeleteText(text);
        return wide;
    };
    const auto boxAt = [&](int level, RECT& box) {
        int left, top, right, bottom;
        if (!api.BoundingBox(api.PageIterator(line), level, &left, &top, &right, &bottom))
            return false;
        box = {left, top, right, bottom};
        return true;
    };
    bool cancelled = false, more = true;
    while (more && !cancelled) {
        RECT box = {};
        const bool boxed = boxAt(kTextLine, box);
        std::wstring text = textAt(kTextLine);
        if (prepared) {
            // The line's characters with their boxes, up to the next line.
            std::vector<SOcrSymbol> symbols;
            do {
                SOcrSymbol symbol{textAt(kSymbol), {}};
                if (boxAt(kSymbol, symbol.box))
                    symbols.push_back(std::move(symbol));
                more = api.IteratorNext(line, kSymbol);
            } while (more && !api.IsAtBeginningOf(api.PageIterator(line), kTextLine));
            text = PairBrackets(WidenPunctuation(text, symbols));
        } else {
            more = api.IteratorNext(line, kTextLine);
        }
        if (!boxed)
            continue;
        SOcrLine recognisedLine{TidyOcrLine(text),
                                {toSource(box.left, width, false, origin.x), toSource(box.top, height, false, origin.y),
                                 toSource(box.right, width, true, origin.x),
                                 toSource(box.bottom, height, true, origin.y)}};
        if (prepared && MostlyLatin(recognisedLine.text))
            cancelled = !readAgain(box, recognisedLine.text);
        if (!recognisedLine.text.empty())
            lines.push_back(std::move(recognisedLine));
    }
    api.IteratorDelete(line);
    api.MonitorDelete(rereadMonitor);
    if (cancelled)
        return EOcrOutcome::Cancelled;
    if (progress && state.lastPercent != 100)
        progress(100);
    return EOcrOutcome::Done;
}
