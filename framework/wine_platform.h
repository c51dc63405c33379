// Whether the program runs under Wine, for the few workarounds that must not
// change what it does on Windows.
#pragma once

#include <windows.h>

BOOL AfxRunningOnWine();
