#include "ui/dir_view.h"

IMPLEMENT_DYNCREATE(CDirView, CView)
