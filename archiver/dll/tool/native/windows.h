// The little of <windows.h> the command-line parser uses, for building it
// natively under the fuzzer (scripts/fuzz.sh). Paths are never on disk there:
// the fuzz target supplies its own probe.
#pragma once
#include <strings.h>

#include <algorithm>
#include <cstring>

typedef unsigned long DWORD;
#define INVALID_FILE_ATTRIBUTES (static_cast<DWORD>(-1))
#define FILE_ATTRIBUTE_DIRECTORY 0x10
inline DWORD GetFileAttributesA(const char*) { return INVALID_FILE_ATTRIBUTES; }
inline int lstrcmpiA(const char* a, const char* b) { return strcasecmp(a, b); }
