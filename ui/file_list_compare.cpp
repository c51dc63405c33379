// The order of two rows of the file list under each sort key.
#include "engine/arcfile_item.h"
#include "ui/entry_cells.h"
#include "ui/file_list_ctrl.h"

namespace {

int Sign(int n) { return n < 0 ? -1 : (n > 0 ? 1 : 0); }

template <class T>
int CompareValues(T a, T b) { return a < b ? -1 : (a > b ? 1 : 0); }

// The extension as a path splitter gives it: from the last dot of the last
// component, dot included; empty when there is none.
CString Extension(const CString& name) {
    int nStart = name.ReverseFind('\\');
    int nSlash = name.ReverseFind('/');
    if (nSlash > nStart) nStart = nSlash;
    int nDot = name.ReverseFind('.');
    return nDot > nStart ? name.Mid(nDot) : CString();
}

int CompareAsciiNoCase(LPCSTR a, LPCSTR b) {
    for (;; ++a, ++b) {
        int ca = (unsigned char)*a, cb = (unsigned char)*b;
        if (ca >= 'a' && ca <= 'z') ca -= 'a' - 'A';
        if (cb >= 'a' && cb <= 'z') cb -= 'a' - 'A';
        if (ca != cb || ca == 0) return CompareValues(ca, cb);
    }
}

int CompareExtensions(const CArcfileItem& a, const CArcfileItem& b) {
    CString extA = Extension(a.m_strName), extB = Extension(b.m_strName);
    if (extA.IsEmpty() || extB.IsEmpty()) return CompareValues(!extA.IsEmpty(), !extB.IsEmpty());
    return CompareAsciiNoCase(extA, extB);
}

int CompareRatios(const CArcfileItem& a, const CArcfileItem& b) {
    ULONGLONG ratioA = 0, ratioB = 0;
    BOOL bHasA = EntryRatio(a, &ratioA), bHasB = EntryRatio(b, &ratioB);
    if (!bHasA || !bHasB) return CompareValues(bHasA, bHasB);
    return CompareValues(ratioA, ratioB);
}

int CompareDates(const CArcfileItem& a, const CArcfileItem& b) {
    return CompareValues(a.GetTimeValue(), b.GetTimeValue());
}

}  // namespace

int CALLBACK CFileListCtrl::CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
    const CArcfileItem& a = *reinterpret_cast<const CArcfileItem*>(lParam1);
    const CArcfileItem& b = *reinterpret_cast<const CArcfileItem*>(lParam2);
    int nResult;
    switch ((int)lParamSort & ~kDescending) {
        // The platform's comparison of multibyte text, without regard to case.
        case 0: nResult = lstrcmpiA(a.m_strName, b.m_strName); break;
        case 1: nResult = CompareValues(a.GetOriginalSize(), b.GetOriginalSize()); break;
        case 2: nResult = CompareExtensions(a, b); break;
        case 3: nResult = CompareRatios(a, b); break;
        case 4: nResult = CompareDates(a, b); break;
        default: return 0;
    }
    return (lParamSort & kDescending) ? -Sign(nResult) : Sign(nResult);
}
