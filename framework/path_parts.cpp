#include "framework/path_parts.h"

int LastComponentStart(const CString& path) {
    int sep = path.ReverseFind('\\');
    int slash = path.ReverseFind('/');
    if (slash > sep) sep = slash;
    if (sep < 0) sep = path.ReverseFind(':');
    return sep + 1;
}

// Offset of the extension's dot, or -1.
static int ExtensionStart(const CString& path) {
    int start = LastComponentStart(path);
    int dot = path.Mid(start).ReverseFind('.');
    return dot < 0 ? -1 : start + dot;
}

CString PathExtension(const CString& path) {
    int dot = ExtensionStart(path);
    return dot < 0 ? CString() : path.Mid(dot);
}

CString ReplaceExtension(const CString& path, LPCSTR lpszExt) {
    int dot = ExtensionStart(path);
    return dot < 0 ? path : path.Left(dot) + lpszExt;
}

BOOL EndsWithBackslash(const CString& path) {
    return !path.IsEmpty() && path.ReverseFind('\\') == path.GetLength() - 1;
}

CString WithTrailingBackslash(const CString& path) {
    return path.IsEmpty() || EndsWithBackslash(path) ? path : path + "\\";
}

CString WithoutTrailingBackslash(const CString& path) {
    return EndsWithBackslash(path) ? path.Left(path.GetLength() - 1) : path;
}

CString TempDirectory() {
    char buffer[MAX_PATH];
    DWORD n = GetTempPathA(sizeof(buffer), buffer);
    if (n == 0 || n >= sizeof(buffer)) return CString();
    return WithTrailingBackslash(CString(buffer, (int)n));
}
