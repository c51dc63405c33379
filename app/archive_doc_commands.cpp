// CArchiveDoc's commands on the archive as a whole: compressing files or a
// directory, making a self-extracting archive, copying the listing, the
// extract-with-directories option and the file list's view mode. Each shows
// the archive afresh from disk after a change.
#include "app/archive_doc.h"

#include "app/messages.h"
#include "app/sfx_type_dlg.h"
#include "app/zuvo_app.h"
#include "framework/cmd_ui.h"
#include "framework/file_dialog.h"
#include "framework/path_parts.h"
#include "res/resource.h"
#include "settings/remembered_settings.h"
#include "ui/dir_select_dlg.h"
#include "ui/file_view.h"
#include "ui/shown_place.h"

#include <cderr.h>
#include <string.h>

namespace {

// Room in the file dialog for the names of many chosen files.
const int kCompressNameBuffer = 60000;

}  // namespace

BEGIN_MESSAGE_MAP(CArchiveDoc, CDocument)
    ON_COMMAND(ID_DIR_UNPACK, OnDirUnpack)
    ON_UPDATE_COMMAND_UI(ID_DIR_UNPACK, OnUpdateDirUnpack)
    ON_COMMAND(ID_COMPRESS, OnCompress)
    ON_COMMAND(ID_COPY_LISTING, OnCopyList)
    ON_UPDATE_COMMAND_UI(ID_COPY_LISTING, OnUpdateCopyList)
    ON_COMMAND(ID_MAKE_SFX, OnMakeSFX)
    ON_COMMAND(ID_COMPRESS_DIR, OnCompressDir)
    ON_COMMAND(ID_VIEW_LIST, OnViewList)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LIST, OnUpdateViewList)
    ON_COMMAND(ID_VIEW_DETAILS, OnViewDetail)
    ON_UPDATE_COMMAND_UI(ID_VIEW_DETAILS, OnUpdateViewDetail)
END_MESSAGE_MAP()

void CArchiveDoc::OnDirUnpack() {
    m_bDirUnpack = !m_bDirUnpack;
    SaveExtractWithFolders(m_bDirUnpack);
}

void CArchiveDoc::OnUpdateDirUnpack(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bDirUnpack != 0); }

void CArchiveDoc::OnCompress() {
    if (!GetArchiveToWorkOn()) return;
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
    m_pArchive->AddFiles(paths, FALSE, ShownFolder(this));
    RelistInPlace(this, TRUE);
}

void CArchiveDoc::OnCompressDir() {
    if (!GetArchiveToWorkOn()) return;
    CDirSelectDlg dlg(TRUE);
    dlg.m_bDirCompress = TRUE;
    dlg.m_bDeleteAfter = FALSE;
    if (dlg.DoModal() != IDOK) return;
    m_pArchive->AddDirectory(dlg.GetSelectedDir(), dlg.m_bDirCompress, dlg.m_bDeleteAfter, ShownFolder(this));
    RelistInPlace(this, TRUE);
}

void CArchiveDoc::OnMakeSFX() {
    if (m_pArchive == NULL) return;
    CSfxTypeDlg dlg;
    dlg.m_nType = 2;  // WinSFX32
    if (dlg.DoModal() != IDOK) return;
    // The library writes the program beside the archive, named like it, and
    // replaces a file of that name only when the user says so.
    CString program = ReplaceExtension(GetPathName(), ".exe");
    BOOL replace = program.CompareNoCase(GetPathName()) != 0 && GetFileAttributesA(program) != INVALID_FILE_ATTRIBUTES;
    if (replace && QuestionMessage(IDS_SFX_REPLACE, (LPCSTR)program) != IDYES) return;
    if (!m_pArchive->MakeSFX(dlg.m_nType, replace)) return;
    ZuvoApp()->Reopen(program);
}

void CArchiveDoc::OnCopyList() {
    if (m_pArchive == NULL) return;
    CString text;
    m_pArchive->List(text);
    if (text.IsEmpty()) return;
    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T)text.GetLength() + 10);
    if (hText == NULL) return;
    char* p = (char*)GlobalLock(hText);
    memcpy(p, (LPCSTR)text, (size_t)text.GetLength() + 1);
    GlobalUnlock(hText);
    CWnd* pMain = AfxGetMainWnd();
    if (OpenClipboard(pMain ? pMain->m_hWnd : NULL)) {
        EmptyClipboard();
        // Once taken, the block is the clipboard's.
        if (SetClipboardData(CF_TEXT, hText) != NULL) hText = NULL;
        CloseClipboard();
    }
    if (hText != NULL) GlobalFree(hText);
}

void CArchiveDoc::OnUpdateCopyList(CCmdUI* pCmdUI) { pCmdUI->Enable(m_pArchive != NULL); }

// Reached while another pane is active: the file list switches itself.
void CArchiveDoc::PassToFileView(UINT nID) {
    CFileView* pView = FindFileView();
    if (pView != NULL && pView->m_hWnd != NULL) pView->PostMessage(WM_COMMAND, nID, 0);
}

void CArchiveDoc::OnViewList() { PassToFileView(ID_VIEW_LIST); }

void CArchiveDoc::OnViewDetail() { PassToFileView(ID_VIEW_DETAILS); }

// The marks show the file list's mode; without a file list there are none.
void CArchiveDoc::OnUpdateViewList(CCmdUI* pCmdUI) {
    if (CFileView* pView = FindFileView()) pCmdUI->SetRadio(!pView->m_bDetails);
}

void CArchiveDoc::OnUpdateViewDetail(CCmdUI* pCmdUI) {
    if (CFileView* pView = FindFileView()) pCmdUI->SetRadio(pView->m_bDetails);
}
