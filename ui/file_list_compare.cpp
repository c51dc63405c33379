// The order of two rows of the file list under each sort key.
#include "engine/arcfile_item.h"
#include "ui/entry_cells.h"
#include "ui/file_list_ctrl.h"

namespace {

int Sign(int n) { return n < 0 ? -1 : (n > 0 ? 1 : 0); }

template <class T>
int CompareValues(T a, T b) { return a < b ? -1 : (a > b ? 1 : 0); }

// One character of multibyte text: a double-byte character counts as one
// unit; single-byte letters fold to upper case.
unsigned NextUnit(const unsigned char*& p) {
    unsigned unit = *p++;
    if (IsDBCSLeadByte((BYTE)unit) && *p != 0) return (unit << 8) | *p++;
    if (unit >= 'a' && unit <= 'z') unit -= 'a' - 'A';
    return unit;
}

int CompareMbcsNoCase(LPCSTR a, LPCSTR b) {
    const unsigned char* pa = (const unsigned char*)a;
    const unsigned char* pb = (const unsigned char*)b;
    for (;;) {
        unsigned ua = NextUnit(pa), ub = NextUnit(pb);
        if (ua != ub || ua == 0) return CompareValues(ua, ub);
    }
}

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
    return CompareMbcsNoCase(a.m_strDate + a.m_strTime, b.m_strDate + b.m_strTime);
}

}  // namespace

int CALLBACK CFileListCtrl::CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
    const CArcfileItem& a = *reinterpret_cast<const CArcfileItem*>(lParam1);
    const CArcfileItem& b = *reinterpret_cast<const CArcfileItem*>(lParam2);
    int nResult;
    switch ((int)lParamSort & ~kDescending) {
        case 0: nResult = CompareMbcsNoCase(a.m_strName, b.m_strName); break;
        case 1: nResult = CompareValues(a.GetOriginalSize(), b.GetOriginalSize()); break;
        case 2: nResult = CompareExtensions(a, b); break;
        case 3: nResult = CompareRatios(a, b); break;
        case 4: nResult = CompareDates(a, b); break;
        default: return 0;
    }
    return (lParamSort & kDescending) ? -Sign(nResult) : Sign(nResult);
}
