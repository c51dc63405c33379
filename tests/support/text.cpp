// Conversions between the tests' UTF-8 literals and the program's CP932 texts.
#include "tests/support/text.h"

#include <windows.h>

static std::string Convert(const std::string& in, UINT from, UINT to) {
    int wn = MultiByteToWideChar(from, 0, in.data(), (int)in.size(), NULL, 0);
    std::wstring w(wn, L'\0');
    MultiByteToWideChar(from, 0, in.data(), (int)in.size(), &w[0], wn);
    int n = WideCharToMultiByte(to, 0, w.data(), wn, NULL, 0, NULL, NULL);
    std::string out(n, '\0');
    WideCharToMultiByte(to, 0, w.data(), wn, &out[0], n, NULL, NULL);
    return out;
}

std::string Sjis(const char* utf8) { return Convert(utf8, CP_UTF8, 932); }

std::string Utf8(const std::string& sjis) { return Convert(sjis, 932, CP_UTF8); }
