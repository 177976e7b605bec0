#include "app/TextReader.h"

#include "app/DocumentTabs.h"
#include "document/ImageFrame.h"
#include "document/TextReadingWindow.h"
#include "imageio/BitmapPart.h"
#include "res/resource.h"
#include "util/AppMessageBox.h"
#include "util/SystemReason.h"

namespace {

// Fewer rows than this hold no line of text the engine can read.
constexpr int kLeastSide = 8;

}  // namespace

void CTextReader::ReadDocument(HWND window, HWND frame)
{
    CImageFrame* document = nullptr;
    if (m_documents.FindTab(window, &document) < 0)
        return;
    CBitmapOwner flattened;
    HBITMAP output = document->OutputImage(flattened);
    const CImageView& view = document->View();
    if (!output) {
        AppMessageBox(frame, IDS_OCR_NOT_STARTED, MB_ICONEXCLAMATION, SystemReason(GetLastError()).c_str());
        return;
    }
    const SIZE size = view.Document().ImageSize();
    RECT area{0, 0, size.cx, size.cy};
    CBitmapOwner part;
    if (view.MarkedArea(area)) {
        if (area.right - area.left < kLeastSide || area.bottom - area.top < kLeastSide) {
            AppMessageBox(frame, IDS_OCR_AREA_TOO_SMALL, MB_ICONEXCLAMATION);
            return;
        }
        part = CopyBitmapPart(output, area);
        if (!part) {
            AppMessageBox(frame, IDS_OCR_NOT_STARTED, MB_ICONEXCLAMATION,
                          SystemReason(ERROR_NOT_ENOUGH_MEMORY).c_str());
            return;
        }
        output = part.get();
    }
    RECT place{};
    GetWindowRect(view.Handle(), &place);
    Read(output, place, frame);
}

void CTextReader::Read(HBITMAP picture, const RECT& place, HWND frame)
{
    const std::string missing = m_engine.MissingFile();
    if (!missing.empty()) {
        AppMessageBox(frame, IDS_OCR_MISSING_FILE, MB_ICONEXCLAMATION, missing.c_str());
        return;
    }
    if (!OpenTextReadingWindow(m_engine, frame, picture, place))
        AppMessageBox(frame, IDS_OCR_NOT_STARTED, MB_ICONEXCLAMATION, SystemReason(GetLastError()).c_str());
}
