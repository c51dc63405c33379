// CView: a child window of a frame that shows its document. The frame keeps
// one view active; commands go to the active view first, then its document.
#pragma once

#include "framework/wnd.h"

class CDocument;
class CFrameWnd;
class CView;

// What a frame's creation passes down to the views it makes.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass;
    CDocument* m_pCurrentDoc;
    class CDocTemplate* m_pNewDocTemplate;
    CView* m_pLastView;
    CFrameWnd* m_pCurrentFrame;
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    virtual ~CView();

    CDocument* GetDocument() const { return m_pDocument; }

    // Called once after the frame and all its views exist.
    virtual void OnInitialUpdate();
    // The document changed; pSender is the view that caused it (or NULL).
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnDraw(HDC hDC);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // Route: this view, then its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // A control of the view that takes the focus makes the view active.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(HWND hDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnSetFocus(HWND hOldWnd);
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    // Next and previous pane of the splitter the view sits in.
    afx_msg void OnNextPaneCmd(UINT nID);
    afx_msg void OnUpdateNextPaneMenu(CCmdUI* pCmdUI);
    class CSplitterWnd* GetParentSplitter() const;

protected:
    CDocument* m_pDocument;
    friend class CDocument;

    DECLARE_MESSAGE_MAP()
};

#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)
