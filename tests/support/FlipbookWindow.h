#pragma once
#include <windows.h>

#include <vector>

// A topmost popup of this thread at place that shows a known sequence of pictures, the next
// one every intervalMs once Start is called, and notes when each reached the screen. Picture
// k is one of a few plain colours with a black square whose place moves with k, so that a
// change covers the whole window or only part of it. The thread must pump messages.
class CFlipbookWindow {
public:
    CFlipbookWindow(const RECT& place, int pictures);
    ~CFlipbookWindow();
    CFlipbookWindow(const CFlipbookWindow&) = delete;
    CFlipbookWindow& operator=(const CFlipbookWindow&) = delete;

    // The first picture reached the screen before the deadline.
    bool Shown() const { return m_bShown; }
    void Start(UINT intervalMs);
    // The last picture is on the screen.
    bool Finished() const { return m_shownAt.size() == m_pictures.size(); }
    int PictureCount() const { return static_cast<int>(m_pictures.size()); }
    const std::vector<DWORD>& Picture(int k) const { return m_pictures[k]; }
    // GetTickCount when picture k was painted (0 is the first picture's Start).
    DWORD ShownAt(int k) const { return m_shownAt[k]; }
    // The picture equal to pixels (Width() * Height()), or -1.
    int Find(const std::vector<DWORD>& pixels) const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ShowNext();

    RECT m_place;
    std::vector<std::vector<DWORD>> m_pictures;
    std::vector<DWORD> m_shownAt;
    int m_nCurrent = 0;
    HWND m_hWnd = nullptr;
    bool m_bShown = false;
};
