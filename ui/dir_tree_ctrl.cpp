#include "ui/dir_tree_ctrl.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CDirTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CDirTreeCtrl, CTreeCtrl)
    ON_WM_CREATE()
END_MESSAGE_MAP()

int CDirTreeCtrl::OnCreate(LPCREATESTRUCTA lpcs) {
    if (CTreeCtrl::OnCreate(lpcs) == -1) return -1;
    if (!m_imageList.Create(IDB_TREE_IMAGES, 17, 3, RGB(0, 255, 0))) return -1;
    SetImageList(m_imageList, TVSIL_NORMAL);
    return 0;
}
