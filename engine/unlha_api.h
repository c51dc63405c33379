// The archiver library's entry points and the entry record its searches fill.
// Every entry point is looked up by name at each use; nothing links to it.
#pragma once

#include <windows.h>

#define UNLHA_DLL_NAME "unlha32.dll"

// The oldest library version the commands accept.
const WORD UNLHA_MIN_VERSION = 22;

// Mode of UnlhaOpenArchive.
const DWORD UNLHA_OPEN_MODE = 0x102;

// Returned by the searches when there is no (further) entry.
const int UNLHA_NO_ENTRY = -1;

typedef HANDLE HARC;

// The entry record, 560 bytes, little-endian. Only these fields are read; the
// rest belongs to the library.
#pragma pack(push, 1)
struct UNLHA_ENTRY_RECORD {
    DWORD dwOriginalSize;    // offset 0
    DWORD dwCompressedSize;  // offset 4
    BYTE abLibraryData[14];  // offset 8
    WORD wDate;              // offset 22: MS-DOS date
    WORD wTime;              // offset 24: MS-DOS time
    char szFileName[534];    // offset 26: stored name, '/' or '\' separators
};
#pragma pack(pop)
static_assert(sizeof(UNLHA_ENTRY_RECORD) == 560, "entry record is 560 bytes");

typedef DWORD(WINAPI* PFN_UNLHA_GET_VERSION)();
typedef BOOL(WINAPI* PFN_UNLHA_GET_RUNNING)();
typedef BOOL(WINAPI* PFN_UNLHA_SET_CURSOR_MODE)(BOOL bCursorMode);
typedef int(WINAPI* PFN_UNLHA)(HWND hwnd, LPCSTR pszCmdLine, LPSTR pszOutput, DWORD dwSize);
typedef BOOL(WINAPI* PFN_UNLHA_CHECK_ARCHIVE)(LPCSTR pszArchive, int nMode);
typedef HARC(WINAPI* PFN_UNLHA_OPEN_ARCHIVE)(HWND hwnd, LPCSTR pszArchive, DWORD dwMode);
typedef int(WINAPI* PFN_UNLHA_FIND_FIRST)(HARC hArc, LPCSTR pszWildName, UNLHA_ENTRY_RECORD* pRecord);
typedef int(WINAPI* PFN_UNLHA_FIND_NEXT)(HARC hArc, UNLHA_ENTRY_RECORD* pRecord);
typedef int(WINAPI* PFN_UNLHA_CLOSE_ARCHIVE)(HARC hArc);
// Whole sizes of the entry the last search delivered (the record's fields
// read 0xFFFFFFFF beyond 4 GiB); optional.
typedef BOOL(WINAPI* PFN_UNLHA_GET_SIZE_EX)(HARC hArc, ULONGLONG* pSize);
typedef BOOL(WINAPI* PFN_UNLHA_CONFIG_DIALOG)(HWND hwnd, LPSTR pszBuffer, int nMode);

// Looks an entry point up by name:
//   UnlhaProc<PFN_UNLHA_GET_VERSION>(hDll, "UnlhaGetVersion")  (NULL if missing)
template <class PFN>
PFN UnlhaProc(HMODULE hDll, LPCSTR pszName) {
    return reinterpret_cast<PFN>(GetProcAddress(hDll, pszName));
}
