// CString: a byte string in the ANSI code page with value semantics.
// Searches treat a double-byte character (lead byte per IsDBCSLeadByte) as one
// unit, so the second byte of a Shift-JIS character is never found as '\\'.
#pragma once

#include <windows.h>

#include <stdarg.h>
#include <string>

class CString {
public:
    CString() {}
    CString(const CString& s) : m_s(s.m_s) {}
    CString(LPCSTR psz) : m_s(psz ? psz : "") {}
    CString(LPCSTR pch, int nLength) : m_s(pch, nLength > 0 ? nLength : 0) {}
    CString(char ch, int nRepeat = 1) : m_s(nRepeat > 0 ? nRepeat : 0, ch) {}

    int GetLength() const { return (int)m_s.size(); }
    BOOL IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }

    char GetAt(int nIndex) const { return m_s[nIndex]; }
    char operator[](int nIndex) const { return m_s[nIndex]; }
    void SetAt(int nIndex, char ch) { m_s[nIndex] = ch; }
    operator LPCSTR() const { return m_s.c_str(); }

    CString& operator=(const CString& s) { m_s = s.m_s; return *this; }
    CString& operator=(LPCSTR psz) { m_s = psz ? psz : ""; return *this; }
    CString& operator=(char ch) { m_s.assign(1, ch); return *this; }
    CString& operator+=(const CString& s) { m_s += s.m_s; return *this; }
    CString& operator+=(LPCSTR psz) { if (psz) m_s += psz; return *this; }
    CString& operator+=(char ch) { m_s += ch; return *this; }

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCSTR b);
    friend CString operator+(LPCSTR a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

    int Compare(LPCSTR psz) const;         // strcmp order
    int CompareNoCase(LPCSTR psz) const;   // lstrcmpiA order

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;

    void MakeUpper();
    void MakeLower();
    void TrimLeft();
    void TrimRight();

    // Positions are byte offsets; -1 when not found. Matches start only on
    // character boundaries.
    int Find(char ch) const { return Find(ch, 0); }
    int Find(char ch, int nStart) const;
    int Find(LPCSTR pszSub) const { return Find(pszSub, 0); }
    int Find(LPCSTR pszSub, int nStart) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR pszCharSet) const;
    // Replaces single-byte characters only; returns how many were replaced.
    int Replace(char chOld, char chNew);

    // printf formatting. Pass a CString to %s as (LPCSTR)str: the compiler
    // checks the arguments and refuses a CString passed through "...".
    void Format(LPCSTR pszFormat, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
    void FormatV(LPCSTR pszFormat, va_list args);
    BOOL LoadString(UINT nID);

    // Direct access for APIs that write into a buffer: room for at least
    // nMinBufLength bytes plus the terminator. ReleaseBuffer(-1) takes the
    // length up to the first zero byte.
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::string m_s;
};

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
