// Conversions between wide (UTF-16) names and byte strings in a code page:
// the disk is reached by wide names only; stored names and the command line
// are bytes.
#pragma once
#include <windows.h>

#include <string>

namespace winfs {

const UINT kCp932 = 932;

// `text` in code page `code_page` as UTF-16.
std::wstring Widen(const std::string& text, UINT code_page = CP_ACP);

// `text` in code page `code_page`, characters it lacks given their best-fit
// spelling (or '?'); *exact (if given) tells whether nothing was lost.
// `fallback` replaces characters without any spelling ('?' when null).
std::string Narrow(const std::wstring& text, UINT code_page = CP_ACP, bool* exact = nullptr,
                   const char* fallback = nullptr);

}  // namespace winfs
