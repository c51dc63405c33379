// CProfileData: typed settings over plain strings and integers. Without a file
// name it reads and writes the application's profile (the registry); with one,
// a private INI file. Every operation that takes a section uses the object's
// default section when given NULL. A failed write or deletion throws a
// CArchiveException* (cause generic); reads never fail, they fall back to the
// default.
#pragma once

#include <windows.h>

#include "framework/collections.h"
#include "framework/cstring.h"
#include "framework/object.h"

class CProfileData : public CObject {
public:
    CProfileData(LPCSTR lpszFileName = NULL, LPCSTR lpszSection = NULL);

    // Strings. With bUnescape, the two characters \t read back as a TAB (INI
    // files only; the registry holds any text as it is).
    CString GetString(LPCSTR lpszKey, LPCSTR lpszDefault = NULL, LPCSTR lpszSection = NULL);
    CString GetString(BOOL bUnescape, LPCSTR lpszKey, LPCSTR lpszDefault = NULL,
                      LPCSTR lpszSection = NULL);
    // A NULL value deletes the key, a NULL key as well the whole section.
    void WriteString(LPCSTR lpszKey, LPCSTR lpszValue, LPCSTR lpszSection = NULL);
    void WriteString(BOOL bEscape, LPCSTR lpszKey, LPCSTR lpszValue, LPCSTR lpszSection = NULL);

    int GetInt(LPCSTR lpszKey, int nDefault, LPCSTR lpszSection = NULL);
    void WriteInt(LPCSTR lpszKey, int nValue, LPCSTR lpszSection = NULL);

    // "YES" / "NO"; any text starting with yes in any case reads TRUE.
    BOOL GetBool(LPCSTR lpszSection, LPCSTR lpszKey, BOOL bDefault);
    void WriteBool(LPCSTR lpszSection, LPCSTR lpszKey, BOOL bValue);

    // Moves a window rectangle without resizing it so that its top-left
    // corner is on a screen that is there (a stored place may name a monitor
    // that is gone).
    static void KeepOnScreen(RECT& rc);

    // "left,top,right,bottom"; a rectangle read back is moved onto the screen.
    RECT GetRect(LPCSTR lpszSection, LPCSTR lpszKey, const RECT& rcDefault);
    void WriteRect(LPCSTR lpszSection, LPCSTR lpszKey, const RECT& rc);

    // Five keys: prefix + Height, Weight, Italic, CharSet, Name. A font without
    // name, of height 0 or taller than 40 is replaced by the stock font
    // nStockFont (SYSTEM_FIXED_FONT when it is not positive).
    void GetFont(LPCSTR lpszSection, LPCSTR lpszPrefix, LOGFONTA* pFont, int nStockFont);
    void WriteFont(LPCSTR lpszSection, LPCSTR lpszPrefix, const LOGFONTA* pFont);

    // A text of several lines as the whole section: "linecount" and "1".."N".
    CString GetText(LPCSTR lpszSection);
    void WriteText(LPCSTR lpszSection, LPCSTR lpszText);

    // Write the variable when bSave, else read it (with the default).
    void ExchangeInt(BOOL bSave, int& nValue, int nDefault, LPCSTR lpszKey, LPCSTR lpszSection = NULL);
    void ExchangeInt(BOOL bSave, UINT& nValue, UINT nDefault, LPCSTR lpszKey, LPCSTR lpszSection = NULL);
    void ExchangeInt(BOOL bSave, LONG& nValue, LONG nDefault, LPCSTR lpszKey, LPCSTR lpszSection = NULL);
    void ExchangeInt(BOOL bSave, DWORD& nValue, DWORD nDefault, LPCSTR lpszKey, LPCSTR lpszSection = NULL);
    void ExchangeString(BOOL bSave, CString& strValue, LPCSTR lpszDefault, LPCSTR lpszKey,
                        LPCSTR lpszSection = NULL);
    void ExchangeBool(BOOL bSave, BOOL& bValue, BOOL bDefault, LPCSTR lpszKey, LPCSTR lpszSection = NULL);
    void ExchangeRect(BOOL bSave, RECT& rc, const RECT& rcDefault, LPCSTR lpszKey,
                      LPCSTR lpszSection = NULL);
    void ExchangeFont(BOOL bSave, LOGFONTA& font, int nStockFont, LPCSTR lpszPrefix,
                      LPCSTR lpszSection = NULL);
    void ExchangeText(BOOL bSave, CString& strText, LPCSTR lpszSection = NULL);
    // Count under lpszCountKey, items under prefix + "0", "1", ... in the
    // default section. Reading appends to the array.
    void ExchangeStringArray(BOOL bSave, CStringArray& items, LPCSTR lpszCountKey,
                             LPCSTR lpszItemPrefix);

    // Reads one value of an INI file directly, sharing the file with writers.
    static CString ReadIniFileString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault,
                                     LPCSTR lpszFileName);

    CString m_strFileName;  // empty: the application profile
    CString m_strSection;   // used when an operation is given no section

private:
    BOOL UsesIniFile() const { return !m_strFileName.IsEmpty(); }
    LPCSTR SectionOr(LPCSTR lpszSection) const { return lpszSection ? lpszSection : (LPCSTR)m_strSection; }
};
