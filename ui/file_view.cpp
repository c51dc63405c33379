#include "ui/file_view.h"

IMPLEMENT_DYNCREATE(CFileView, CView)
