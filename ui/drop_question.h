// The question before files dropped on the main window are added.
#pragma once

class CArchiveDoc;

// Asks whether to add nCount dropped files, naming the archive and the folder
// shown that they go into; IDYES or IDNO. An untitled document asks without
// a name: the archive is named after the answer.
int AskToAddDropped(CArchiveDoc* pDoc, int nCount);
