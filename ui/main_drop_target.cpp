#include "ui/main_drop_target.h"

#include "framework/ole_data_source.h"
#include "framework/wnd.h"
#include "ui/drop_files.h"

namespace {

FORMATETC DropFilesFormat() { return FORMATETC{CF_HDROP, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

DROPEFFECT CMainDropTarget::EffectFor(IDataObject* pDataObject) {
    if (COleDataSource::IsDraggingHere()) return DROPEFFECT_NONE;
    FORMATETC format = DropFilesFormat();
    return pDataObject->QueryGetData(&format) == S_OK ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

DROPEFFECT CMainDropTarget::OnDragEnter(CWnd*, IDataObject* pDataObject, DWORD, POINT) {
    return EffectFor(pDataObject);
}

DROPEFFECT CMainDropTarget::OnDragOver(CWnd*, IDataObject* pDataObject, DWORD, POINT) {
    return EffectFor(pDataObject);
}

BOOL CMainDropTarget::OnDrop(CWnd* pWnd, IDataObject* pDataObject, DROPEFFECT, POINT) {
    if (EffectFor(pDataObject) == DROPEFFECT_NONE) return FALSE;
    FORMATETC format = DropFilesFormat();
    STGMEDIUM medium = {};
    if (pDataObject->GetData(&format, &medium) != S_OK) return FALSE;
    HGLOBAL hCopy = medium.tymed == TYMED_HGLOBAL ? CopyDropFiles(medium.hGlobal) : NULL;
    ReleaseStgMedium(&medium);
    if (hCopy == NULL) return FALSE;
    // Posted: the other program waits in its drag until we return, and the
    // drop may ask the user a question first.
    if (!pWnd->PostMessage(WM_DROPFILES, (WPARAM)hCopy)) {
        GlobalFree(hCopy);
        return FALSE;
    }
    return TRUE;
}
