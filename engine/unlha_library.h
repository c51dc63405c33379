// The archiver library unlha32.dll for the length of one operation: loaded
// without the system's "file not found" box, every entry point the engine uses
// resolved once, freed when the object goes. Nothing links to the library.
#pragma once

#include "interface/unlha32.h"

// The oldest library version the commands accept.
const WORD UNLHA_MIN_VERSION = 22;

// Mode of UnlhaOpenArchive.
const DWORD UNLHA_OPEN_MODE = 0x102;

// Returned by the searches when there is no (further) entry.
const int UNLHA_NO_ENTRY = -1;

class CUnlhaLibrary {
public:
    CUnlhaLibrary();
    ~CUnlhaLibrary();
    CUnlhaLibrary(const CUnlhaLibrary&) = delete;
    CUnlhaLibrary& operator=(const CUnlhaLibrary&) = delete;

    // Shows "no UNLHA32.DLL" when the library could not be loaded.
    BOOL IsLoadedOrSay() const;
    // Any non-zero running flag means the library is busy: it promises only
    // zero for idle, and a second operation must never start on a busy one.
    BOOL IsBusy() const { return GetRunning() != 0; }

    // Each NULL when this library lacks it.
    decltype(&UnlhaGetVersion) GetVersion;
    decltype(&UnlhaGetRunning) GetRunning;
    decltype(&UnlhaSetCursorMode) SetCursorMode;
    decltype(&Unlha) Command;
    decltype(&UnlhaCheckArchive) CheckArchive;
    decltype(&UnlhaOpenArchive) OpenArchive;
    decltype(&UnlhaFindFirst) FindFirst;
    decltype(&UnlhaFindNext) FindNext;
    decltype(&UnlhaCloseArchive) CloseArchive;
    // Whole sizes and exact time of the entry the last search delivered.
    decltype(&UnlhaGetCompressedSizeEx) GetCompressedSizeEx;
    decltype(&UnlhaGetOriginalSizeEx) GetOriginalSizeEx;
    decltype(&UnlhaGetWriteTimeEx) GetWriteTimeEx;
    decltype(&UnlhaConfigDialog) ConfigDialog;
    // Facts of the entry the last search delivered beyond its record.
    decltype(&UnlhaGetHeaderLevel) GetHeaderLevel;
    decltype(&UnlhaGetOSId) GetOSId;
    decltype(&UnlhaGetExactName) GetExactName;

private:
    HMODULE m_hDll;
};
