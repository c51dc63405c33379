// CString operations that are more than one line.
#include "framework/cstring.h"

#include "framework/afx_state.h"

#include <stdio.h>
#include <string.h>

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, LPCSTR b) { CString r(a); r += b; return r; }
CString operator+(LPCSTR a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
CString operator+(char a, const CString& b) { CString r(a); r += b; return r; }

int CString::Compare(LPCSTR psz) const { return strcmp(m_s.c_str(), psz ? psz : ""); }

int CString::CompareNoCase(LPCSTR psz) const { return lstrcmpiA(m_s.c_str(), psz ? psz : ""); }

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - nFirst); }

CString CString::Mid(int nFirst, int nCount) const {
    int len = GetLength();
    if (nFirst < 0) nFirst = 0;
    if (nFirst > len) nFirst = len;
    if (nCount < 0) nCount = 0;
    if (nCount > len - nFirst) nCount = len - nFirst;
    return CString(m_s.data() + nFirst, nCount);
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
    if (nCount < 0) nCount = 0;
    if (nCount > GetLength()) nCount = GetLength();
    return Mid(GetLength() - nCount, nCount);
}

void CString::MakeUpper() { if (!m_s.empty()) CharUpperA(&m_s[0]); }

void CString::MakeLower() { if (!m_s.empty()) CharLowerA(&m_s[0]); }

static bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

void CString::TrimLeft() {
    size_t i = 0;
    while (i < m_s.size() && IsBlank(m_s[i])) ++i;
    m_s.erase(0, i);
}

void CString::TrimRight() {
    // Walk by characters so a trail byte is never mistaken for a blank.
    size_t keep = 0;
    for (size_t i = 0; i < m_s.size();) {
        size_t step = (IsDBCSLeadByte((BYTE)m_s[i]) && i + 1 < m_s.size()) ? 2 : 1;
        if (step == 2 || !IsBlank(m_s[i])) keep = i + step;
        i += step;
    }
    m_s.resize(keep);
}

// Length in bytes of the character starting at offset i.
static size_t CharLen(const std::string& s, size_t i) {
    return (IsDBCSLeadByte((BYTE)s[i]) && i + 1 < s.size()) ? 2 : 1;
}

int CString::Find(char ch, int nStart) const {
    if (nStart < 0) nStart = 0;
    for (size_t i = 0; i < m_s.size(); i += CharLen(m_s, i)) {
        if ((int)i >= nStart && m_s[i] == ch && CharLen(m_s, i) == 1) return (int)i;
    }
    return -1;
}

int CString::Find(LPCSTR pszSub, int nStart) const {
    if (!pszSub) return -1;
    size_t n = strlen(pszSub);
    if (nStart < 0) nStart = 0;
    for (size_t i = 0; i + n <= m_s.size(); i += CharLen(m_s, i)) {
        if ((int)i >= nStart && m_s.compare(i, n, pszSub) == 0) return (int)i;
    }
    return -1;
}

int CString::ReverseFind(char ch) const {
    int found = -1;
    for (size_t i = 0; i < m_s.size(); i += CharLen(m_s, i)) {
        if (m_s[i] == ch && CharLen(m_s, i) == 1) found = (int)i;
    }
    return found;
}

int CString::FindOneOf(LPCSTR pszCharSet) const {
    for (size_t i = 0; i < m_s.size(); i += CharLen(m_s, i)) {
        if (CharLen(m_s, i) == 1 && m_s[i] != '\0' && strchr(pszCharSet, m_s[i])) return (int)i;
    }
    return -1;
}

int CString::Replace(char chOld, char chNew) {
    int count = 0;
    for (size_t i = 0; i < m_s.size(); i += CharLen(m_s, i)) {
        if (CharLen(m_s, i) == 1 && m_s[i] == chOld) {
            m_s[i] = chNew;
            ++count;
        }
    }
    return count;
}

void CString::Format(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCSTR pszFormat, va_list args) {
    va_list measure;
    va_copy(measure, args);
    int n = vsnprintf(NULL, 0, pszFormat, measure);
    va_end(measure);
    if (n <= 0) {
        m_s.clear();
        return;
    }
    std::string out((size_t)n + 1, '\0');
    vsnprintf(&out[0], out.size(), pszFormat, args);
    out.resize((size_t)n);
    m_s.swap(out);
}

BOOL CString::LoadString(UINT nID) {
    char buf[4096];
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, buf, sizeof(buf));
    if (n <= 0) {
        m_s.clear();
        return FALSE;
    }
    m_s.assign(buf, n);
    return TRUE;
}

LPSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength > GetLength()) m_s.resize(nMinBufLength);
    return &m_s[0];
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
    m_s.resize(nNewLength > 0 ? nNewLength : 0);
    return &m_s[0];
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0) nNewLength = (int)strlen(m_s.c_str());
    m_s.resize(nNewLength);
}
