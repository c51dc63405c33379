// CProfileData: the two back ends and the plain string and integer values.
#include "settings/profile_data.h"

#include "framework/archive_exception.h"
#include "framework/winapp.h"
#include "settings/profile_escape.h"

CProfileData::CProfileData(LPCSTR lpszFileName, LPCSTR lpszSection)
    : m_strFileName(lpszFileName), m_strSection(lpszSection) {}

static void ThrowWriteFailed() { AfxThrowArchiveException(CArchiveException::generic, NULL); }

CString CProfileData::GetString(LPCSTR lpszKey, LPCSTR lpszDefault, LPCSTR lpszSection) {
    return GetString(FALSE, lpszKey, lpszDefault, lpszSection);
}

CString CProfileData::GetString(BOOL bUnescape, LPCSTR lpszKey, LPCSTR lpszDefault,
                                LPCSTR lpszSection) {
    LPCSTR section = SectionOr(lpszSection);
    if (!UsesIniFile()) {
        CWinApp* pApp = AfxGetApp();
        return pApp ? pApp->GetProfileString(section, lpszKey, lpszDefault) : CString(lpszDefault);
    }
    char buffer[1024];
    DWORD n = GetPrivateProfileStringA(section, lpszKey, lpszDefault ? lpszDefault : "", buffer,
                                       sizeof(buffer), m_strFileName);
    if (n == 0) return CString();
    CString value(buffer, (int)n);
    return bUnescape ? UnescapeProfileText(value) : value;
}

void CProfileData::WriteString(LPCSTR lpszKey, LPCSTR lpszValue, LPCSTR lpszSection) {
    WriteString(FALSE, lpszKey, lpszValue, lpszSection);
}

void CProfileData::WriteString(BOOL bEscape, LPCSTR lpszKey, LPCSTR lpszValue, LPCSTR lpszSection) {
    LPCSTR section = SectionOr(lpszSection);
    BOOL ok;
    if (!UsesIniFile()) {
        CWinApp* pApp = AfxGetApp();
        ok = pApp && pApp->WriteProfileString(section, lpszKey, lpszValue);
    } else if (!lpszKey || !lpszValue) {
        ok = WritePrivateProfileStringA(section, lpszKey, NULL, m_strFileName);
    } else {
        CString value = bEscape ? EscapeProfileText(lpszValue) : CString(lpszValue);
        // Quotes keep leading and trailing blanks and TABs, which the reader
        // would otherwise strip.
        if (value.FindOneOf(" \t") >= 0) value = '"' + value + '"';
        ok = WritePrivateProfileStringA(section, lpszKey, value, m_strFileName);
    }
    if (!ok) ThrowWriteFailed();
}

int CProfileData::GetInt(LPCSTR lpszKey, int nDefault, LPCSTR lpszSection) {
    LPCSTR section = SectionOr(lpszSection);
    if (!UsesIniFile()) {
        CWinApp* pApp = AfxGetApp();
        return pApp ? pApp->GetProfileInt(section, lpszKey, nDefault) : nDefault;
    }
    return (int)GetPrivateProfileIntA(section, lpszKey, nDefault, m_strFileName);
}

void CProfileData::WriteInt(LPCSTR lpszKey, int nValue, LPCSTR lpszSection) {
    if (UsesIniFile()) {
        char text[16];
        wsprintfA(text, "%d", nValue);
        WriteString(lpszKey, text, lpszSection);
        return;
    }
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !pApp->WriteProfileInt(SectionOr(lpszSection), lpszKey, nValue)) ThrowWriteFailed();
}
