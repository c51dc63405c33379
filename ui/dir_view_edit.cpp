// CDirView: deleting and renaming the folder chosen in the tree, with all it
// holds. The library addresses a folder by its path without the last
// backslash: its own entry, if any, and every entry below it.
#include "ui/dir_view.h"

#include <set>
#include <string>

#include "app/archive_doc.h"
#include "app/messages.h"
#include "engine/arcfile_item.h"
#include "framework/cmd_ui.h"
#include "framework/frame_wnd.h"
#include "framework/path_parts.h"
#include "res/resource.h"

namespace {

// Files anywhere below the folder (a relative path with its backslash).
int CountFilesBelow(const CArchiveDoc* pDoc, const CString& dir) {
    int nCount = 0;
    for (int i = 0; i < pDoc->GetEntryCount(); ++i) {
        const CString& path = pDoc->GetEntry(i)->m_strPath;
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

// "DOC\\SUB\\" -> "DOC\\", "DOC\\" -> "".
CString ParentOf(const CString& dir) {
    CString path = WithoutTrailingBackslash(dir);
    return path.Left(LastComponentStart(path));
}

// Every folder path the archive holds, the ones above its entries included.
std::set<std::string> FolderPaths(const CArchiveDoc* pDoc) {
    std::set<std::string> paths;
    auto add = [&](CString dir) {
        for (; !dir.IsEmpty(); dir = ParentOf(dir)) {
            dir = WithTrailingBackslash(dir);
            if (!paths.insert(std::string((LPCSTR)dir, dir.GetLength())).second) break;
        }
    };
    for (int i = 0; i < pDoc->GetEntryCount(); ++i) add(pDoc->GetEntry(i)->m_strPath);
    for (int i = 0; i < pDoc->GetFolders().GetSize(); ++i) add(pDoc->GetFolders()[i]);
    return paths;
}

// The one folder that is new after a rename and whose parent is not (the
// folders below it are new too); FALSE when there is not exactly one.
BOOL OneNewFolder(const std::set<std::string>& before, const std::set<std::string>& after, CString* pFolder) {
    int nFound = 0;
    for (const std::string& path : after) {
        if (before.count(path)) continue;
        CString parent = ParentOf(CString(path.c_str(), (int)path.size()));
        if (!parent.IsEmpty() && !before.count(std::string((LPCSTR)parent, parent.GetLength()))) continue;
        *pFolder = CString(path.c_str(), (int)path.size());
        ++nFound;
    }
    return nFound == 1;
}

}  // namespace

// A named folder chosen, and an archive to change.
void CDirView::OnUpdateFolderEdit(CCmdUI* pCmdUI) {
    CArchiveDoc* pDoc = GetDocument();
    pCmdUI->Enable(pDoc != NULL && pDoc->HasArchive() && IsNamedFolder(GetSelectedPath()));
}

void CDirView::OnDeleteFolder() {
    CArchiveDoc* pDoc = GetDocument();
    CString dir = GetSelectedPath();
    if (pDoc == NULL || !pDoc->HasArchive() || !IsNamedFolder(dir)) return;
    CString folder = WithoutTrailingBackslash(dir);
    int nFiles = CountFilesBelow(pDoc, dir);
    int nAnswer = nFiles > 0 ? QuestionMessage(IDS_DELETE_FOLDER, (LPCSTR)folder, nFiles)
                             : QuestionMessage(IDS_DELETE_EMPTY_FOLDER, (LPCSTR)folder);
    if (nAnswer != IDYES) return;
    CStringArray names;
    names.Add(folder);
    pDoc->DeleteEntries(names);
    KeepTheKeys();
}

// The library asks for the new name in its own dialog. The renamed folder is
// then shown in the old one's place, and the tree keeps the keys.
void CDirView::OnRenameFolder() {
    CArchiveDoc* pDoc = GetDocument();
    CString dir = GetSelectedPath();
    if (pDoc == NULL || !pDoc->HasArchive() || !IsNamedFolder(dir)) return;
    std::set<std::string> before = FolderPaths(pDoc);
    pDoc->RenameEntry(WithoutTrailingBackslash(dir));
    if (!pDoc->HasArchive()) return;
    CString renamed;
    if (OneNewFolder(before, FolderPaths(pDoc), &renamed)) SelectFolder(renamed);
    KeepTheKeys();
}

// The re-opening after a change activates the list; a change made in the
// tree leaves the keys in the tree.
void CDirView::KeepTheKeys() {
    if (CFrameWnd* pFrame = GetParentFrame()) pFrame->SetActiveView(this);
}
