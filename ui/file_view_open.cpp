// CFileView: opening one row with its program, or as text in the MiniViewer.
#include "ui/file_view.h"

void CFileView::OnOpenEntry() {}

void CFileView::OnMiniViewer() {}
