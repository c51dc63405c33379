// CArchiveDoc's commands on the archive as a whole that need no dialog:
// copying the listing and the extract-with-directories option.
#include "app/archive_doc.h"

#include <string.h>

#include "framework/cmd_ui.h"
#include "framework/wnd.h"
#include "res/resource.h"
#include "settings/remembered_settings.h"

BEGIN_MESSAGE_MAP(CArchiveDoc, CDocument)
    ON_COMMAND(ID_DIR_UNPACK, OnDirUnpack)
    ON_UPDATE_COMMAND_UI(ID_DIR_UNPACK, OnUpdateDirUnpack)
    ON_COMMAND(ID_COPY_LISTING, OnCopyList)
    ON_UPDATE_COMMAND_UI(ID_COPY_LISTING, OnUpdateCopyList)
END_MESSAGE_MAP()

void CArchiveDoc::OnDirUnpack() {
    m_bDirUnpack = !m_bDirUnpack;
    SaveExtractWithFolders(m_bDirUnpack);
}

void CArchiveDoc::OnUpdateDirUnpack(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bDirUnpack != 0); }

void CArchiveDoc::OnCopyList() {
    CString text;
    GetListing(text);
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

void CArchiveDoc::OnUpdateCopyList(CCmdUI* pCmdUI) { pCmdUI->Enable(HasArchive()); }
