#include "ui/properties_dlg.h"

#include "res/resource.h"
#include "ui/entry_cells.h"

namespace {

// A size in bytes, its digits grouped: 1,234,567.
CString SizeText(ULONGLONG nSize) {
    CString digits;
    digits.Format("%llu", (unsigned long long)nSize);
    return GroupThousands(digits);
}

CString KnownOr(int nValue, const CString& known) {
    if (nValue >= 0) return known;
    CString unknown;
    unknown.LoadString(IDS_UNKNOWN_FACT);
    return unknown;
}

}  // namespace

CPropertiesDlg::CPropertiesDlg(const CEntryProperties& props, CWnd* pParent)
    : CDialog(IDD_PROPERTIES, pParent), m_props(props) {}

void CPropertiesDlg::SetField(int nID, const CString& text) { ::SetDlgItemTextA(m_hWnd, nID, text); }

void CPropertiesDlg::ShowExactName() {
    SetField(IDC_PROP_NAME, m_props.item.m_strName);
    if (m_props.strExactName.empty()) return;
    std::wstring name = m_props.strExactName;
    size_t slash = name.rfind(L'\\');
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    HWND hAnsi = ::GetDlgItem(m_hWnd, IDC_PROP_NAME);
    RECT rect;
    if (hAnsi == NULL || !::GetWindowRect(hAnsi, &rect)) return;
    ::MapWindowPoints(NULL, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    DWORD dwStyle = (DWORD)::GetWindowLongA(hAnsi, GWL_STYLE);
    HWND hWide = ::CreateWindowExW(0, L"EDIT", name.c_str(), dwStyle, rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, m_hWnd, (HMENU)(INT_PTR)IDC_PROP_NAME,
                                   (HINSTANCE)(LONG_PTR)::GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE), NULL);
    if (hWide == NULL) return;  // the ANSI field keeps the listed name
    ::SendMessageW(hWide, WM_SETFONT, ::SendMessageA(hAnsi, WM_GETFONT, 0, 0), FALSE);
    ::SetWindowPos(hWide, hAnsi, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::DestroyWindow(hAnsi);
}

BOOL CPropertiesDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const CArcfileItem& item = m_props.item;
    ShowExactName();
    SetField(IDC_PROP_FOLDER, item.m_strPath.IsEmpty() ? CString("\\") : item.m_strPath);
    SetField(IDC_PROP_ORIGINAL, SizeText(item.GetOriginalSize()));
    SetField(IDC_PROP_COMPRESSED, SizeText(item.GetCompressedSize()));
    SetField(IDC_PROP_RATIO, RatioText(item));
    SetField(IDC_PROP_METHOD, m_props.strMethod);
    CString level, crc;
    level.Format("%d", m_props.nHeaderLevel);
    SetField(IDC_PROP_LEVEL, KnownOr(m_props.nHeaderLevel, level));
    SetField(IDC_PROP_OS, KnownOr(m_props.nOSId, OSNameOf(m_props.nOSId)));
    crc.Format("%04X", (unsigned)(m_props.dwCrc & 0xFFFF));
    SetField(IDC_PROP_CRC, crc);
    SetField(IDC_PROP_ATTRIBUTES, m_props.strAttributes);
    SetField(IDC_PROP_TIME, FullDateTimeText(item));
    ::SetFocus(::GetDlgItem(m_hWnd, IDOK));
    return FALSE;
}
