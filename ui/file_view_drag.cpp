// CFileView: dragging rows out of the window.
#include "ui/file_view.h"

void CFileView::OnBeginDrag() {}
