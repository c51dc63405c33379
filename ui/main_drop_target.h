// The main window's OLE drop target: files dragged from any program arrive as
// CF_HDROP and go the way of WM_DROPFILES. Drags that this program itself runs
// are refused (entries dropped back onto their own archive do nothing).
#pragma once

#include "framework/ole_drop_target.h"

class CMainDropTarget : public COleDropTarget {
public:
    DROPEFFECT OnDragEnter(CWnd* pWnd, IDataObject* pDataObject, DWORD dwKeyState,
                           POINT point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, IDataObject* pDataObject, DWORD dwKeyState,
                          POINT point) override;
    BOOL OnDrop(CWnd* pWnd, IDataObject* pDataObject, DROPEFFECT dropEffect, POINT point) override;

private:
    static DROPEFFECT EffectFor(IDataObject* pDataObject);
};
