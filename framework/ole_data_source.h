// OLE data transfer out of the program: COleDataSource offers formats that it
// renders only when a consumer asks (delayed rendering) and runs the platform's
// drag loop with a drop source. The COM object handed to the platform lives as
// long as anyone holds it; once its COleDataSource is gone it answers nothing.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <vector>

#include "framework/cmd_target.h"

// What a drop does with the data: DROPEFFECT_COPY, _MOVE, _LINK or _NONE.
typedef DWORD DROPEFFECT;

// The drop source of a drag: drops when the left button comes up, cancels on
// Escape, and leaves the cursors to the platform.
class COleDropSource : public CCmdTarget {
public:
    COleDropSource();
    virtual ~COleDropSource();

    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);

    IDropSource* GetDropSource();

private:
    struct Interface;
    Interface* m_pInterface;  // counted COM object; points back while we live
};

class COleDataSource : public CCmdTarget {
public:
    COleDataSource();
    virtual ~COleDataSource();

    // Offers cfFormat as a global memory block, rendered by
    // OnRenderGlobalData when asked for. lpFormatEtc NULL: content, any device.
    void DelayRenderData(CLIPFORMAT cfFormat, const FORMATETC* lpFormatEtc = NULL);

    // Fills *phGlobal with a new block of the format (the caller then owns
    // it). FALSE: nothing to give.
    virtual BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal);

    // Runs the platform's modal drag loop; the effect of the drop, or
    // DROPEFFECT_NONE when cancelled or refused. pDropSource NULL: the default.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = NULL, COleDropSource* pDropSource = NULL);

    // The COM view of this object, as the platform gets it (not add-refed).
    IDataObject* GetDataObject();

    // TRUE while this process runs DoDragDrop: a drop target of the program
    // can tell its own drags from other programs'.
    static BOOL IsDraggingHere();

private:
    friend struct DataObject;
    struct DataObject;
    DataObject* m_pInterface;
    std::vector<FORMATETC> m_formats;
};
