// The status bar's idle text: how many files the shown folder holds and
// their total size, or how many of them are selected and theirs.
#pragma once

#include "framework/cstring.h"

class CFileView;

// A size for people: "512 バイト", then one decimal in KB, MB, GB or TB.
CString ByteSizeText(ULONGLONG nBytes);
// "12 個のファイル、3.4 MB" for a folder without selected files; else
// "12 個中 3 個のファイルを選択、1.2 MB" with the size of the selected ones.
CString FileCountsText(int nFiles, int nSelected, ULONGLONG nBytes);
// The counts of the list's selected rows, or of all its rows when none is
// selected; FALSE when no archive is shown (the ordinary idle text stays).
BOOL FolderCountsText(CFileView* pView, CString& rText);
