// How the engine reaches the archiver library: every entry point is looked
// up by name at each use; nothing links to it. The functions and the entry
// record are those of the library's one public header.
#pragma once

#include "interface/unlha32.h"

// The oldest library version the commands accept.
const WORD UNLHA_MIN_VERSION = 22;

// Mode of UnlhaOpenArchive.
const DWORD UNLHA_OPEN_MODE = 0x102;

// Returned by the searches when there is no (further) entry.
const int UNLHA_NO_ENTRY = -1;

typedef decltype(&UnlhaGetVersion) PFN_UNLHA_GET_VERSION;
typedef decltype(&UnlhaGetRunning) PFN_UNLHA_GET_RUNNING;
typedef decltype(&UnlhaSetCursorMode) PFN_UNLHA_SET_CURSOR_MODE;
typedef decltype(&Unlha) PFN_UNLHA;
typedef decltype(&UnlhaCheckArchive) PFN_UNLHA_CHECK_ARCHIVE;
typedef decltype(&UnlhaOpenArchive) PFN_UNLHA_OPEN_ARCHIVE;
typedef decltype(&UnlhaFindFirst) PFN_UNLHA_FIND_FIRST;
typedef decltype(&UnlhaFindNext) PFN_UNLHA_FIND_NEXT;
typedef decltype(&UnlhaCloseArchive) PFN_UNLHA_CLOSE_ARCHIVE;
// Whole sizes of the entry the last search delivered; optional.
typedef decltype(&UnlhaGetOriginalSizeEx) PFN_UNLHA_GET_SIZE_EX;
// Exact modification time of the entry the last search delivered; optional.
typedef decltype(&UnlhaGetWriteTimeEx) PFN_UNLHA_GET_WRITE_TIME_EX;
typedef decltype(&UnlhaConfigDialog) PFN_UNLHA_CONFIG_DIALOG;

// Looks an entry point up by name:
//   UnlhaProc<PFN_UNLHA_GET_VERSION>(hDll, "UnlhaGetVersion")  (NULL if missing)
template <class PFN>
PFN UnlhaProc(HMODULE hDll, LPCSTR pszName) {
    return reinterpret_cast<PFN>(GetProcAddress(hDll, pszName));
}
