// CDocTemplate: pairs a document class with the frame and view classes that
// show it and with the resource id of the frame's menu, icon, accelerators and
// document strings. CSingleDocTemplate keeps at most one document.
#pragma once

#include "framework/cmd_target.h"
#include "framework/cstring.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName
    };

    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);
    virtual ~CDocTemplate();

    // The part of the template's string resource at index (text between the
    // newlines); FALSE when empty.
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    // NULL path: a new empty document. Returns the document, or NULL when the
    // open failed (the failure has been reported).
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    virtual void SetDefaultTitle(CDocument* pDocument);
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual CDocument* GetOnlyDocument() const = 0;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;

protected:
    CString m_strDocStrings;
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* GetOnlyDocument() const override { return m_pOnlyDoc; }

protected:
    CDocument* m_pOnlyDoc;
};
