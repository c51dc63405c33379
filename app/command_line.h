// The archive path on the program's command line: the whole text, or the text
// inside a leading pair of double quotes (what follows the closing quote is
// ignored; a missing closing quote takes the rest).
#pragma once

#include "framework/cstring.h"

CString ArchivePathFromCommandLine(LPCSTR lpszCmdLine);
