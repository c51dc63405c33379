// The text of an entry as the MiniViewer shows it: at most its first part,
// up to its first zero byte, UTF-8 turned into the program's code page, and a
// closing line when the rest was left out.
#pragma once

#include <windows.h>

#include <string>

// The most bytes of an entry the MiniViewer shows: the rich edit control
// streams them in well under a second under Wine, where its time grows
// faster than the text (bench/miniviewer_bench.sh: 64 KB 0.8 s, 128 KB
// 1.7 s on a machine loaded several times over; set as window text, 2.5 s
// and 8.2 s).
const DWORD kViewerMaxBytes = 64 * 1024;

// The first kViewerMaxBytes bytes of a file, and a few more so that the cut
// can end on a whole character, with the file's whole size. FALSE when the
// file cannot be read.
BOOL ReadViewerHead(LPCSTR lpszPath, std::string& head, ULONGLONG& nTotal);

// The text to show for a file of nTotal bytes that begins with head.
// lpszCutNote: the closing line for a cut text, with two %s (the bytes shown
// and the whole size).
std::string ViewerText(const std::string& head, ULONGLONG nTotal, LPCSTR lpszCutNote);

// TRUE when the bytes are UTF-8: they begin with its byte-order mark, or they
// hold at least one multibyte sequence and nothing that is not UTF-8 (an
// unfinished sequence at the end counts when bCutEnd).
BOOL LooksLikeUtf8(const std::string& bytes, BOOL bCutEnd);
