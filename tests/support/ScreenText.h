#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Text as a screen shows it: lines drawn by GDI, antialiased, in the system's message
// font (the program's UI font) or the face named, at a given pixel height, into a picture
// of the program's layout (0x00RRGGBB, top-down), with each line's place on it.
struct SScreenText {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    std::vector<RECT> lines;
};

SScreenText DrawScreenText(const std::vector<std::wstring>& lines, int pixelHeight, COLORREF ink,
                           COLORREF background, const wchar_t* face = nullptr);
// The face GDI actually draws with when face is asked for (nullptr: the message font).
std::wstring ScreenTextFace(const wchar_t* face = nullptr);

// A desktop-like picture: panels (windows, title bars, task bars) of flat colour on a
// desktop of another, each with its lines of text in the message font; lines holds where
// each panel's text was drawn, in order.
struct SScreenPanel {
    RECT place;
    int pixelHeight;
    COLORREF ink, background;
    std::vector<std::wstring> lines;
};
SScreenText DrawScreenPanels(int width, int height, COLORREF desktop, const std::vector<SScreenPanel>& panels);
