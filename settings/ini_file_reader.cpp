// CProfileData::ReadIniFileString: reads one value of an INI file by walking
// its lines, with the file shared so that a program writing it is not blocked.
#include "settings/profile_data.h"

#include <share.h>
#include <stdio.h>
#include <string.h>

CString CProfileData::ReadIniFileString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault,
                                        LPCSTR lpszFileName) {
    FILE* f = _fsopen(lpszFileName, "rt", _SH_DENYNO);
    if (!f) return CString(lpszDefault);

    CString value(lpszDefault);
    BOOL inSection = FALSE;
    char buffer[1024];
    while (fgets(buffer, sizeof(buffer), f)) {
        CString line(buffer);
        int lf = line.Find('\n');
        if (lf >= 0) line = line.Left(lf);

        int close = line.Find(']');
        if (line.GetLength() > 0 && line[0] == '[' && close > 0) {
            if (inSection) break;
            inSection = line.Mid(1, close - 1).CompareNoCase(lpszSection) == 0;
            continue;
        }
        if (!inSection) continue;

        int eq = line.Find('=');
        if (eq < 0 || line.Left(eq).CompareNoCase(lpszKey) != 0) continue;
        while (eq < line.GetLength() && line[eq] == '=') ++eq;
        value = line.Mid(eq);
        break;
    }
    fclose(f);
    return value;
}
