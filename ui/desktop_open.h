// Opening a file with the program the platform has for its type. Under Wine
// the Linux desktop's own opener (winebrowser, which calls xdg-open) takes
// what the prefix has no program for, and the help page.
#pragma once

#include <windows.h>

// ShellExecute's "open" of the file, with the directory as the working one;
// under Wine a type without a program goes to the desktop's opener. The
// result is ShellExecute's: 32 or less is a failure.
HINSTANCE OpenWithItsProgram(HWND hOwner, LPCSTR lpszPath, LPCSTR lpszDir);

// A page for reading (the help): under Wine in the desktop's browser, since
// the prefix's own has no engine; elsewhere with the platform's program.
HINSTANCE OpenPageOnDesktop(HWND hOwner, LPCSTR lpszPath);
