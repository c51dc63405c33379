// The framework's program-wide state.
#include "framework/afx_state.h"

#include "framework/cstring.h"

static HINSTANCE g_hInstance;
static HINSTANCE g_hResource;
static HWND g_hMainWnd;
static CString g_strAppName;

HINSTANCE AfxGetInstanceHandle() {
    return g_hInstance ? g_hInstance : GetModuleHandleA(NULL);
}

void AfxSetInstanceHandle(HINSTANCE hInstance) { g_hInstance = hInstance; }

HINSTANCE AfxGetResourceHandle() {
    return g_hResource ? g_hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hResource) { g_hResource = hResource; }

HWND AfxGetMainWndHandle() { return g_hMainWnd; }

void AfxSetMainWndHandle(HWND hWnd) { g_hMainWnd = hWnd; }

LPCSTR AfxGetAppName() {
    if (g_strAppName.IsEmpty() && !g_strAppName.LoadString(AFX_IDS_APP_TITLE)) {
        char path[MAX_PATH];
        DWORD n = GetModuleFileNameA(NULL, path, sizeof(path));
        CString name(path, (int)n);
        name = name.Mid(name.ReverseFind('\\') + 1);
        int dot = name.ReverseFind('.');
        g_strAppName = dot > 0 ? name.Left(dot) : name;
    }
    return g_strAppName;
}

void AfxSetAppName(LPCSTR pszAppName) { g_strAppName = pszAppName; }
