#include "ui/sfx_type_dlg.h"

#include "res/resource.h"

CSfxTypeDlg::CSfxTypeDlg(CWnd* pParent) : CDialog(IDD_SFX_TYPE, pParent), m_nType(-1) {}

void CSfxTypeDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Radio(pDX, IDC_SFX_DOS, m_nType);
}
