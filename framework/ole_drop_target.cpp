// COleDropTarget: IDropTarget over the object's virtual functions.
#include "framework/ole_drop_target.h"

#include "framework/archive_exception.h"
#include "framework/wnd.h"

struct COleDropTarget::Interface final : public IDropTarget {
    LONG m_nRefs = 1;
    COleDropTarget* m_pOwner;
    IDataObject* m_pData = nullptr;  // the data of the drag over us
    DWORD m_dwLastEffect = DROPEFFECT_NONE;
    explicit Interface(COleDropTarget* pOwner) : m_pOwner(pOwner) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *ppv = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)InterlockedIncrement(&m_nRefs); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG n = InterlockedDecrement(&m_nRefs);
        if (n == 0) {
            SetData(nullptr);
            delete this;
        }
        return (ULONG)n;
    }

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

    // Calls into the program never let an exception into the platform.
    template <class F>
    static void Guarded(F f) {
        try {
            f();
        } catch (CException* e) {
            e->ReportError();
            e->Delete();
        } catch (...) {
        }
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
            Guarded([&] { dwEffect = m_pOwner->OnDragEnter(pWnd, pData, grfKeyState, ptClient); });
        m_dwLastEffect = *pdwEffect = Limit(dwEffect, *pdwEffect);
        return S_OK;
    }
    STDMETHODIMP DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override {
        POINT ptClient;
        DWORD dwEffect = DROPEFFECT_NONE;
        if (CWnd* pWnd = Window(pt, ptClient))
            if (m_pData != nullptr)
                Guarded([&] { dwEffect = m_pOwner->OnDragOver(pWnd, m_pData, grfKeyState, ptClient); });
        m_dwLastEffect = *pdwEffect = Limit(dwEffect, *pdwEffect);
        return S_OK;
    }
    STDMETHODIMP DragLeave() override {
        POINT ptClient;
        if (CWnd* pWnd = Window({0, 0}, ptClient)) Guarded([&] { m_pOwner->OnDragLeave(pWnd); });
        SetData(nullptr);
        return S_OK;
    }
    STDMETHODIMP Drop(IDataObject* pData, DWORD, POINTL pt, DWORD* pdwEffect) override {
        POINT ptClient;
        BOOL bTaken = FALSE;
        DWORD dwEffect = Limit(m_dwLastEffect, *pdwEffect);
        CWnd* pWnd = Window(pt, ptClient);
        if (pWnd != nullptr && dwEffect != DROPEFFECT_NONE)
            Guarded([&] { bTaken = m_pOwner->OnDrop(pWnd, pData, dwEffect, ptClient); });
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
