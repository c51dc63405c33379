#include "ui/desktop_open.h"

#include <shellapi.h>

#include "framework/cstring.h"
#include "framework/wine_platform.h"

namespace {

HINSTANCE OpenWithDesktopOpener(HWND hOwner, LPCSTR lpszPath, LPCSTR lpszDir) {
    CString strArgs("\"");
    strArgs += lpszPath;
    strArgs += "\"";
    return ShellExecuteA(hOwner, "open", "winebrowser.exe", strArgs, lpszDir, SW_SHOW);
}

BOOL HasNoProgram(HINSTANCE hResult) {
    INT_PTR n = (INT_PTR)hResult;
    return n == SE_ERR_NOASSOC || n == SE_ERR_ASSOCINCOMPLETE;
}

}  // namespace

HINSTANCE OpenWithItsProgram(HWND hOwner, LPCSTR lpszPath, LPCSTR lpszDir) {
    HINSTANCE hResult = ShellExecuteA(hOwner, "open", lpszPath, NULL, lpszDir, SW_SHOW);
    if (HasNoProgram(hResult) && AfxRunningOnWine()) hResult = OpenWithDesktopOpener(hOwner, lpszPath, lpszDir);
    return hResult;
}

HINSTANCE OpenPageOnDesktop(HWND hOwner, LPCSTR lpszPath) {
    if (AfxRunningOnWine()) return OpenWithDesktopOpener(hOwner, lpszPath, NULL);
    return ShellExecuteA(hOwner, "open", lpszPath, NULL, NULL, SW_SHOWNORMAL);
}
