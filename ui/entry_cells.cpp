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

CString KilobyteText(ULONGLONG size) {
    ULONGLONG kilobytes = size / 1024 + (size % 1024 != 0 ? 1 : 0);
    CString digits;
    digits.Format("%llu", (unsigned long long)kilobytes);
    return GroupThousands(digits) + "KB";
}

BOOL EntryRatio(const CArcfileItem& item, ULONGLONG* pRatio) {
    ULONGLONG original = item.GetOriginalSize();
    if (original == 0) return FALSE;
    // Sizes beyond 4 GiB would wrap even a 64-bit product: divide first.
    ULONGLONG compressed = item.GetCompressedSize();
    *pRatio = compressed / original * 100 + compressed % original * 100 / original;
    return TRUE;
}

CString RatioText(const CArcfileItem& item) {
    ULONGLONG ratio;
    if (!EntryRatio(item, &ratio)) return CString();
    CString text;
    text.Format("%llu%%", (unsigned long long)ratio);
    return text;
}

CString DateTimeText(const CArcfileItem& item) { return item.m_strDate + " " + item.m_strTime; }
