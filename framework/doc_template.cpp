#include "framework/doc_template.h"

#include "framework/afx_state.h"
#include "framework/document.h"
#include "framework/frame_wnd.h"
#include "framework/msgbox.h"
#include "framework/view.h"
#include "framework/winapp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {
    m_strDocStrings.LoadString(nIDResource);
}

CDocTemplate::~CDocTemplate() {}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    int nStart = 0;
    for (int i = 0; i < (int)index; ++i) {
        int nNewline = m_strDocStrings.Find('\n', nStart);
        if (nNewline < 0) {
            rString.Empty();
            return FALSE;
        }
        nStart = nNewline + 1;
    }
    int nEnd = m_strDocStrings.Find('\n', nStart);
    rString = nEnd < 0 ? m_strDocStrings.Mid(nStart) : m_strDocStrings.Mid(nStart, nEnd - nStart);
    return !rString.IsEmpty();
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (m_pDocClass == nullptr) return nullptr;
    CDocument* pDocument = static_cast<CDocument*>(m_pDocClass->CreateObject());
    if (pDocument == nullptr) return nullptr;
    AddDocument(pDocument);
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    CCreateContext context = {};
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (m_pFrameClass == nullptr) return nullptr;
    CFrameWnd* pFrame = static_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (pFrame == nullptr) return nullptr;
    // A frame that fails to load has deleted itself.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }
void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

void CDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString strTitle;
    if (!GetDocString(strTitle, docName)) strTitle.LoadString(AFX_IDS_UNTITLED);
    pDocument->SetTitle(strTitle);
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    if (CDocument* pDoc = GetOnlyDocument()) pDoc->OnCloseDocument();
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                       CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_pOnlyDoc(nullptr) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    if (m_pOnlyDoc != nullptr) m_pOnlyDoc->m_pDocTemplate = nullptr;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* pDocument = m_pOnlyDoc;
    CFrameWnd* pFrame = nullptr;
    BOOL bCreated = FALSE;
    if (pDocument != nullptr) {
        // The one document is reused: its frame stays.
        if (!pDocument->SaveModified()) return nullptr;
        POSITION pos = pDocument->GetFirstViewPosition();
        if (pos != nullptr) pFrame = pDocument->GetNextView(pos)->GetParentFrame();
    } else {
        pDocument = CreateNewDocument();
        if (pDocument == nullptr) {
            AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC);
            return nullptr;
        }
        // The frame's views will own the document from here on; while the
        // frame is being made, a view that fails must not take it along.
        BOOL bAutoDelete = pDocument->m_bAutoDelete;
        pDocument->m_bAutoDelete = FALSE;
        pFrame = CreateNewFrame(pDocument, nullptr);
        pDocument->m_bAutoDelete = bAutoDelete;
        if (pFrame == nullptr) {
            AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC);
            delete pDocument;
            return nullptr;
        }
        bCreated = TRUE;
    }

    if (lpszPathName == nullptr) {
        SetDefaultTitle(pDocument);
        if (!pDocument->OnNewDocument()) {
            if (bCreated) pFrame->DestroyWindow();  // takes the document with its views
            return nullptr;
        }
    } else {
        BOOL bWasModified = pDocument->IsModified();
        if (!pDocument->OnOpenDocument(lpszPathName)) {
            // The failure has been reported. A frame made for this open goes
            // again. An existing one keeps what it showed if the open failed
            // before touching it; if its contents are gone, it becomes a new
            // untitled document rather than an empty one under the old name.
            if (bCreated) {
                pFrame->DestroyWindow();
            } else if (!pDocument->IsModified()) {
                pDocument->SetModifiedFlag(bWasModified);
            } else {
                SetDefaultTitle(pDocument);
                pDocument->OnNewDocument();
            }
            return nullptr;
        }
        pDocument->SetModifiedFlag(FALSE);
        pDocument->SetPathName(lpszPathName);
    }

    if (bCreated) {
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pMainWnd == nullptr) {
            pApp->m_pMainWnd = pFrame;
            AfxSetMainWndHandle(pFrame->m_hWnd);
        }
    }
    if (pFrame != nullptr) InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}
