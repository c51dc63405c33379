// The folder and the row the main window shows, kept across a re-listing of
// the archive after a change: one way for every command that changes it and
// for reading it again.
#pragma once

#include "framework/cstring.h"

class CArchiveDoc;
class CDocument;

struct CShownPlace {
    CString m_strDir;   // relative folder path, empty for the root
    CString m_strName;  // the focused row's file name, empty for none
};

// Where the document's panes stand now.
CShownPlace TakeShownPlace(CDocument* pDoc);
// Shows the place again after a re-listing: the folder when it is still
// there, else the nearest folder above it, with the row when it is there.
void ShowPlaceAgain(CDocument* pDoc, const CShownPlace& place);
// The folder the file list shows: where new entries go.
CString ShownFolder(CDocument* pDoc);
// Lists the archive again from its path, through the document's Load or,
// when bReopen, the application's Reopen, and shows the place shown before.
BOOL RelistInPlace(CArchiveDoc* pDoc, BOOL bReopen);
