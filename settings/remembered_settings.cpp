// Every section and key the program's settings are stored under, and the
// typed loads and saves over them.
#include "settings/remembered_settings.h"

#include <climits>

#include "framework/winapp.h"
#include "settings/profile_data.h"

namespace {

struct SettingKey {
    LPCSTR pszSection, pszKey;
};

// "settings" and "setting" are two sections (the store ignores case, not
// spelling): these are the spellings users' settings already have, and a
// corrected one would lose their values.
const SettingKey kExtractWithFolders = {"settings", "bDirUnpack"};
const SettingKey kSortOrder = {"setting", "nSortOrder"}, kLastFolder = {"setting", "strOpenDir"};
const SettingKey kDirPaneWidth = {"window", "nDirPaneWidth"}, kMainWindowIconic = {"Window", "IsIconic"};
const char kColumnWidthSection[] = "settings", kColumnWidthFormat[] = "nColumnWidth%d";
const char kMainWindow[] = "Window", kMiniViewer[] = "MiniViewer", kMiniViewerFont[] = "Font";
const char* const kSideKeys[4] = {"Left", "Top", "Right", "Bottom"};
// A stored width outside this range is a damaged setting, not a user's choice.
const int kMaxColumnWidth = 16383;

int LoadInt(const SettingKey& key, int nDefault) {
    return CProfileData(NULL, key.pszSection).GetInt(key.pszKey, nDefault);
}

void SaveInt(const SettingKey& key, int nValue) {
    if (CWinApp* pApp = AfxGetApp()) pApp->WriteProfileInt(key.pszSection, key.pszKey, nValue);
}

CString ColumnWidthKey(int nColumn) {
    CString strKey;
    strKey.Format(kColumnWidthFormat, nColumn);
    return strKey;
}

void PlaceWindow(CREATESTRUCTA& cs, RECT rc) {
    CProfileData::KeepOnScreen(rc);
    cs.x = rc.left;
    cs.y = rc.top;
    cs.cx = rc.right - rc.left;
    cs.cy = rc.bottom - rc.top;
}

// The restored rectangle's sides in kSideKeys' order.
BOOL GetRestoredPlace(HWND hWnd, WINDOWPLACEMENT& wp, int nSides[4]) {
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(hWnd, &wp)) return FALSE;
    const RECT& rc = wp.rcNormalPosition;
    nSides[0] = rc.left, nSides[1] = rc.top, nSides[2] = rc.right, nSides[3] = rc.bottom;
    return TRUE;
}

}  // namespace

void PlaceMainWindow(CREATESTRUCTA& cs) {
    int cxScreen = GetSystemMetrics(SM_CXFULLSCREEN), cyScreen = GetSystemMetrics(SM_CYFULLSCREEN);
    const int nDefaults[4] = {cxScreen / 3, cyScreen / 3, 2 * cxScreen / 3, 2 * cyScreen / 3};
    LONG nSides[4];
    for (int i = 0; i < 4; ++i) nSides[i] = LoadInt({kMainWindow, kSideKeys[i]}, nDefaults[i]);
    PlaceWindow(cs, {nSides[0], nSides[1], nSides[2], nSides[3]});
}

BOOL LoadMainWindowIconic() { return LoadInt(kMainWindowIconic, 0) != 0; }

void SaveMainWindow(HWND hWnd) {
    WINDOWPLACEMENT wp = {};
    int nSides[4];
    if (!GetRestoredPlace(hWnd, wp, nSides)) return;
    for (int i = 0; i < 4; ++i) SaveInt({kMainWindow, kSideKeys[i]}, nSides[i]);
    SaveInt(kMainWindowIconic, wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE);
}

void PlaceMiniViewer(CREATESTRUCTA& cs) {
    int cx = GetSystemMetrics(SM_CXFULLSCREEN) / 3, cy = GetSystemMetrics(SM_CYFULLSCREEN) / 3;
    CProfileData profile(NULL, kMiniViewer);
    int nLeft = profile.GetInt(kSideKeys[0], cx), nTop = profile.GetInt(kSideKeys[1], cy);
    int nRight = profile.GetInt(kSideKeys[2], nLeft + cx);
    int nBottom = profile.GetInt(kSideKeys[3], nTop + cy);
    PlaceWindow(cs, {nLeft, nTop, nRight > nLeft ? nRight : nLeft + cx,
                     nBottom > nTop ? nBottom : nTop + cy});
}

void LoadMiniViewerFont(LOGFONTA& font) {
    CProfileData(NULL, kMiniViewer).ExchangeFont(FALSE, font, SYSTEM_FIXED_FONT, kMiniViewerFont);
}

void SaveMiniViewer(HWND hWnd, HFONT hFont) {
    WINDOWPLACEMENT wp = {};
    int nSides[4];
    LOGFONTA lf = {};
    if (!GetRestoredPlace(hWnd, wp, nSides)) return;
    GetObjectA(hFont, sizeof(lf), &lf);
    CProfileData profile(NULL, kMiniViewer);
    for (int i = 0; i < 4; ++i) profile.ExchangeInt(TRUE, nSides[i], 0, kSideKeys[i]);
    profile.ExchangeFont(TRUE, lf, SYSTEM_FIXED_FONT, kMiniViewerFont);
}

int LoadColumnWidth(int nColumn) {
    CString strKey = ColumnWidthKey(nColumn);
    int cx = LoadInt({kColumnWidthSection, strKey}, -1);
    return cx >= 1 && cx <= kMaxColumnWidth ? cx : 0;
}

void SaveColumnWidths(const int* pWidths, int nColumns) {
    for (int i = 0; i < nColumns; ++i) SaveInt({kColumnWidthSection, ColumnWidthKey(i)}, pWidths[i]);
}

int LoadSortOrder() { return LoadInt(kSortOrder, 0); }
void SaveSortOrder(int nOrder) { SaveInt(kSortOrder, nOrder); }

BOOL LoadDirPaneWidth(int& cx) {
    int nStored = LoadInt(kDirPaneWidth, INT_MIN);
    if (nStored != INT_MIN) cx = nStored;
    return nStored != INT_MIN;
}

void SaveDirPaneWidth(int cx) { SaveInt(kDirPaneWidth, cx); }
BOOL LoadExtractWithFolders() { return LoadInt(kExtractWithFolders, 1); }
void SaveExtractWithFolders(BOOL bWithFolders) { SaveInt(kExtractWithFolders, bWithFolders); }

CString LoadLastFolder() {
    return CProfileData(NULL, kLastFolder.pszSection).GetString(kLastFolder.pszKey, "");
}

void SaveLastFolder(LPCSTR lpszFolder) {
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileString(kLastFolder.pszSection, kLastFolder.pszKey, lpszFolder);
}
