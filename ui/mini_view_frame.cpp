#include "ui/mini_view_frame.h"

#include <richedit.h>
#include <string.h>

#include "app/zuvo_app.h"
#include "framework/afx_state.h"
#include "framework/archive_exception.h"
#include "framework/cmd_ui.h"
#include "framework/font_dialog.h"
#include "res/resource.h"
#include "settings/remembered_settings.h"

IMPLEMENT_DYNCREATE(CMiniViewFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniViewFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_SETFOCUS()
    ON_COMMAND(IDM_EDIT_COPY, OnEditCopy)
    ON_UPDATE_COMMAND_UI(IDM_EDIT_COPY, OnUpdateEditCopy)
    ON_COMMAND(ID_SELECT_ALL, OnEditSelectAll)
    ON_COMMAND(IDM_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FONT, OnFont)
END_MESSAGE_MAP()

namespace {

const UINT kEditId = 101;
const UINT kButtons[] = {IDM_FILE_CLOSE, ID_SEPARATOR, IDM_EDIT_COPY, ID_VIEW_ENTRY,
                         ID_SEPARATOR, ID_FONT};

int CALLBACK CountFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM lParam) {
    ++*reinterpret_cast<int*>(lParam);
    return 0;
}

BOOL IsListedFace(HDC hdc, LPCSTR lpszFace) {
    LOGFONTA query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(query.lfFaceName, lpszFace, LF_FACESIZE);
    int nFound = 0;
    if (query.lfFaceName[0] != '\0')
        EnumFontFamiliesExA(hdc, &query, (FONTENUMPROCA)CountFace, (LPARAM)&nFound, 0);
    return nFound > 0;
}

// The font the dialog starts on: the font's own record when the dialog lists
// its face; else (the stock fallback, a face that is gone) the face and size
// the screen draws, or the dialog would start on its first entry.
LOGFONTA DialogStartFont(CFont& font) {
    LOGFONTA lf = {};
    font.GetLogFont(&lf);
    HDC hdc = GetDC(NULL);
    if (!IsListedFace(hdc, lf.lfFaceName)) {
        HGDIOBJ hOld = SelectObject(hdc, (HFONT)font);
        TEXTMETRICA tm;
        char szFace[LF_FACESIZE] = "";
        if (GetTextFaceA(hdc, sizeof(szFace), szFace) > 0 && GetTextMetricsA(hdc, &tm)) {
            lstrcpynA(lf.lfFaceName, szFace, LF_FACESIZE);
            lf.lfHeight = -(tm.tmHeight - tm.tmInternalLeading);
            lf.lfWidth = 0;
            lf.lfWeight = tm.tmWeight;
            lf.lfItalic = tm.tmItalic;
            lf.lfCharSet = tm.tmCharSet;
        }
        SelectObject(hdc, hOld);
    }
    ReleaseDC(NULL, hdc);
    return lf;
}

struct TextStream {
    LPCSTR pszNext;
    size_t nLeft;
};

DWORD CALLBACK ReadTextStream(DWORD_PTR dwCookie, LPBYTE pBuffer, LONG nWant, LONG* pnGot) {
    TextStream* pStream = reinterpret_cast<TextStream*>(dwCookie);
    size_t n = pStream->nLeft < (size_t)nWant ? pStream->nLeft : (size_t)nWant;
    memcpy(pBuffer, pStream->pszNext, n);
    pStream->pszNext += n;
    pStream->nLeft -= n;
    *pnGot = (LONG)n;
    return 0;
}

}  // namespace

CMiniViewFrame::CMiniViewFrame() : m_pFont(new CFont) {}

CMiniViewFrame::~CMiniViewFrame() { delete m_pFont; }

BOOL CMiniViewFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    PlaceMiniViewer(cs);
    return CFrameWnd::PreCreateWindow(cs);
}

int CMiniViewFrame::OnCreate(LPCREATESTRUCTA lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;

    LOGFONTA lf;
    LoadMiniViewerFont(lf);
    m_pFont->CreateFontIndirect(&lf);

    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR)) return -1;
    m_wndToolBar.SetSizes(SIZE{24, 22}, SIZE{18, 16});
    if (!m_wndToolBar.LoadBitmap(IDB_VIEWER_TOOLBAR) ||
        !m_wndToolBar.SetButtons(kButtons, sizeof(kButtons) / sizeof(kButtons[0])))
        return -1;
    m_wndToolBar.SetBarStyle((m_wndToolBar.GetBarStyle() & ~CBRS_BORDER_TOP) | CBRS_TOOLTIPS |
                             CBRS_FLYBY | CBRS_BORDER_BOTTOM);
    m_wndToolBar.SetSizes(SIZE{24, 22}, SIZE{18, 16});

    RECT rc = {0, 0, 100, 100};
    if (!m_wndEdit.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                              ES_AUTOHSCROLL | ES_READONLY,
                          rc, this, kEditId))
        return -1;
    // The control's default limit (64 KB) would cut long entries silently.
    m_wndEdit.SendMessage(EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    m_wndEdit.SetFont(*m_pFont, TRUE);

    // No menu bar: the commands come from the toolbar and the accelerators.
    HMENU hMenu = GetMenu();
    SetMenu(NULL);
    if (hMenu != NULL) DestroyMenu(hMenu);
    if (hMenu == m_hMenuDefault) m_hMenuDefault = NULL;
    RecalcLayout();
    return 0;
}

