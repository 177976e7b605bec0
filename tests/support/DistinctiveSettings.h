#pragma once
#include <windows.h>

#include "settings/MoreOptions.h"
#include "settings/Settings.h"

// A settings record in which every stored field differs from its default and from zero,
// so that a field lost, swapped or left at its default on the way shows.
inline CSettings DistinctiveSettings()
{
    CSettings s;
    s.m_bSimulatePrintScreen = 1;
    s.m_bIncludeCursor = 1;
    s.m_bHideMainWindow = 2;
    s.m_nCaptureDelay = 0xFFFFFFF0u;
    s.m_bShowAfterCapture = -1;
    s.m_bPlaySound = 7;
    s.m_strNamePrefix = "\xB2\xE2\xCA\xD4\xCD\xBC";  // 测试图, three GBK characters
    s.m_bAutoSave = 1;
    s.m_strSaveFolder = "C:\\\xBD\xD8\xCD\xBC\\";  // 截图 on drive C, with the closing backslash
    s.m_nSaveType = 1;
    s.m_bFullScreenHotkey = 3;
    s.m_wFullScreenKey = 0xFFFE;
    s.m_wFullScreenMods = 0x8005;
    s.m_bModalHotkey = 4;
    s.m_wModalKey = 'Q';
    s.m_wModalMods = 9;
    s.m_nModalMode = 3;
    s.m_nMagnification = 32;
    s.m_nSkin = 5;
    return s;
}

// The added options of lumigrab.ini, each differing from its default.
inline MoreOptions DistinctiveMoreOptions()
{
    MoreOptions options;
    options.m_nCountdownSeconds = 5;
    options.m_bCopyAfterCapture = 1;
    options.m_bNoDocumentAfterCapture = 1;
    options.m_bPinAfterCapture = 1;
    options.m_bLastRegionHotkey = 1;
    options.m_wLastRegionKey = VK_F9;
    options.m_wLastRegionMods = 6;
    options.m_bDeskForAllCaptures = 1;
    options.m_bMarkupHotkey = 1;
    options.m_wMarkupKey = 'M';
    options.m_wMarkupMods = 5;
    options.m_nLongshotMaxRows = 4321;
    options.m_nRecordFramesPerSecond = 20;
    options.m_bHasLastRegion = 1;
    options.m_rcLastRegion = {-1280, -20, 300, 700};
    return options;
}
