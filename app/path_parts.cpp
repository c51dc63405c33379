#include "app/path_parts.h"

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
