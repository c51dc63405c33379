// Path and folder helpers on wide names, shared by the library and the
// self-extractors. Separators are '\\' (a '/' is accepted as one).
#pragma once
#include <windows.h>

#include <string>

namespace winfs {

bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);

// `directory` with one trailing '\' (none added to an empty text).
std::wstring WithSeparator(const std::wstring& directory);
// The folder part of `path` ("C:\a\b.txt" -> "C:\a", "C:\b.txt" -> "C:\"),
// "" when it has none.
std::wstring ParentOf(const std::wstring& path);
// The last component of `path`, trailing separators ignored.
std::wstring BaseName(const std::wstring& path);
// The absolute form of `path`, without a trailing separator unless it is a
// root such as "C:\".
std::wstring FullPath(const std::wstring& path);
// True when `path` lies strictly inside `directory` (both absolute; case is
// ignored as the file system does).
bool IsInside(const std::wstring& path, const std::wstring& directory);

// Makes `path` and every missing folder above it; true when it exists as a
// folder afterwards. On failure *error (if given) holds the Win32 error.
bool MakeFolders(const std::wstring& path, DWORD* error = nullptr);

// A new empty file in `directory` for work in progress; "" on failure.
std::wstring MakeWorkFile(const std::wstring& directory);

// Moves the finished `work_file` over `target` (same volume or not), a
// read-only target included. On failure `work_file` is removed, `target` is
// untouched and *error (if given) holds the Win32 error.
bool ReplaceWith(const std::wstring& work_file, const std::wstring& target, DWORD* error = nullptr);

}  // namespace winfs
