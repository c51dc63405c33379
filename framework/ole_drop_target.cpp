// COleDropTarget: IDropTarget over the object's virtual functions.
#include "framework/ole_drop_target.h"

#include "framework/com_object.h"
#include "framework/wnd.h"

struct COleDropTarget::Interface final
    : public CComObjectOf<COleDropTarget::Interface, IDropTarget, &IID_IDropTarget> {
    COleDropTarget* m_pOwner;
    IDataObject* m_pData = nullptr;  // the data of the drag over us
    DWORD m_dwLastEffect = DROPEFFECT_NONE;
    explicit Interface(COleDropTarget* pOwner) : m_pOwner(pOwner) {}

    ~Interface() override { SetData(nullptr); }

    void SetData(IDataObject* pData) {
        if (pData != nullptr) pData->AddRef();
        if (m_pData != nullptr) m_pData->Release();
        m_pData = pData;
    }

    CWnd* Window(POINTL ptl, POINT& ptClient) {
        if (m_pOwner == nullptr || m_pOwner->m_hWnd == NULL) return nullptr;
        ptClient = {ptl.x, ptl.y};
        ::ScreenToClient(m_pOwner->m_hWnd, &ptClient);
        return CWnd::FromHandle(m_pOwner->m_hWnd);
    }

    DWORD Limit(DWORD dwEffect, DWORD dwAllowed) {
        dwEffect &= dwAllowed;
        // One effect only, the most harmless first.
        if (dwEffect & DROPEFFECT_COPY) return DROPEFFECT_COPY;
        if (dwEffect & DROPEFFECT_MOVE) return DROPEFFECT_MOVE;
        if (dwEffect & DROPEFFECT_LINK) return DROPEFFECT_LINK;
        return DROPEFFECT_NONE;
    }

    STDMETHODIMP DragEnter(IDataObject* pData, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override {
        SetData(pData);
        POINT ptClient;
        DWORD dwEffect = DROPEFFECT_NONE;
        if (CWnd* pWnd = Window(pt, ptClient))
            AfxGuardedCall(
                [&] { dwEffect = m_pOwner->OnDragEnter(pWnd, pData, grfKeyState, ptClient); });
        m_dwLastEffect = *pdwEffect = Limit(dwEffect, *pdwEffect);
        return S_OK;
    }
    STDMETHODIMP DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override {
        POINT ptClient;
        DWORD dwEffect = DROPEFFECT_NONE;
        if (CWnd* pWnd = Window(pt, ptClient))
            if (m_pData != nullptr)
                AfxGuardedCall(
                    [&] { dwEffect = m_pOwner->OnDragOver(pWnd, m_pData, grfKeyState, ptClient); });
        m_dwLastEffect = *pdwEffect = Limit(dwEffect, *pdwEffect);
        return S_OK;
    }
    STDMETHODIMP DragLeave() override {
        POINT ptClient;
        if (CWnd* pWnd = Window({0, 0}, ptClient)) AfxGuardedCall([&] { m_pOwner->OnDragLeave(pWnd); });
        SetData(nullptr);
        return S_OK;
    }
    STDMETHODIMP Drop(IDataObject* pData, DWORD, POINTL pt, DWORD* pdwEffect) override {
        POINT ptClient;
        BOOL bTaken = FALSE;
        DWORD dwEffect = Limit(m_dwLastEffect, *pdwEffect);
        CWnd* pWnd = Window(pt, ptClient);
        if (pWnd != nullptr && dwEffect != DROPEFFECT_NONE)
            AfxGuardedCall([&] { bTaken = m_pOwner->OnDrop(pWnd, pData, dwEffect, ptClient); });
        *pdwEffect = bTaken ? dwEffect : DROPEFFECT_NONE;
        SetData(nullptr);
        return S_OK;
    }
};

COleDropTarget::COleDropTarget() : m_pInterface(new Interface(this)), m_hWnd(NULL) {}

COleDropTarget::~COleDropTarget() {
    Revoke();
    m_pInterface->m_pOwner = nullptr;
    m_pInterface->Release();
}

BOOL COleDropTarget::Register(CWnd* pWnd) {
    if (pWnd == nullptr || pWnd->m_hWnd == NULL || m_hWnd != NULL) return FALSE;
    if (FAILED(RegisterDragDrop(pWnd->m_hWnd, m_pInterface))) return FALSE;
    m_hWnd = pWnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke() {
    if (m_hWnd == NULL) return;
    RevokeDragDrop(m_hWnd);
    m_hWnd = NULL;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, IDataObject*, DWORD, POINT) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, IDataObject*, DWORD, POINT) { return DROPEFFECT_NONE; }
void COleDropTarget::OnDragLeave(CWnd*) {}
BOOL COleDropTarget::OnDrop(CWnd*, IDataObject*, DROPEFFECT, POINT) { return FALSE; }
