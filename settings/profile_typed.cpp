// CProfileData: booleans, rectangles, fonts and texts of several lines, built
// on the plain string and integer values.
#include "settings/profile_data.h"

#include <stdlib.h>
#include <string.h>

BOOL CProfileData::GetBool(LPCSTR lpszSection, LPCSTR lpszKey, BOOL bDefault) {
    CString value = GetString(lpszKey, bDefault ? "YES" : "NO", lpszSection);
    return value.GetLength() >= 3 && value.Left(3).CompareNoCase("YES") == 0;
}

void CProfileData::WriteBool(LPCSTR lpszSection, LPCSTR lpszKey, BOOL bValue) {
    WriteString(lpszKey, bValue ? "YES" : "NO", lpszSection);
}

// A corner on any monitor stays. Otherwise a left (top) edge off the primary
// screen or within 20 pixels of its far side becomes 0.
void CProfileData::KeepOnScreen(RECT& rc) {
    POINT ptCorner = {rc.left + 20, rc.top + 20};
    if (MonitorFromPoint(ptCorner, MONITOR_DEFAULTTONULL) != NULL &&
        MonitorFromPoint(POINT{rc.left, rc.top}, MONITOR_DEFAULTTONULL) != NULL)
        return;
    int cx = GetSystemMetrics(SM_CXFULLSCREEN);
    int cy = GetSystemMetrics(SM_CYFULLSCREEN);
    if (rc.left < 0 || rc.left >= cx - 20) {
        rc.right -= rc.left;
        rc.left = 0;
    }
    if (rc.top < 0 || rc.top >= cy - 20) {
        rc.bottom -= rc.top;
        rc.top = 0;
    }
}

RECT CProfileData::GetRect(LPCSTR lpszSection, LPCSTR lpszKey, const RECT& rcDefault) {
    CString text = GetString(lpszKey, "", lpszSection);
    if (text.IsEmpty()) return rcDefault;

    LONG edges[4];
    int count = 0;
    LPSTR p = text.GetBuffer(text.GetLength());
    for (LPSTR tok = strtok(p, " ,"); tok && count < 4; tok = strtok(NULL, " ,"))
        edges[count++] = atol(tok);
    text.ReleaseBuffer(0);
    if (count < 4) return rcDefault;

    RECT rc = {edges[0], edges[1], edges[2], edges[3]};
    KeepOnScreen(rc);
    return rc;
}

void CProfileData::WriteRect(LPCSTR lpszSection, LPCSTR lpszKey, const RECT& rc) {
    char text[64];
    wsprintfA(text, "%d,%d,%d,%d", (int)rc.left, (int)rc.top, (int)rc.right, (int)rc.bottom);
    WriteString(lpszKey, text, lpszSection);
}

// Copies a face name into a LOGFONT, cut on a character boundary to fit.
static void SetFaceName(LOGFONTA* pFont, const CString& name) {
    int n = 0;
    while (n < name.GetLength()) {
        int step = (IsDBCSLeadByte((BYTE)name[n]) && n + 1 < name.GetLength()) ? 2 : 1;
        if (n + step > LF_FACESIZE - 1) break;
        n += step;
    }
    memcpy(pFont->lfFaceName, (LPCSTR)name, n);
    pFont->lfFaceName[n] = '\0';
}

void CProfileData::GetFont(LPCSTR lpszSection, LPCSTR lpszPrefix, LOGFONTA* pFont, int nStockFont) {
    CString prefix(lpszPrefix);
    memset(pFont, 0, sizeof(*pFont));
    pFont->lfHeight = GetInt(prefix + "Height", 0, lpszSection);
    pFont->lfWeight = GetInt(prefix + "Weight", FW_NORMAL, lpszSection);
    pFont->lfItalic = (BYTE)GetInt(prefix + "Italic", 0, lpszSection);
    pFont->lfCharSet = (BYTE)GetInt(prefix + "CharSet", SHIFTJIS_CHARSET, lpszSection);
    SetFaceName(pFont, GetString(prefix + "Name", "", lpszSection));

    LONG height = pFont->lfHeight;
    if (pFont->lfFaceName[0] && height != 0 && height >= -40 && height <= 40) return;

    // Unusable: the stock font instead. Only a font object will do.
    HGDIOBJ hStock = GetStockObject(nStockFont > 0 ? nStockFont : SYSTEM_FIXED_FONT);
    if (!hStock || GetObjectType(hStock) != OBJ_FONT) hStock = GetStockObject(SYSTEM_FIXED_FONT);
    memset(pFont, 0, sizeof(*pFont));
    GetObjectA(hStock, sizeof(*pFont), pFont);
}

void CProfileData::WriteFont(LPCSTR lpszSection, LPCSTR lpszPrefix, const LOGFONTA* pFont) {
    if (!pFont->lfFaceName[0]) return;
    CString prefix(lpszPrefix);
    WriteInt(prefix + "Height", pFont->lfHeight, lpszSection);
    WriteInt(prefix + "Weight", pFont->lfWeight, lpszSection);
    WriteInt(prefix + "Italic", pFont->lfItalic, lpszSection);
    WriteInt(prefix + "CharSet", pFont->lfCharSet, lpszSection);
    WriteString(prefix + "Name", pFont->lfFaceName, lpszSection);
}

static CString LineKey(int i) {
    char key[16];
    wsprintfA(key, "%d", i);
    return CString(key);
}

CString CProfileData::GetText(LPCSTR lpszSection) {
    int count = GetInt("linecount", 0, lpszSection);
    CString text;
    for (int i = 1; i <= count; ++i) {
        text += GetString(TRUE, LineKey(i), "", lpszSection);
        text += "\r\n";
    }
    return text;
}

void CProfileData::WriteText(LPCSTR lpszSection, LPCSTR lpszText) {
    CString text(lpszText);
    if (text.IsEmpty()) return;
    int lastLf = text.ReverseFind('\n');
    if (lastLf < 0 || lastLf != text.GetLength() - 1) text += "\r\n";

    WriteString(FALSE, NULL, NULL, lpszSection);  // the whole section
    int lines = 0;
    for (int start = 0; start < text.GetLength();) {
        int lf = text.Find('\n', start);
        CString line = text.Mid(start, lf - start);
        int cr = line.Find('\r');
        if (cr >= 0) line = line.Left(cr);
        WriteString(TRUE, LineKey(++lines), line, lpszSection);
        start = lf + 1;
    }
    if (lines > 0) WriteInt("linecount", lines, lpszSection);
}
