#include "ui/file_data_source.h"

#include "ui/file_view.h"

BOOL CFileDataSource::OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) {
    if (lpFormatEtc->cfFormat != CF_HDROP) return FALSE;
    if (!m_bExtracted) {
        // A target that asks while the button is still down (to look at the
        // data during the drag) gets nothing: entries are extracted for a drop.
        // The drag loop goes by the button as this thread last saw it; Wine
        // does not always show it in the asynchronous state.
        if ((GetAsyncKeyState(VK_LBUTTON) & 0x8000) || (GetKeyState(VK_LBUTTON) & 0x8000))
            return FALSE;
        // Every later request of this drag names the same copies.
        m_bExtracted = TRUE;
        m_pView->ExtractSelectedToTemp(m_paths);
    }
    HGLOBAL hDrop = m_pView->MakeDropFiles(m_paths);
    if (hDrop == NULL) return FALSE;
    *phGlobal = hDrop;
    return TRUE;
}
