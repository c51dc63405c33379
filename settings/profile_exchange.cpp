// CProfileData's exchange operations: one call that reads or writes a variable.
#include "settings/profile_data.h"

void CProfileData::ExchangeInt(BOOL bSave, int& nValue, int nDefault, LPCSTR lpszKey,
                               LPCSTR lpszSection) {
    if (bSave)
        WriteInt(lpszKey, nValue, lpszSection);
    else
        nValue = GetInt(lpszKey, nDefault, lpszSection);
}

void CProfileData::ExchangeInt(BOOL bSave, UINT& nValue, UINT nDefault, LPCSTR lpszKey,
                               LPCSTR lpszSection) {
    int value = (int)nValue;
    ExchangeInt(bSave, value, (int)nDefault, lpszKey, lpszSection);
    nValue = (UINT)value;
}

void CProfileData::ExchangeInt(BOOL bSave, LONG& nValue, LONG nDefault, LPCSTR lpszKey,
                               LPCSTR lpszSection) {
    int value = (int)nValue;
    ExchangeInt(bSave, value, (int)nDefault, lpszKey, lpszSection);
    nValue = value;
}

void CProfileData::ExchangeInt(BOOL bSave, DWORD& nValue, DWORD nDefault, LPCSTR lpszKey,
                               LPCSTR lpszSection) {
    int value = (int)nValue;
    ExchangeInt(bSave, value, (int)nDefault, lpszKey, lpszSection);
    nValue = (DWORD)value;
}

void CProfileData::ExchangeString(BOOL bSave, CString& strValue, LPCSTR lpszDefault,
                                  LPCSTR lpszKey, LPCSTR lpszSection) {
    if (bSave)
        WriteString(lpszKey, strValue, lpszSection);
    else
        strValue = GetString(lpszKey, lpszDefault, lpszSection);
}

void CProfileData::ExchangeBool(BOOL bSave, BOOL& bValue, BOOL bDefault, LPCSTR lpszKey,
                                LPCSTR lpszSection) {
    if (bSave)
        WriteBool(lpszSection, lpszKey, bValue);
    else
        bValue = GetBool(lpszSection, lpszKey, bDefault);
}

void CProfileData::ExchangeRect(BOOL bSave, RECT& rc, const RECT& rcDefault, LPCSTR lpszKey,
                                LPCSTR lpszSection) {
    if (bSave)
        WriteRect(lpszSection, lpszKey, rc);
    else
        rc = GetRect(lpszSection, lpszKey, rcDefault);
}

void CProfileData::ExchangeFont(BOOL bSave, LOGFONTA& font, int nStockFont, LPCSTR lpszPrefix,
                                LPCSTR lpszSection) {
    if (bSave)
        WriteFont(lpszSection, lpszPrefix, &font);
    else
        GetFont(lpszSection, lpszPrefix, &font, nStockFont);
}

void CProfileData::ExchangeText(BOOL bSave, CString& strText, LPCSTR lpszSection) {
    if (bSave)
        WriteText(lpszSection, strText);
    else
        strText = GetText(lpszSection);
}

void CProfileData::ExchangeStringArray(BOOL bSave, CStringArray& items, LPCSTR lpszCountKey,
                                       LPCSTR lpszItemPrefix) {
    char key[300];
    if (bSave) {
        WriteInt(lpszCountKey, items.GetSize());
        for (int i = 0; i < items.GetSize(); ++i) {
            wsprintfA(key, "%.280s%d", lpszItemPrefix, i);
            WriteString(key, items[i]);
        }
        return;
    }
    int count = GetInt(lpszCountKey, 0);
    for (int i = 0; i < count; ++i) {
        wsprintfA(key, "%.280s%d", lpszItemPrefix, i);
        items.Add(GetString(key, ""));
    }
}
