#include "ui/dir_tree_ctrl.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CDirTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CDirTreeCtrl, CTreeCtrl)
    ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

const int kImageWidth = 17;
// Room around a label: its focus frame and gaps.
const int kLabelMargins = 8;

}  // namespace

int CDirTreeCtrl::GetFittingWidth() const {
    const char kName[] = "NNNNNNNN.NNN";
    SIZE size = {0, 0};
    HDC hDC = ::GetDC(m_hWnd);
    HFONT hFont = (HFONT)SendMessage(WM_GETFONT);
    HGDIOBJ hOld = hFont != NULL ? SelectObject(hDC, hFont) : NULL;
    GetTextExtentPoint32A(hDC, kName, (int)sizeof kName - 1, &size);
    if (hOld != NULL) SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWnd, hDC);
    // With lines at the root, the image of a node two levels below the top
    // node stands three indents in.
    int nIndent = (int)SendMessage(TVM_GETINDENT);
    return 3 * nIndent + kImageWidth + size.cx + kLabelMargins + GetSystemMetrics(SM_CXVSCROLL) +
           2 * GetSystemMetrics(SM_CXEDGE);
}

int CDirTreeCtrl::OnCreate(LPCREATESTRUCTA lpcs) {
    if (CTreeCtrl::OnCreate(lpcs) == -1) return -1;
    if (!m_imageList.Create(IDB_TREE_IMAGES, kImageWidth, 3, RGB(0, 255, 0))) return -1;
    SetImageList(m_imageList, TVSIL_NORMAL);
    return 0;
}
