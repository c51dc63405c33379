// Small file-system steps of extraction on Win32 (ANSI paths, DBCS-aware).
#pragma once
#include <windows.h>

#include <string>

#include "archiver/lzh/header.h"

namespace sfx {

// Makes `path` and every missing folder above it; true when it exists as a
// folder afterwards. On failure *error holds the Win32 error.
bool MakeFolders(const std::string& path, DWORD* error);

// The folder part of `path` ("C:\a\b.txt" -> "C:\a", "C:\b.txt" -> "C:\");
// DBCS trail bytes 0x5C are never taken for separators.
std::string ParentOf(const std::string& path);

// The full form of `path` (relative to the current folder), without a
// trailing separator unless it is a root such as "C:\".
std::string FullPathOf(const std::string& path);


// Sets the entry's time stamps on an open handle (write access, or
// FILE_FLAG_BACKUP_SEMANTICS for folders). False when the entry has none.
bool SetEntryTimes(HANDLE file, const lzh::Header& header);

// Sets the entry's time stamps on the folder at `path`.
void SetFolderTimes(const std::string& path, const lzh::Header& header);

// The read-only, hidden and system bits the entry asks for (0 for entries
// from systems without DOS attributes).
DWORD EntryAttributes(const lzh::Header& header);

}  // namespace sfx
