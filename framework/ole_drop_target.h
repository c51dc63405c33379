// COleDropTarget: lets a window take OLE drops from any program. Register()
// hands the platform a COM drop target that calls the virtual functions below;
// Revoke() (or the destructor) takes it back.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "framework/cmd_target.h"
#include "framework/ole_data_source.h"

class CWnd;

class COleDropTarget : public CCmdTarget {
public:
    COleDropTarget();
    virtual ~COleDropTarget();

    BOOL Register(CWnd* pWnd);
    void Revoke();

    // The effect the drop would have at point (client coordinates of the
    // window); DROPEFFECT_NONE refuses it. The defaults refuse everything.
    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, IDataObject* pDataObject, DWORD dwKeyState,
                                   POINT point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, IDataObject* pDataObject, DWORD dwKeyState,
                                  POINT point);
    virtual void OnDragLeave(CWnd* pWnd);
    // TRUE when the data was taken.
    virtual BOOL OnDrop(CWnd* pWnd, IDataObject* pDataObject, DROPEFFECT dropEffect, POINT point);

private:
    struct Interface;
    Interface* m_pInterface;  // counted COM object; points back while registered
    HWND m_hWnd;
};
