// COleDataSource and COleDropSource: IDataObject and IDropSource over the
// objects' virtual functions.
#include "framework/ole_data_source.h"

#include <shlobj.h>

#include "framework/com_object.h"

namespace {

int g_nDragsRunning = 0;

BOOL SameFormat(const FORMATETC& offered, const FORMATETC& asked) {
    return offered.cfFormat == asked.cfFormat && (offered.tymed & asked.tymed) != 0 &&
           offered.dwAspect == asked.dwAspect && (asked.lindex == -1 || asked.lindex == offered.lindex);
}

}  // namespace

// --- Drop source -------------------------------------------------------------

struct COleDropSource::Interface final
    : public CComObjectOf<COleDropSource::Interface, IDropSource, &IID_IDropSource> {
    COleDropSource* m_pOwner;
    explicit Interface(COleDropSource* pOwner) : m_pOwner(pOwner) {}

    STDMETHODIMP QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override {
        if (m_pOwner == nullptr) return DRAGDROP_S_CANCEL;
        return m_pOwner->QueryContinueDrag(fEscapePressed, grfKeyState);
    }
    STDMETHODIMP GiveFeedback(DWORD dwEffect) override {
        if (m_pOwner == nullptr) return DRAGDROP_S_USEDEFAULTCURSORS;
        return m_pOwner->GiveFeedback(dwEffect);
    }
};

COleDropSource::COleDropSource() : m_pInterface(new Interface(this)) {}

COleDropSource::~COleDropSource() {
    m_pInterface->m_pOwner = nullptr;
    m_pInterface->Release();
}

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
    if (bEscapePressed) return DRAGDROP_S_CANCEL;
    if ((dwKeyState & (MK_LBUTTON | MK_RBUTTON)) == 0) return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

IDropSource* COleDropSource::GetDropSource() { return m_pInterface; }

// --- Data source ---------------------------------------------------------------

struct COleDataSource::DataObject final
    : public CComObjectOf<COleDataSource::DataObject, IDataObject, &IID_IDataObject> {
    COleDataSource* m_pOwner;
    explicit DataObject(COleDataSource* pOwner) : m_pOwner(pOwner) {}

    const FORMATETC* Find(const FORMATETC* pAsked) const {
        if (m_pOwner == nullptr || pAsked == nullptr) return nullptr;
        for (const FORMATETC& offered : m_pOwner->m_formats)
            if (SameFormat(offered, *pAsked)) return &offered;
        return nullptr;
    }


    STDMETHODIMP GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) override {
        if (pMedium == nullptr) return E_INVALIDARG;
        ZeroMemory(pMedium, sizeof(*pMedium));
        if (Find(pFormat) == nullptr) return DV_E_FORMATETC;
        if ((pFormat->tymed & TYMED_HGLOBAL) == 0) return DV_E_TYMED;
        HGLOBAL hGlobal = NULL;
        COleDataSource* pOwner = m_pOwner;
        BOOL bRendered = FALSE;
        AfxGuardedCall([&] { bRendered = pOwner->OnRenderGlobalData(pFormat, &hGlobal); });
        if (!bRendered || hGlobal == NULL) return E_FAIL;
        pMedium->tymed = TYMED_HGLOBAL;
        pMedium->hGlobal = hGlobal;
        pMedium->pUnkForRelease = NULL;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* pFormat) override {
        return Find(pFormat) != nullptr ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pOut) override {
        if (pOut != nullptr) pOut->ptd = NULL;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum) override {
        if (ppEnum == nullptr) return E_INVALIDARG;
        *ppEnum = NULL;
        if (dwDirection != DATADIR_GET || m_pOwner == nullptr) return E_NOTIMPL;
        const std::vector<FORMATETC>& formats = m_pOwner->m_formats;
        return SHCreateStdEnumFmtEtc((UINT)formats.size(), formats.empty() ? NULL : &formats[0],
                                     ppEnum);
    }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

COleDataSource::COleDataSource() : m_pInterface(new DataObject(this)) {}

COleDataSource::~COleDataSource() {
    // A consumer may still hold the COM object: from now on it renders nothing.
    m_pInterface->m_pOwner = nullptr;
    m_pInterface->Release();
}

void COleDataSource::DelayRenderData(CLIPFORMAT cfFormat, const FORMATETC* lpFormatEtc) {
    FORMATETC format = {cfFormat, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (lpFormatEtc != NULL) {
        format = *lpFormatEtc;
        format.cfFormat = cfFormat;
    }
    m_formats.push_back(format);
}

BOOL COleDataSource::OnRenderGlobalData(LPFORMATETC, HGLOBAL*) { return FALSE; }

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT, COleDropSource* pDropSource) {
    COleDropSource defaultSource;
    if (pDropSource == NULL) pDropSource = &defaultSource;
    DWORD dwEffect = DROPEFFECT_NONE;
    ++g_nDragsRunning;
    HRESULT hr = ::DoDragDrop(m_pInterface, pDropSource->GetDropSource(), dwEffects, &dwEffect);
    --g_nDragsRunning;
    return hr == DRAGDROP_S_DROP ? dwEffect : DROPEFFECT_NONE;
}

IDataObject* COleDataSource::GetDataObject() { return m_pInterface; }

BOOL COleDataSource::IsDraggingHere() { return g_nDragsRunning > 0; }
