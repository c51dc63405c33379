// The one way the program, not the user's click, changes the folder shown.
#pragma once

#include "framework/cstring.h"

class CDirView;
class CFileView;

// Shows a folder of the archive in both panes, as choosing its node in the
// tree does, and selects the row of the named file in it (none when the name
// is empty or not there). FALSE when the folder is not in the tree.
BOOL ShowFolderAndRow(CDirView* pTree, CFileView* pList, const CString& strDir, const CString& strName);
