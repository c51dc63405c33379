#include "ui/status_counts.h"

#include "app/archive_doc.h"
#include "engine/arcfile_item.h"
#include "res/resource.h"
#include "ui/entry_cells.h"
#include "ui/file_view.h"

CString ByteSizeText(ULONGLONG nBytes) {
    static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
    CString digits;
    if (nBytes < 1024) {
        digits.Format("%llu", (unsigned long long)nBytes);
        CString format, text;
        format.LoadString(IDS_BYTES);
        text.Format(format, (LPCSTR)digits);
        return text;
    }
    int nUnit = 0;
    ULONGLONG nUnitBytes = 1024;
    while (nUnit + 1 < 4 && nBytes / nUnitBytes >= 1024) {
        ++nUnit;
        nUnitBytes *= 1024;
    }
    // Tenths rounded half up, from the remainder alone: nothing overflows.
    ULONGLONG nWhole = nBytes / nUnitBytes;
    ULONGLONG nTenths = ((nBytes % nUnitBytes) * 10 + nUnitBytes / 2) / nUnitBytes;
    if (nTenths == 10) {
        ++nWhole;
        nTenths = 0;
    }
    // 1023.96 KB rounds to 1024.0 KB, which is 1.0 MB.
    if (nWhole == 1024 && nUnit + 1 < 4) {
        ++nUnit;
        nWhole = 1;
    }
    digits.Format("%llu", (unsigned long long)nWhole);
    CString text;
    text.Format("%s.%u %s", (LPCSTR)GroupThousands(digits), (unsigned)nTenths, kUnits[nUnit]);
    return text;
}

CString FileCountsText(int nFiles, int nSelected, ULONGLONG nBytes) {
    CString format, text;
    if (nSelected == 0) {
        format.LoadString(IDS_FOLDER_FILES);
        text.Format(format, nFiles, (LPCSTR)ByteSizeText(nBytes));
    } else {
        format.LoadString(IDS_SELECTED_FILES);
        text.Format(format, nFiles, nSelected, (LPCSTR)ByteSizeText(nBytes));
    }
    return text;
}

BOOL FolderCountsText(CFileView* pView, CString& rText) {
    CArchiveDoc* pDoc = pView != NULL ? pView->GetDocument() : NULL;
    if (pDoc == NULL || pDoc->GetPathName().IsEmpty()) return FALSE;
    const CFileListCtrl& list = pView->m_wndList;
    // Counted again only after the rows or their states changed: a folder of
    // many thousand files would otherwise be summed at every idle moment.
    static HWND s_hList = NULL;
    static UINT s_nChanges = 0;
    static CString s_strText;
    if (s_hList == list.m_hWnd && s_nChanges == list.m_nRowChanges && !s_strText.IsEmpty()) {
        rText = s_strText;
        return TRUE;
    }
    int nSelected = list.GetSelectedCount(), nRows = list.GetItemCount();
    ULONGLONG nBytes = 0;
    auto add = [&](int nRow) {
        const CArcfileItem* pItem = reinterpret_cast<const CArcfileItem*>(list.GetItemData(nRow));
        if (pItem != NULL) nBytes += pItem->GetOriginalSize();
    };
    if (nSelected > 0) {
        for (int nRow = list.GetNextItem(-1, LVNI_SELECTED); nRow >= 0; nRow = list.GetNextItem(nRow, LVNI_SELECTED))
            add(nRow);
    } else {
        for (int nRow = 0; nRow < nRows; ++nRow) add(nRow);
    }
    s_hList = list.m_hWnd;
    s_nChanges = list.m_nRowChanges;
    s_strText = FileCountsText(nRows, nSelected, nBytes);
    rText = s_strText;
    return TRUE;
}
