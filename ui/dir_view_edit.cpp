// CDirView: deleting and renaming the folder chosen in the tree, with all it
// holds. The library addresses a folder by its path without the last
// backslash: its own entry, if any, and every entry below it.
#include "ui/dir_view.h"

#include "app/archive_doc.h"
#include "app/messages.h"
#include "engine/arcfile_item.h"
#include "framework/cmd_ui.h"
#include "framework/path_parts.h"
#include "res/resource.h"
#include "ui/shown_place.h"

namespace {

// Files anywhere below the folder (a relative path with its backslash).
int CountFilesBelow(const CArchiveDoc* pDoc, const CString& dir) {
    int nCount = 0;
    for (int i = 0; i < pDoc->m_items.GetSize(); ++i) {
        const CString& path = static_cast<const CArcfileItem*>(pDoc->m_items[i])->m_strPath;
        // Both start at a character boundary, so equal bytes are equal characters.
        if (path.GetLength() >= dir.GetLength() && path.Left(dir.GetLength()) == dir) ++nCount;
    }
    return nCount;
}

// A folder the library can be given by its path: not the archive's top node
// (empty), and no folder without a name on the way (the empty first
// component of an absolute stored name, whose path the library would take
// for the whole archive).
BOOL IsNamedFolder(const CString& dir) {
    if (dir.IsEmpty()) return FALSE;
    BOOL bComponentStart = TRUE;
    for (int i = 0; i < dir.GetLength(); ++i) {
        if (IsDBCSLeadByte((BYTE)dir[i]) && i + 1 < dir.GetLength()) {
            ++i;
            bComponentStart = FALSE;
        } else if (dir[i] == '\\') {
            if (bComponentStart) return FALSE;
            bComponentStart = TRUE;
        } else {
            bComponentStart = FALSE;
        }
    }
    return TRUE;
}

}  // namespace

// A named folder chosen, and an archive to change.
void CDirView::OnUpdateFolderEdit(CCmdUI* pCmdUI) {
    CArchiveDoc* pDoc = GetDocument();
    pCmdUI->Enable(pDoc != NULL && pDoc->m_pArchive != NULL && IsNamedFolder(GetSelectedPath()));
}

void CDirView::OnDeleteFolder() {
    CArchiveDoc* pDoc = GetDocument();
    CString dir = GetSelectedPath();
    if (pDoc == NULL || pDoc->m_pArchive == NULL || !IsNamedFolder(dir)) return;
    CString folder = WithoutTrailingBackslash(dir);
    int nFiles = CountFilesBelow(pDoc, dir);
    int nAnswer = nFiles > 0 ? QuestionMessage(IDS_DELETE_FOLDER, (LPCSTR)folder, nFiles)
                             : QuestionMessage(IDS_DELETE_EMPTY_FOLDER, (LPCSTR)folder);
    if (nAnswer != IDYES) return;
    CStringArray names;
    names.Add(folder);
    pDoc->m_pArchive->Delete(names);
    RelistInPlace(pDoc, FALSE);
}

// The library asks for the new name in its own dialog.
void CDirView::OnRenameFolder() {
    CArchiveDoc* pDoc = GetDocument();
    CString dir = GetSelectedPath();
    if (pDoc == NULL || pDoc->m_pArchive == NULL || !IsNamedFolder(dir)) return;
    pDoc->m_pArchive->Rename(WithoutTrailingBackslash(dir));
    RelistInPlace(pDoc, TRUE);
}
