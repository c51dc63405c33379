// CRecentFileList: the most recently opened files, newest first, kept in the
// profile section "Recent File List" as File1..FileN and shown in the File
// menu in place of the item ID_FILE_MRU_FILE1.
#pragma once

#include <vector>

#include "framework/cstring.h"

class CCmdUI;

class CRecentFileList {
public:
    CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize);

    int GetSize() const { return m_nSize; }
    // The entry, or an empty string.
    CString operator[](int nIndex) const;
    // Moves the path to the front (paths compare without regard to case).
    void Add(LPCSTR lpszPathName);
    void Remove(int nIndex);
    void ReadList();
    void WriteList();
    // Puts one item per entry ("&1 name") where the placeholder stood, or a
    // greyed placeholder when the list is empty.
    void UpdateMenu(CCmdUI* pCmdUI);

private:
    UINT m_nStart;
    CString m_strSection;
    CString m_strEntryFormat;
    CString m_strOriginal;  // the placeholder's text
    int m_nSize;
    std::vector<CString> m_names;
};
