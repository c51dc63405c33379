// CZuvoApp's file type names: the description the system registered for an
// extension, else the extension in capitals and " ﾌｧｲﾙ". Answers are kept for
// the whole run.
#include "app/zuvo_app.h"

#include "framework/path_parts.h"

// " ﾌｧｲﾙ" (file) in half-width katakana, code page 932.
static const char kFileSuffix[] = " \xCC\xA7\xB2\xD9";

CString CZuvoApp::GetFileTypeName(LPCSTR lpszFileName) {
    CString ext = PathExtension(lpszFileName);
    if (ext.IsEmpty()) return ext;
    CharLowerBuffA(ext.GetBuffer(ext.GetLength()), (DWORD)ext.GetLength());
    ext.ReleaseBuffer(ext.GetLength());

    CString typeName;
    if (m_typeNames.Lookup(ext, typeName)) return typeName;

    typeName = LookupRegisteredTypeName(ext);
    if (typeName.IsEmpty()) {
        typeName = ext.Mid(1) + kFileSuffix;
        CharUpperA(typeName.GetBuffer(typeName.GetLength()));
        typeName.ReleaseBuffer(-1);
    }
    m_typeNames.SetAt(ext, typeName);
    return typeName;
}

// The default value of HKEY_CLASSES_ROOT\<subkey>, cut at its first zero;
// empty when the key or the value is missing.
static CString ReadClassDefault(LPCSTR lpszSubKey) {
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, lpszSubKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return CString();
    CString value;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(hKey, NULL, NULL, &type, NULL, &size) == ERROR_SUCCESS) {
        LPSTR p = value.GetBuffer((int)size + 1);
        memset(p, 0, size + 1);
        if (RegQueryValueExA(hKey, NULL, NULL, &type, (LPBYTE)p, &size) != ERROR_SUCCESS) *p = '\0';
        value.ReleaseBuffer(-1);
    }
    RegCloseKey(hKey);
    return value;
}

CString CZuvoApp::LookupRegisteredTypeName(LPCSTR lpszExt) {
    if (!lpszExt || !*lpszExt) return CString();
    CString typeId = ReadClassDefault(lpszExt);
    if (typeId.IsEmpty()) return typeId;
    return ReadClassDefault(typeId);
}
