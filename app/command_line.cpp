#include "app/command_line.h"

CString ArchivePathFromCommandLine(LPCSTR lpszCmdLine) {
    CString strPath(lpszCmdLine);
    if (strPath.GetLength() >= 1 && strPath[0] == '"') {
        strPath = strPath.Mid(1);
        // A quote at the very start of the rest cuts nothing.
        int nQuote = strPath.Find('"', 1);
        if (nQuote >= 1) strPath = strPath.Left(nQuote);
    }
    return strPath;
}
