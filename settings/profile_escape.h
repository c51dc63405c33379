// The TAB escape of INI values: a TAB is stored as the two characters \t, and a
// \t that was in the text already is stored as \\t.
#pragma once

#include "framework/cstring.h"

CString EscapeProfileText(const CString& text);
CString UnescapeProfileText(const CString& text);
