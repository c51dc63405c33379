#include "ui/find_dlg.h"

#include "app/archive_doc.h"
#include "engine/arcfile_item.h"
#include "res/resource.h"

namespace {

// More rows would make every key typed slow to answer; the count says so.
const int kMostRows = 1000;

std::wstring Folded(LPCSTR lpszText) {
    int nWide = MultiByteToWideChar(CP_ACP, 0, lpszText, -1, NULL, 0);
    if (nWide <= 1) return std::wstring();
    std::wstring wide(nWide, L'\0');
    MultiByteToWideChar(CP_ACP, 0, lpszText, -1, &wide[0], nWide);
    wide.resize(nWide - 1);
    std::wstring folded(wide.size(), L'\0');
    int nFolded = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, wide.c_str(), (int)wide.size(), &folded[0],
                               (int)folded.size());
    if (nFolded <= 0) return wide;
    folded.resize(nFolded);
    return folded;
}

// What was last looked for, offered again while the program runs.
CString s_strLastPart;

}  // namespace

BOOL NameContains(LPCSTR lpszName, LPCSTR lpszPart) {
    return Folded(lpszName).find(Folded(lpszPart)) != std::wstring::npos;
}

BEGIN_MESSAGE_MAP(CFindDlg, CDialog)
    ON_CONTROL(EN_CHANGE, IDC_FIND_TEXT, OnTextChange)
    ON_NOTIFY(NM_DBLCLK, IDC_FIND_RESULTS, OnResultDblClk)
END_MESSAGE_MAP()

CFindDlg::CFindDlg(CArchiveDoc* pDoc, CWnd* pParent) : CDialog(IDD_FIND, pParent), m_pDoc(pDoc) {}

BOOL CFindDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    m_wndResults.SubclassWindow(::GetDlgItem(m_hWnd, IDC_FIND_RESULTS));
    m_wndResults.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT rc;
    m_wndResults.GetClientRect(&rc);
    CString strName, strFolder;
    strName.LoadString(IDS_FIND_NAME);
    strFolder.LoadString(IDS_FIND_FOLDER);
    m_wndResults.InsertColumn(0, strName, LVCFMT_LEFT, rc.right / 2);
    m_wndResults.InsertColumn(1, strFolder, LVCFMT_LEFT, rc.right - rc.right / 2 - 4);
    for (int i = 0; i < m_pDoc->GetEntryCount(); ++i)
        m_foldedNames.push_back(Folded(m_pDoc->GetEntry(i)->m_strName));
    // The part is read back into a buffer of MAX_PATH bytes.
    ::SendDlgItemMessageA(m_hWnd, IDC_FIND_TEXT, EM_LIMITTEXT, MAX_PATH - 1, 0);
    ::SetDlgItemTextA(m_hWnd, IDC_FIND_TEXT, s_strLastPart);
    FillResults();
    ::SendDlgItemMessageA(m_hWnd, IDC_FIND_TEXT, EM_SETSEL, 0, -1);
    return TRUE;
}

void CFindDlg::OnTextChange() { FillResults(); }

void CFindDlg::FillResults() {
    if (m_wndResults.m_hWnd == NULL) return;
    char szPart[MAX_PATH];
    ::GetDlgItemTextA(m_hWnd, IDC_FIND_TEXT, szPart, sizeof(szPart));
    std::wstring part = Folded(szPart);
    CString strRoot;
    strRoot.LoadString(IDS_FIND_ROOT);
    m_wndResults.SetRedraw(FALSE);
    m_wndResults.DeleteAllItems();
    int nFound = 0;
    for (int i = 0; !part.empty() && i < (int)m_foldedNames.size(); ++i) {
        if (m_foldedNames[i].find(part) == std::wstring::npos) continue;
        if (++nFound > kMostRows) continue;
        const CArcfileItem* pItem = m_pDoc->GetEntry(i);
        int nRow = m_wndResults.InsertItem(nFound - 1, pItem->m_strName);
        if (nRow < 0) continue;
        m_wndResults.SetItemText(nRow, 1, pItem->m_strPath.IsEmpty() ? strRoot : pItem->m_strPath);
        m_wndResults.SetItemData(nRow, (DWORD_PTR)i);
    }
    // The first found is chosen, so that Enter shows it at once.
    if (nFound > 0) m_wndResults.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_wndResults.SetRedraw(TRUE);
    m_wndResults.Invalidate();
    CString strFormat, strCount;
    strFormat.LoadString(nFound > kMostRows ? IDS_FIND_COUNT_CUT : IDS_FIND_COUNT);
    strCount.Format(strFormat, nFound, kMostRows);
    ::SetDlgItemTextA(m_hWnd, IDC_FIND_COUNT, part.empty() ? "" : (LPCSTR)strCount);
}

void CFindDlg::OnResultDblClk(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    OnOK();
}

void CFindDlg::OnOK() {
    char szPart[MAX_PATH];
    ::GetDlgItemTextA(m_hWnd, IDC_FIND_TEXT, szPart, sizeof(szPart));
    s_strLastPart = szPart;
    int nRow = m_wndResults.GetNextItem(-1, LVNI_SELECTED);
    int nEntry = nRow >= 0 ? (int)m_wndResults.GetItemData(nRow) : -1;
    if (nEntry < 0 || nEntry >= m_pDoc->GetEntryCount()) {
        MessageBeep(MB_OK);
        return;
    }
    const CArcfileItem* pItem = m_pDoc->GetEntry(nEntry);
    m_strDir = pItem->m_strPath;
    m_strName = pItem->m_strName;
    CDialog::OnOK();
}