void CMiniViewFrame::SetText(LPCSTR lpszText) {
    // Streamed in: set as window text, a long text takes the control several
    // times as long (bench/miniviewer_bench.sh).
    TextStream stream = {lpszText, strlen(lpszText)};
    EDITSTREAM es = {(DWORD_PTR)&stream, 0, ReadTextStream};
    m_wndEdit.SendMessage(EM_STREAMIN, SF_TEXT, (LPARAM)&es);
    // The text shows from its start, as after setting the window text.
    m_wndEdit.SetSel(0, 0);
    m_wndEdit.SendMessage(EM_SCROLLCARET);
}

void CMiniViewFrame::OnSize(UINT nType, int cx, int cy) {
    CFrameWnd::OnSize(nType, cx, cy);
    if (m_wndEdit.m_hWnd == NULL || m_wndToolBar.m_hWnd == NULL) return;
    RECT rcBar;
    m_wndToolBar.GetWindowRect(&rcBar);
    int h = rcBar.bottom - rcBar.top;
    m_wndEdit.MoveWindow(0, h, cx, cy - h, TRUE);
}

void CMiniViewFrame::OnSetFocus(HWND hOldWnd) {
    CFrameWnd::OnSetFocus(hOldWnd);
    if (m_wndEdit.m_hWnd != NULL) m_wndEdit.SetFocus();
}

void CMiniViewFrame::OnClose() {
    // A refused write is reported, and the window still closes: the
    // application must not be left holding a window that stays up only
    // because its settings could not be kept.
    try {
        SaveMiniViewer(m_hWnd, *m_pFont);
    } catch (CException* e) {
        e->ReportError(MB_ICONSTOP);
        e->Delete();
    }
    if (HWND hMain = AfxGetMainWndHandle()) ::PostMessageA(hMain, WM_MINIVIEWER_CLOSED, 0, 0);
    CFrameWnd::OnClose();
}

void CMiniViewFrame::PostNcDestroy() {
    // However the window goes, the application never keeps a pointer to it.
    CZuvoApp* pApp = ZuvoApp();
    if (pApp != nullptr && pApp->m_pMiniViewer == this) pApp->ForgetMiniViewer();
    CFrameWnd::PostNcDestroy();
}

void CMiniViewFrame::OnEditCopy() { m_wndEdit.Copy(); }

void CMiniViewFrame::OnUpdateEditCopy(CCmdUI* pCmdUI) {
    long nStart = 0, nEnd = 0;
    m_wndEdit.GetSel(nStart, nEnd);
    pCmdUI->Enable(nEnd > nStart);
}

void CMiniViewFrame::OnEditSelectAll() { m_wndEdit.SetSel(0, m_wndEdit.GetWindowTextLength()); }

void CMiniViewFrame::OnFileClose() { PostMessage(WM_CLOSE); }

void CMiniViewFrame::OnFont() {
    // Vertical ("@") faces would lay the text on its side.
    LOGFONTA lf = DialogStartFont(*m_pFont);
    CFontDialog dlg(&lf, CF_SCREENFONTS | CF_FORCEFONTEXIST | CF_NOVERTFONTS, NULL, this);
    if (dlg.DoModal() != IDOK) return;
    CFont* pNewFont = new CFont;
    if (!pNewFont->CreateFontIndirect(&dlg.m_lf)) {
        delete pNewFont;
        return;
    }
    delete m_pFont;
    m_pFont = pNewFont;

    // Rich edit keeps the old font on the text it holds: take the text out,
    // change the font and put it back.
    BeginWaitCursor();
    SendMessage(WM_SETREDRAW, FALSE);
    CString strText;
    m_wndEdit.GetWindowText(strText);
    m_wndEdit.SetWindowText("");
    m_wndEdit.SetFont(*m_pFont, TRUE);
    SetText(strText);
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate(TRUE);
    EndWaitCursor();
}
