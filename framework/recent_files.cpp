#include "framework/recent_files.h"

#include "framework/cmd_ui.h"
#include "framework/winapp.h"

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize)
    : m_nStart(nStart), m_strSection(lpszSection), m_strEntryFormat(lpszEntryFormat), m_nSize(nSize) {}

CString CRecentFileList::operator[](int nIndex) const {
    return nIndex >= 0 && nIndex < (int)m_names.size() ? m_names[nIndex] : CString();
}

void CRecentFileList::Add(LPCSTR lpszPathName) {
    CString strPath(lpszPathName);
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i].CompareNoCase(strPath) == 0) {
            m_names.erase(m_names.begin() + i);
            break;
        }
    }
    m_names.insert(m_names.begin(), strPath);
    if ((int)m_names.size() > m_nSize) m_names.resize(m_nSize);
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex >= 0 && nIndex < (int)m_names.size()) m_names.erase(m_names.begin() + nIndex);
}

void CRecentFileList::ReadList() {
    m_names.clear();
    CWinApp* pApp = AfxGetApp();
    for (int i = 0; i < m_nSize; ++i) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        CString strPath = pApp->GetProfileString(m_strSection, strEntry, "");
        if (!strPath.IsEmpty()) m_names.push_back(strPath);
    }
}

void CRecentFileList::WriteList() {
    CWinApp* pApp = AfxGetApp();
    for (int i = 0; i < m_nSize; ++i) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        if (i < (int)m_names.size()) pApp->WriteProfileString(m_strSection, strEntry, m_names[i]);
        else pApp->WriteProfileString(m_strSection, strEntry, nullptr);
    }
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
    HMENU hMenu = pCmdUI->m_hMenu;
    if (hMenu == NULL) return;
    if (m_strOriginal.IsEmpty()) {
        char szText[128] = "";
        GetMenuStringA(hMenu, pCmdUI->m_nIndex, szText, sizeof(szText), MF_BYPOSITION);
        m_strOriginal = szText;
    }
    // Remove the items this list put there last time.
    for (int i = 0; i < m_nSize; ++i) DeleteMenu(hMenu, m_nStart + i, MF_BYCOMMAND);
    if (m_names.empty()) {
        InsertMenuA(hMenu, pCmdUI->m_nIndex, MF_BYPOSITION | MF_STRING | MF_GRAYED, m_nStart,
                    m_strOriginal);
        return;
    }
    for (size_t i = 0; i < m_names.size(); ++i) {
        CString strName = m_names[i];
        // Ampersands in a path would become mnemonics.
        CString strEscaped;
        for (int j = 0; j < strName.GetLength(); ++j) {
            if (IsDBCSLeadByte((BYTE)strName[j]) && j + 1 < strName.GetLength()) {
                strEscaped += strName[j];
                strEscaped += strName[++j];
                continue;
            }
            if (strName[j] == '&') strEscaped += '&';
            strEscaped += strName[j];
        }
        CString strText;
        strText.Format("&%d %s", (int)i + 1, (LPCSTR)strEscaped);
        InsertMenuA(hMenu, pCmdUI->m_nIndex + (UINT)i, MF_BYPOSITION | MF_STRING,
                    m_nStart + (UINT)i, strText);
    }
}
