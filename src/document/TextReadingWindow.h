#pragma once
#include <windows.h>

class COcrEngine;

HWND OpenTextReadingWindow(COcrEngine& engine, HWND owner, HBITMAP picture, const RECT& beside);
