// The shell's side of the application: the document types in
// HKEY_CLASSES_ROOT and DDE open requests from the shell.
#include "framework/winapp.h"

#include "framework/doc_template.h"
#include "framework/frame_wnd.h"

static BOOL SetClassesValue(LPCSTR lpszKey, LPCSTR lpszValue) {
    return RegSetValueA(HKEY_CLASSES_ROOT, lpszKey, REG_SZ, lpszValue, lstrlenA(lpszValue)) ==
           ERROR_SUCCESS;
}

void CWinApp::EnableShellOpen() {
    m_strAtomApp = m_pszExeName ? m_pszExeName : "";
    m_atomApp = GlobalAddAtomA(m_strAtomApp);
    m_atomSystemTopic = GlobalAddAtomA("system");
}

void CWinApp::RegisterShellFileTypes(BOOL) {
    char szModule[MAX_PATH];
    GetModuleFileNameA(NULL, szModule, MAX_PATH);
    CString strOpenCommand = CString("\"") + szModule + "\" \"%1\"";
    for (CDocTemplate* pTemplate : m_templates) {
        CString strTypeId, strTypeName, strExt;
        if (!pTemplate->GetDocString(strTypeId, CDocTemplate::regFileTypeId)) continue;
        pTemplate->GetDocString(strTypeName, CDocTemplate::regFileTypeName);
        if (strTypeName.IsEmpty()) strTypeName = strTypeId;
        if (!SetClassesValue(strTypeId, strTypeName)) continue;
        SetClassesValue(strTypeId + "\\shell\\open\\command", strOpenCommand);
        // The extension is ours when it is free or already points at us.
        if (pTemplate->GetDocString(strExt, CDocTemplate::filterExt) && strExt[0] == '.') {
            char szOld[256] = "";
            LONG cbOld = sizeof(szOld);
            LONG lResult = RegQueryValueA(HKEY_CLASSES_ROOT, strExt, szOld, &cbOld);
            if (lResult != ERROR_SUCCESS || szOld[0] == '\0' || strTypeId == szOld)
                SetClassesValue(strExt, strTypeId);
        }
    }
}

BOOL CWinApp::OnDDECommand(LPSTR lpszCommand) {
    CString strCommand(lpszCommand);
    if (strCommand.Left(7).CompareNoCase("[open(\"") != 0) return FALSE;
    CString strRest = strCommand.Mid(7);
    int nQuote = strRest.Find('"');
    if (nQuote < 0) return FALSE;
    CString strPath = strRest.Left(nQuote);
    if (m_pMainWnd != nullptr && m_pMainWnd->IsIconic()) m_pMainWnd->ShowWindow(SW_RESTORE);
    OpenDocumentFile(strPath);
    return TRUE;
}
