// CWinApp's identity and its profile: HKEY_CURRENT_USER\Software\<maker>\<program>
// once SetRegistryKey has run, else the private INI file <program>.INI.
#include "framework/winapp.h"

#include "framework/afx_state.h"

#include <stdlib.h>
#include <string.h>

static CWinApp* g_pApp;

CWinApp* AfxGetApp() { return g_pApp; }

static LPSTR DupString(LPCSTR psz) { return psz ? _strdup(psz) : NULL; }

static void FreeString(LPCSTR& psz) {
    free((void*)psz);
    psz = NULL;
}

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_pszAppName(DupString(lpszAppName)),
      m_pszRegistryKey(NULL),
      m_pszProfileName(NULL),
      m_pszExeName(NULL),
      m_hInstance(AfxGetInstanceHandle()) {
    g_pApp = this;
    if (lpszAppName) AfxSetAppName(lpszAppName);

    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof(path));
    CString name(path, (int)n);
    name = name.Mid(name.ReverseFind('\\') + 1);
    int dot = name.ReverseFind('.');
    if (dot > 0) name = name.Left(dot);
    m_pszExeName = DupString(name);
}

CWinApp::~CWinApp() {
    FreeString(m_pszAppName);
    FreeString(m_pszRegistryKey);
    FreeString(m_pszProfileName);
    FreeString(m_pszExeName);
    if (g_pApp == this) g_pApp = NULL;
}

void CWinApp::SetProfileNameFromApp() {
    if (!m_pszAppName) m_pszAppName = DupString(AfxGetAppName());
    FreeString(m_pszProfileName);
    m_pszProfileName = DupString(m_pszAppName);
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey) {
    FreeString(m_pszRegistryKey);
    m_pszRegistryKey = DupString(lpszRegistryKey);
    SetProfileNameFromApp();
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key);
}

// Without a registry key the profile is <program>.INI in the Windows directory.
static CString IniFileName(CWinApp* pApp) {
    CString name = pApp->m_pszProfileName ? pApp->m_pszProfileName : pApp->m_pszExeName;
    if (name.Find('.') < 0) name += ".INI";
    return name;
}

HKEY CWinApp::GetAppRegistryKey() {
    if (!m_pszRegistryKey) return NULL;
    if (!m_pszProfileName) SetProfileNameFromApp();
    HKEY hSoftware = NULL, hMaker = NULL, hApp = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ | KEY_WRITE, &hSoftware) ==
        ERROR_SUCCESS) {
        DWORD dw;
        if (RegCreateKeyExA(hSoftware, m_pszRegistryKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, NULL, &hMaker, &dw) == ERROR_SUCCESS) {
            if (RegCreateKeyExA(hMaker, m_pszProfileName, 0, NULL, REG_OPTION_NON_VOLATILE,
                                KEY_READ | KEY_WRITE, NULL, &hApp, &dw) != ERROR_SUCCESS)
                hApp = NULL;
            RegCloseKey(hMaker);
        }
        RegCloseKey(hSoftware);
    }
    return hApp;
}

HKEY CWinApp::GetSectionKey(LPCSTR lpszSection) {
    if (!lpszSection) return NULL;
    HKEY hApp = GetAppRegistryKey();
    if (!hApp) return NULL;
    HKEY hSection = NULL;
    DWORD dw;
    if (RegCreateKeyExA(hApp, lpszSection, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, NULL, &hSection, &dw) != ERROR_SUCCESS)
        hSection = NULL;
    RegCloseKey(hApp);
    return hSection;
}

int CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) {
    if (!m_pszRegistryKey)
        return (int)GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, IniFileName(this));
    HKEY hSection = GetSectionKey(lpszSection);
    if (!hSection) return nDefault;
    // Whatever the value's type: up to four bytes read as a little-endian
    // integer, a longer value gives ERROR_MORE_DATA and so the default.
    DWORD value = 0, type = 0, size = sizeof(value);
    LONG r = RegQueryValueExA(hSection, lpszEntry, NULL, &type, (LPBYTE)&value, &size);
    RegCloseKey(hSection);
    return r == ERROR_SUCCESS ? (int)value : nDefault;
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) {
    if (!m_pszRegistryKey) {
        char text[16];
        wsprintfA(text, "%d", nValue);
        return WritePrivateProfileStringA(lpszSection, lpszEntry, text, IniFileName(this));
    }
    if (!lpszEntry) return FALSE;
    HKEY hSection = GetSectionKey(lpszSection);
    if (!hSection) return FALSE;
    DWORD value = (DWORD)nValue;
    LONG r = RegSetValueExA(hSection, lpszEntry, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    RegCloseKey(hSection);
    return r == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault) {
    if (!m_pszRegistryKey) {
        char buffer[4096];
        GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault ? lpszDefault : "", buffer,
                                 sizeof(buffer), IniFileName(this));
        return CString(buffer);
    }
    HKEY hSection = GetSectionKey(lpszSection);
    if (!hSection) return CString(lpszDefault);
    CString result(lpszDefault);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(hSection, lpszEntry, NULL, &type, NULL, &size) == ERROR_SUCCESS) {
        // The type is not looked at: the bytes up to the first zero are the text.
        CString text;
        LPSTR p = text.GetBuffer((int)size + 1);
        memset(p, 0, size + 1);
        if (RegQueryValueExA(hSection, lpszEntry, NULL, &type, (LPBYTE)p, &size) == ERROR_SUCCESS) {
            text.ReleaseBuffer(-1);
            result = text;
        } else {
            text.ReleaseBuffer(0);
        }
    }
    RegCloseKey(hSection);
    return result;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue) {
    if (!m_pszRegistryKey)
        return WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, IniFileName(this));
    if (!lpszSection) return FALSE;

    if (!lpszEntry) {
        HKEY hApp = GetAppRegistryKey();
        if (!hApp) return FALSE;
        LONG r = RegDeleteKeyA(hApp, lpszSection);
        RegCloseKey(hApp);
        return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
    }

    HKEY hSection = GetSectionKey(lpszSection);
    if (!hSection) return FALSE;
    LONG r;
    if (!lpszValue) {
        r = RegDeleteValueA(hSection, lpszEntry);
        if (r == ERROR_FILE_NOT_FOUND) r = ERROR_SUCCESS;
    } else {
        r = RegSetValueExA(hSection, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                           (DWORD)strlen(lpszValue) + 1);
    }
    RegCloseKey(hSection);
    return r == ERROR_SUCCESS;
}
