#include "ui/show_folder.h"

#include "ui/dir_view.h"
#include "ui/file_view.h"

BOOL ShowFolderAndRow(CDirView* pTree, CFileView* pList, const CString& strDir, const CString& strName) {
    if (pTree == NULL || pList == NULL || !pTree->SelectFolder(strDir)) return FALSE;
    if (!strName.IsEmpty()) pList->SelectRowNamed(strName);
    return TRUE;
}
