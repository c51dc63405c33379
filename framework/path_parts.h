// The parts of a path, found character by character in the multibyte code
// page: a double-byte character whose second byte is 0x5C is never taken for
// a separator, and a path of any length is split whole. Also the system's
// temporary directory.
#pragma once

#include "framework/cstring.h"

// Offset of the last component: after the last backslash or slash, else
// after a drive's colon, else 0.
int LastComponentStart(const CString& path);
// The extension of the last component with its dot; empty without one.
CString PathExtension(const CString& path);
// The path with the extension of its last component replaced by lpszExt (a
// dot and what follows); unchanged when it has no extension.
CString ReplaceExtension(const CString& path, LPCSTR lpszExt);

// Whether the last character is a backslash (not a trail byte 0x5C).
BOOL EndsWithBackslash(const CString& path);
// The path with one trailing backslash; an empty path stays empty.
CString WithTrailingBackslash(const CString& path);
CString WithoutTrailingBackslash(const CString& path);
// The system's temporary directory ending in a backslash; empty when there is
// none or its name is too long for a path here, never the current directory.
CString TempDirectory();
