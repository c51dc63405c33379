// CZuvoApp: start-up, the application's commands and the exit that removes
// the run's temporary files.
#include "app/zuvo_app.h"

#include <shellapi.h>

#include "ui/about_dlg.h"
#include "app/archive_doc.h"
#include "app/command_line.h"
#include "app/messages.h"
#include "engine/lha.h"
#include "framework/doc_template.h"
#include "framework/file_dialog.h"
#include "framework/msgbox.h"
#include "framework/path_parts.h"
#include "res/resource.h"
#include "settings/remembered_settings.h"
#include "ui/file_view.h"
#include "ui/main_frame.h"

BEGIN_MESSAGE_MAP(CZuvoApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND(ID_ARCHIVER_SETTINGS, OnArchiverSettings)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
END_MESSAGE_MAP()

CZuvoApp::CZuvoApp() : CWinApp(NULL) {}

BOOL CZuvoApp::InitInstance() {
    SetRegistryKey("Vantrel");

    // The high bit of the version marks the Windows 95 family; below major
    // version 4 it is Win32s, which lacks what the program needs.
    m_bWin95 = FALSE;
    DWORD dwVersion = GetVersion();
    if (dwVersion & 0x80000000) {
        if (LOBYTE(LOWORD(dwVersion)) < 4) {
            AfxMessageBox(IDS_NO_WIN32S, MB_ICONSTOP);
            return FALSE;
        }
        m_bWin95 = TRUE;
    }

    if (!AfxOleInit()) {
        AfxMessageBox(IDS_OLE_INIT_FAILED, MB_OK);
        return FALSE;
    }
    Enable3dControls();
    LoadStdProfileSettings(4);

    if (LoadMainWindowIconic()) m_nCmdShow = SW_SHOWMINIMIZED;

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CArchiveDoc),
                                          RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CFileView)));
    EnableShellOpen();
    RegisterShellFileTypes(FALSE);

    LPCSTR lpszCmdLine = m_lpCmdLine != nullptr ? m_lpCmdLine : "";
    if (lpszCmdLine[0] == '\0') {
        OnFileNew();
    } else {
        OpenDocumentFile(ArchivePathFromCommandLine(lpszCmdLine));
        // An archive that cannot be opened has been reported, and its window
        // is gone: carry on with an empty document rather than no window.
        if (m_pMainWnd == nullptr) OnFileNew();
    }
    if (m_pMainWnd == nullptr) return FALSE;

    m_pMainWnd->DragAcceptFiles(TRUE);
    return TRUE;
}

int CZuvoApp::ExitInstance() {
    // Whether a program still has a copy open cannot be known: a changed copy
    // is offered back, then kept if it did not go in; the others go.
    CStringArray updated;
    m_tempCopies.OfferChanged(updated);
    m_tempCopies.DeleteAll();
    return CWinApp::ExitInstance();
}

void CZuvoApp::Reopen(CString strPath) {
    OnFileNew();
    OpenDocumentFile(strPath);
}

BOOL CZuvoApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog) {
    CFileDialog dlg(bOpenFileDialog, NULL, NULL, lFlags | OFN_HIDEREADONLY, CArchiveDoc::kArchiveFilter, NULL);
    CString strTitle;
    strTitle.LoadString(nIDSTitle);
    dlg.m_ofn.lpstrTitle = strTitle;
    if (m_pMainWnd != NULL) dlg.m_ofn.hwndOwner = m_pMainWnd->m_hWnd;
    if (dlg.DoModal() != IDOK) return FALSE;
    fileName = dlg.GetPathName();
    return TRUE;
}

void CZuvoApp::AddToRecentFileList(LPCSTR lpszPathName) {
    CString path(lpszPathName);
    CString folder = path.Left(LastComponentStart(path));
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, folder, -1, TempDirectory(), -1) ==
        CSTR_EQUAL)
        return;
    CWinApp::AddToRecentFileList(lpszPathName);
}

void CZuvoApp::OnAppAbout() {
    CAboutDlg dlg;
    dlg.DoModal();
}

void CZuvoApp::OnAppExit() {
    if (m_pMainWnd != nullptr) m_pMainWnd->PostMessage(WM_CLOSE, 0, 0);
}

void CZuvoApp::OnArchiverSettings() {
    CLha lha("");
    lha.ConfigDialog(1);  // the library's second mode
}
