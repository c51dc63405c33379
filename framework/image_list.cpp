#include "framework/image_list.h"

#include "framework/afx_state.h"

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    DeleteImageList();
    m_hImageList = ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nBitmapID), cx,
                                        nGrow, crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION);
    return m_hImageList != NULL;
}

BOOL CImageList::DeleteImageList() {
    if (m_hImageList == NULL) return FALSE;
    ImageList_Destroy(m_hImageList);
    m_hImageList = NULL;
    return TRUE;
}
