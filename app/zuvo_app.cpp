// CZuvoApp: start-up, the application's commands and the exit that removes
// the run's temporary files.
#include "app/zuvo_app.h"

#include <shellapi.h>

#include "ui/about_dlg.h"
#include "app/archive_doc.h"
#include "app/command_line.h"
#include "app/messages.h"
#include "engine/lha.h"
#include "engine/temp_file_set.h"
#include "framework/doc_template.h"
#include "framework/file_dialog.h"
#include "framework/msgbox.h"
#include "framework/path_parts.h"
#include "res/resource.h"
#include "settings/remembered_settings.h"
#include "ui/file_view.h"
#include "ui/main_frame.h"
#include "ui/temp_copies.h"

BEGIN_MESSAGE_MAP(CZuvoApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND(ID_ARCHIVER_SETTINGS, OnArchiverSettings)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
END_MESSAGE_MAP()

CZuvoApp::CZuvoApp() : CWinApp(NULL) {}

CZuvoApp::~CZuvoApp() {
    for (int i = 0; i < m_tempFiles.GetSize(); ++i) delete m_tempFiles[i];
    m_tempFiles.RemoveAll();
}

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

namespace {

// Moves each record whose program still shows a top-level window to the
// in-use list, so that its file is deleted last.
BOOL CALLBACK CollectFilesInUse(HWND hWnd, LPARAM lParam) {
    CZuvoApp* pApp = reinterpret_cast<CZuvoApp*>(lParam);
    if (pApp->m_tempFiles.GetSize() == 0) return FALSE;
    HINSTANCE hInstance = (HINSTANCE)GetWindowLongPtrA(hWnd, GWLP_HINSTANCE);
    for (int i = 0; i < pApp->m_tempFiles.GetSize(); ++i) {
        CTempFileSet* pSet = static_cast<CTempFileSet*>(pApp->m_tempFiles[i]);
        if (pSet != nullptr && pSet->m_hInstance != NULL && pSet->m_hInstance == hInstance) {
            pApp->m_tempFilesInUse.Add(pSet);
            pApp->m_tempFiles.SetAt(i, nullptr);
            break;
        }
    }
    return TRUE;
}

// Deletes every recorded copy that is as it was extracted; the paths of the
// others (changed by the user in their program) go to kept.
void DeleteRecordedFiles(CObArray& files, CStringArray& kept) {
    for (int i = 0; i < files.GetSize(); ++i) {
        CTempFileSet* pSet = static_cast<CTempFileSet*>(files[i]);
        if (pSet == nullptr) continue;
        if (pSet->IsAsRecorded())
            DeleteTempCopy(pSet->m_strTempPath);
        else
            kept.Add(pSet->m_strTempPath);
        delete pSet;
    }
    files.RemoveAll();
}

// Names the kept copies that are still there (a later record of the same
// path may have found it unchanged and deleted it), once each.
void ReportKeptCopies(const CStringArray& kept) {
    CString strList;
    for (int i = 0; i < kept.GetSize(); ++i) {
        CString strLine = kept[i] + "\n";
        if (GetFileAttributesA(kept[i]) != INVALID_FILE_ATTRIBUTES && strList.Find(strLine) < 0)
            strList += strLine;
    }
    if (!strList.IsEmpty()) InfoMessage(IDS_COPIES_KEPT, (LPCSTR)strList);
}

}  // namespace

int CZuvoApp::ExitInstance() {
    m_tempFilesInUse.RemoveAll();
    EnumWindows(CollectFilesInUse, reinterpret_cast<LPARAM>(this));
    CStringArray kept;
    DeleteRecordedFiles(m_tempFiles, kept);
    DeleteRecordedFiles(m_tempFilesInUse, kept);
    ReportKeptCopies(kept);
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
