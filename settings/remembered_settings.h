// What the program remembers between runs, each thing with its typed load and
// save. Loads fall back to the default when nothing (or no application) is
// there; only the MiniViewer's save reports a refused write, by throwing as
// CProfileData does.
#pragma once

#include <windows.h>

#include "framework/cstring.h"

// The main window is created at its last restored place (a third of the screen
// each way at first), moved onto a screen that is there; it starts minimised
// when it closed so. Saved from the window's placement, if it has one.
void PlaceMainWindow(CREATESTRUCTA& cs);
BOOL LoadMainWindowIconic();
void SaveMainWindow(HWND hWnd);

// The MiniViewer likewise (a stored place without area gets the first size),
// and its font.
void PlaceMiniViewer(CREATESTRUCTA& cs);
void LoadMiniViewerFont(LOGFONTA& font);
void SaveMiniViewer(HWND hWnd, HFONT hFont);

// A file list column's width: 0 when none or a damaged one is stored.
int LoadColumnWidth(int nColumn);
void SaveColumnWidths(const int* pWidths, int nColumns);
int LoadSortOrder();
void SaveSortOrder(int nOrder);
// FALSE, leaving cx alone, when no width is stored.
BOOL LoadDirPaneWidth(int& cx);
void SaveDirPaneWidth(int cx);
BOOL LoadExtractWithFolders();
void SaveExtractWithFolders(BOOL bWithFolders);
// The folder last chosen in the folder dialog; empty when none.
CString LoadLastFolder();
void SaveLastFolder(LPCSTR lpszFolder);
