#pragma once
#include <windows.h>

#include "ocr/OcrEngine.h"

class CDocumentTabs;

// Reading the text in pictures, for the whole run: the engine and its language data are
// loaded the first time and kept. Each reading shows in a window of its own beside the
// picture, which outlives the document it came from.
class CTextReader {
public:
    explicit CTextReader(CDocumentTabs& documents) : m_documents(documents) {}
    CTextReader(const CTextReader&) = delete;
    CTextReader& operator=(const CTextReader&) = delete;

    // Reads the picture of a document window as every output takes it, marks drawn in: the
    // area the crop frame or the rubber band marks, or else all of it.
    void ReadDocument(HWND document, HWND frame);
    // Reads picture (still the caller's), which shows at place on the screen.
    void Read(HBITMAP picture, const RECT& place, HWND frame);

private:
    CDocumentTabs& m_documents;
    COcrEngine m_engine;
};
