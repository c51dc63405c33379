#include "ui/viewer_text.h"

#include <vector>

#include "framework/cstring.h"
#include "ui/entry_cells.h"

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";

// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that
// starts none.
size_t SequenceLength(unsigned char c) {
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 0;
}

// Where the last whole UTF-8 character of the bytes ends.
size_t WholeUtf8Length(const std::string& bytes) {
    size_t n = bytes.size();
    for (size_t back = 1; back <= 3 && back <= n; ++back) {
        size_t nLead = SequenceLength((unsigned char)bytes[n - back]);
        if (nLead == 1) return n;
        if (nLead > 1) return nLead > back ? n - back : n;
    }
    return n;
}

// Where the last whole character of the system code page ends.
size_t WholeAnsiLength(const std::string& bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        size_t step = IsDBCSLeadByte((BYTE)bytes[i]) ? 2 : 1;
        if (i + step > bytes.size()) break;
        i += step;
    }
    return i;
}

std::string Utf8ToAnsi(const std::string& utf8) {
    if (utf8.empty()) return std::string();
    int nWide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), NULL, 0);
    if (nWide <= 0) return utf8;
    std::vector<WCHAR> wide(nWide);
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), wide.data(), nWide);
    int nAnsi = WideCharToMultiByte(CP_ACP, 0, wide.data(), nWide, NULL, 0, NULL, NULL);
    if (nAnsi <= 0) return utf8;
    std::string ansi(nAnsi, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), nWide, &ansi[0], nAnsi, NULL, NULL);
    return ansi;
}

CString Grouped(ULONGLONG n) {
    CString digits;
    digits.Format("%llu", (unsigned long long)n);
    return GroupThousands(digits);
}

}  // namespace

BOOL LooksLikeUtf8(const std::string& bytes, BOOL bCutEnd) {
    if (bytes.compare(0, 3, kUtf8Bom) == 0) return TRUE;
    BOOL bMultibyte = FALSE;
    for (size_t i = 0; i < bytes.size();) {
        size_t nLength = SequenceLength((unsigned char)bytes[i]);
        if (nLength == 0) return FALSE;
        if (i + nLength > bytes.size()) return bCutEnd;
        for (size_t k = 1; k < nLength; ++k)
            if (((unsigned char)bytes[i + k] & 0xC0) != 0x80) return FALSE;
        bMultibyte |= nLength > 1;
        i += nLength;
    }
    return bMultibyte;
}

BOOL ReadViewerHead(LPCSTR lpszPath, std::string& head, ULONGLONG& nTotal) {
    HANDLE hFile = CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return FALSE;
    LARGE_INTEGER size;
    BOOL bOk = GetFileSizeEx(hFile, &size);
    nTotal = bOk ? (ULONGLONG)size.QuadPart : 0;
    const DWORD nWant = kViewerMaxBytes + 3;
    head.assign(nTotal < nWant ? (size_t)nTotal : nWant, '\0');
    DWORD nDone = 0;
    while (bOk && nDone < head.size()) {
        DWORD nRead = 0;
        bOk = ReadFile(hFile, &head[nDone], (DWORD)head.size() - nDone, &nRead, NULL);
        if (nRead == 0) break;
        nDone += nRead;
    }
    head.resize(nDone);
    CloseHandle(hFile);
    return bOk;
}

std::string ViewerText(const std::string& head, ULONGLONG nTotal, LPCSTR lpszCutNote) {
    // The text control would stop at a zero byte; so does the text.
    std::string shown = head.substr(0, head.find('\0'));
    BOOL bCut = shown.size() == head.size() && nTotal > kViewerMaxBytes;
    BOOL bUtf8 = LooksLikeUtf8(shown.substr(0, kViewerMaxBytes), bCut);
    if (bCut) shown.resize(kViewerMaxBytes);
    if (bUtf8) {
        if (bCut) shown.resize(WholeUtf8Length(shown));
        if (shown.compare(0, 3, kUtf8Bom) == 0) shown.erase(0, 3);
        shown = Utf8ToAnsi(shown);
    } else if (bCut) {
        shown.resize(WholeAnsiLength(shown));
    }
    if (bCut) {
        CString note;
        note.Format(lpszCutNote, (LPCSTR)Grouped(kViewerMaxBytes), (LPCSTR)Grouped(nTotal));
        shown += "\r\n\r\n";
        shown += (LPCSTR)note;
    }
    return shown;
}
