// CDocument: the data a frame and its views show. It knows its path, its
// title, its views and its template; views learn of changes through
// UpdateAllViews.
#pragma once

#include <vector>

#include "framework/cmd_target.h"
#include "framework/collections.h"
#include "framework/cstring.h"

class CDocTemplate;
class CView;
class CFrameWnd;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    virtual ~CDocument();

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Takes the full path, sets the title to its file name and, when asked,
    // adds it to the application's recent-file list.
    virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // Views.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = NULL);
    virtual void OnChangedViewList();

    // Life cycle.
    virtual BOOL OnNewDocument();
    // Opens the file for reading to see that it can be read and reports the
    // framework's file errors; then DeleteContents. The data itself is the
    // derived class's to read.
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void Serialize(CArchive& ar) override;

    // Route: this document, then its template.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoDelete;  // delete this document when its last view goes

protected:
    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate;
    std::vector<CView*> m_viewList;
    BOOL m_bModified;

    // The error text for a file that could not be opened: file not found or
    // the general open failure.
    void ReportOpenError(LPCSTR lpszPathName, DWORD dwError);

    friend class CDocTemplate;
    friend class CSingleDocTemplate;

    DECLARE_MESSAGE_MAP()
};

// Framework string ids of the document layer.
#define AFX_IDS_UNTITLED 0xF003
#define AFX_IDP_FAILED_TO_OPEN_DOC 0xF101
#define AFX_IDP_FILE_NOT_FOUND 0xF121
