#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ocr/OcrPreprocess.h"
#include "scoped/NonCopyable.h"
#include "scoped/ScopedHandles.h"

// Why the engine cannot read: the file named is missing, or there but unusable (error
// is then the system's or the engine's code). The UI names the file to the user.
enum class EOcrLoad { Ready, MissingFile, UnusableFile };
struct SOcrLoadResult {
    EOcrLoad state = EOcrLoad::Ready;
    std::string file;
    DWORD error = 0;
};

enum class EOcrOutcome { Done, Cancelled, NotLoaded, Failed };

// One recognised text line, tidied, and its box in the picture that was read.
struct SOcrLine {
    std::wstring text;
    RECT box;
};

// The recognition engine, lumiocr.dll with its language data in tessdata\, loaded by path
// when first needed so that the program starts and works without them. The data takes
// seconds to load and is kept for the rest of the run. Safe to call from any thread; one
// recognition runs at a time.
class COcrEngine : CNonCopyable {
public:
    using CancelQuery = std::function<bool()>;
    using ProgressReport = std::function<void(int percent)>;

    // folder holds lumiocr.dll and tessdata\ and ends in a backslash; empty means the
    // program's own folder.
    explicit COcrEngine(std::string folder = std::string());
    ~COcrEngine();

    // Loads the engine and Chinese and English data the first time; later calls give the
    // first answer again at once, also while a reading runs.
    SOcrLoadResult Load();
    // The first of the engine's files that is not there, or empty: a quick look on disk,
    // for the command to refuse at once rather than after a reading has started.
    std::string MissingFile() const;

    // Reads the picture (0x00RRGGBB, top-down), prepared for screen text or as it is,
    // into lines in the picture's coordinates; lines is empty unless the outcome is Done.
    // Prepared with the page mode to be chosen, each region of its own background (window,
    // panel) is read on its own.
    // cancel is asked and progress told (0-100) on the calling thread, often, also while
    // waiting for another thread's reading to end.
    EOcrOutcome Recognise(const DWORD* pixels, int width, int height, EOcrPageMode pageMode, bool prepare,
                          const CancelQuery& cancel, const ProgressReport& progress, std::vector<SOcrLine>& lines);

private:
    struct SApi;
    class CLock;
    SOcrLoadResult LoadLocked();
    // Adds the lines read in input, a picture of width x height at origin in the caller's,
    // prepared for screen text or not.
    EOcrOutcome RecogniseLocked(const SOcrInput& input, bool prepared, int width, int height, POINT origin,
                                const CancelQuery& cancel, const ProgressReport& progress,
                                std::vector<SOcrLine>& lines);

    std::string m_folder;
    CKernelHandleOwner m_lock;  // a mutex, waited for in slices so that waiting can be cancelled
    volatile LONG m_loadTried = 0;
    SOcrLoadResult m_load;
    CModuleOwner m_dll;
    SApi* m_api = nullptr;
};
