// CMainFrame: the commands that ask what to add or make before the document
// works on the whole archive (compress files, compress a directory, make a
// self-extractor), and the file list's view mode from either pane.
#include "ui/main_frame.h"

#include <cderr.h>

#include "app/archive_doc.h"
#include "app/messages.h"
#include "framework/cmd_ui.h"
#include "framework/file_dialog.h"
#include "framework/path_parts.h"
#include "res/resource.h"
#include "ui/dir_select_dlg.h"
#include "ui/file_view.h"
#include "ui/sfx_type_dlg.h"

static const int kCompressNameBuffer = 60000;  // room for the names of many chosen files

CArchiveDoc* CMainFrame::GetArchiveDoc() { return static_cast<CArchiveDoc*>(GetActiveDocument()); }

CFileView* CMainFrame::GetFileView() const {
    CWnd* pPane = m_wndSplitter.m_hWnd != NULL ? m_wndSplitter.GetPane(0, 1) : NULL;
    return pPane != NULL && pPane->IsKindOf(RUNTIME_CLASS(CFileView)) ? static_cast<CFileView*>(pPane) : NULL;
}

void CMainFrame::OnCompress() {
    CArchiveDoc* pDoc = GetArchiveDoc();
    if (pDoc == NULL || !pDoc->GetArchiveToWorkOn()) return;
    CFileDialog dlg(TRUE, NULL, NULL,
                    OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "Text files (*.txt) |*.txt|All Files (*.*) |*.*||", NULL);
    CString title;
    title.LoadString(IDS_SELECT_COMPRESS);
    dlg.m_ofn.lpstrTitle = title;
    dlg.SetFileBuffer(kCompressNameBuffer);
    dlg.m_ofn.nFilterIndex = 2;  // every file shows; text files are one choice away
    if (dlg.DoModal() != IDOK) {
        if (dlg.GetCommDlgError() == FNERR_BUFFERTOOSMALL) ErrorMessage(IDS_TOO_MANY_FILES);
        return;
    }
    CStringArray paths;
    for (POSITION pos = dlg.GetStartPosition(); pos;) paths.Add(dlg.GetNextPathName(pos));
    pDoc->AddFiles(paths);
}

void CMainFrame::OnCompressDir() {
    CArchiveDoc* pDoc = GetArchiveDoc();
    if (pDoc == NULL || !pDoc->GetArchiveToWorkOn()) return;
    CDirSelectDlg dlg(TRUE);
    dlg.m_bDirCompress = TRUE;
    dlg.m_bDeleteAfter = FALSE;
    if (dlg.DoModal() != IDOK) return;
    pDoc->AddFolder(dlg.GetSelectedDir(), dlg.m_bDirCompress, dlg.m_bDeleteAfter);
}

void CMainFrame::OnMakeSFX() {
    CArchiveDoc* pDoc = GetArchiveDoc();
    if (pDoc == NULL || !pDoc->HasArchive()) return;
    CSfxTypeDlg dlg;
    dlg.m_nType = 2;  // WinSFX32
    if (dlg.DoModal() != IDOK) return;
    // The library writes the program beside the archive, named like it, and
    // replaces a file of that name only when the user says so.
    CString path = pDoc->GetPathName(), program = ReplaceExtension(path, ".exe");
    BOOL replace = program.CompareNoCase(path) != 0 && GetFileAttributesA(program) != INVALID_FILE_ATTRIBUTES;
    if (replace && QuestionMessage(IDS_SFX_REPLACE, (LPCSTR)program) != IDYES) return;
    pDoc->MakeSelfExtractor(dlg.m_nType, replace);
}

void CMainFrame::OnViewMode(UINT nID) {
    if (CFileView* pView = GetFileView()) pView->SetDetails(nID == ID_VIEW_DETAILS);
}

// The marks show the file list's mode; without a file list there are none.
void CMainFrame::OnUpdateViewMode(CCmdUI* pCmdUI) {
    CFileView* pView = GetFileView();
    if (pView != NULL) pCmdUI->SetRadio(pView->m_bDetails == (pCmdUI->m_nID == ID_VIEW_DETAILS));
}
