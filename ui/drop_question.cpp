#include "ui/drop_question.h"

#include "app/archive_doc.h"
#include "app/messages.h"
#include "framework/path_parts.h"
#include "res/resource.h"

int AskToAddDropped(CArchiveDoc* pDoc, int nCount) {
    CString path = pDoc != NULL ? pDoc->GetPathName() : CString();
    if (path.IsEmpty()) return QuestionMessage(IDS_FILES_DROPPED);
    CString archive = path.Mid(LastComponentStart(path));
    CString folder = WithoutTrailingBackslash(pDoc->GetCurrentDir());
    if (folder.IsEmpty()) return QuestionMessage(IDS_DROP_INTO_ARCHIVE, nCount, (LPCSTR)archive);
    return QuestionMessage(IDS_DROP_INTO_FOLDER, nCount, (LPCSTR)archive, (LPCSTR)folder);
}
