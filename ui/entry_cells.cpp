#include "ui/entry_cells.h"

CString GroupThousands(const CString& digits) {
    CString rest(digits), result;
    while (!rest.IsEmpty()) {
        int nTake = rest.GetLength() < 3 ? rest.GetLength() : 3;
        CString group = rest.Right(nTake);
        result = result.IsEmpty() ? group : group + "," + result;
        rest = rest.Left(rest.GetLength() - nTake);
    }
    return result;
}

CString KilobyteText(DWORD dwSize) {
    DWORD dwKB = dwSize / 1024 + (dwSize % 1024 != 0 ? 1 : 0);
    CString digits;
    digits.Format("%lu", (unsigned long)dwKB);
    return GroupThousands(digits) + "KB";
}

BOOL EntryRatio(const CArcfileItem& item, ULONGLONG* pRatio) {
    if (item.m_dwOriginalSize == 0) return FALSE;
    *pRatio = (ULONGLONG)item.m_dwCompressedSize * 100 / item.m_dwOriginalSize;
    return TRUE;
}

CString RatioText(const CArcfileItem& item) {
    ULONGLONG ratio;
    if (!EntryRatio(item, &ratio)) return CString("???%%");
    CString text;
    text.Format("%llu%%", (unsigned long long)ratio);
    return text;
}

CString DateTimeText(const CArcfileItem& item) { return item.m_strDate + " " + item.m_strTime; }
