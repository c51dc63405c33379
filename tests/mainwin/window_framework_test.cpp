// The window layer with small test classes: command routing, update handlers
// on menus and toolbar buttons, accelerators, status-bar prompts and tooltips,
// and dialog data exchange.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/cmd_ui.h"
#include "framework/control_bars.h"
#include "framework/controls.h"
#include "framework/image_list.h"
#include "framework/dialog.h"
#include "framework/doc_template.h"
#include "framework/document.h"
#include "framework/frame_wnd.h"
#include "framework/view.h"
#include "framework/winapp.h"
#include "res/resource.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/text.h"

namespace {

std::vector<std::string> g_handled;   // "who:id" for every command handled
std::vector<UINT> g_unhandled;        // commands that reached the end of the route

// The command 40001 is handled by every target; the route decides who gets it.
const UINT ID_ALL = 40001;
const UINT ID_DOC_AND_UP = 40002;
const UINT ID_FRAME_AND_APP = 40003;
const UINT ID_APP_ONLY = 40004;

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    BOOL m_bCanCopy = FALSE;
    void OnAll() { g_handled.push_back("doc"); }
    void OnCopyListing() { g_handled.push_back("doc:copy"); }
    void OnUpdateCopyListing(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bCanCopy); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND(ID_ALL, OnAll)
    ON_COMMAND(ID_DOC_AND_UP, OnAll)
    ON_COMMAND(ID_COPY_LISTING, OnCopyListing)
    ON_UPDATE_COMMAND_UI(ID_COPY_LISTING, OnUpdateCopyListing)
END_MESSAGE_MAP()

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    int m_nMode = ID_VIEW_LIST;
    int m_nUpdates = 0;
    void OnUpdate(CView*, LPARAM, CObject*) override { ++m_nUpdates; }
    void OnAll() { g_handled.push_back("view"); }
    void OnMode(UINT nID) { m_nMode = (int)nID; }
    void OnUpdateMode(CCmdUI* pCmdUI) { pCmdUI->SetRadio(pCmdUI->m_nID == (UINT)m_nMode); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND(ID_ALL, OnAll)
    ON_COMMAND_RANGE(ID_VIEW_LIST, ID_VIEW_DETAILS, OnMode)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_LIST, ID_VIEW_DETAILS, OnUpdateMode)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)
public:
    BOOL m_bOnTop = FALSE;
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;
    int OnCreate(LPCREATESTRUCTA lpcs) {
        if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
        static const UINT indicators[] = {ID_SEPARATOR};
        if (!m_wndToolBar.Create(this) || !m_wndToolBar.LoadToolBar(IDR_TOOLBAR)) return -1;
        m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 1)) return -1;
        RecalcLayout();
        return 0;
    }
    void OnAll() { g_handled.push_back("frame"); }
    void OnFrameAndApp() { g_handled.push_back("frame"); }
    void OnOnTop() { m_bOnTop = !m_bOnTop; }
    void OnUpdateOnTop(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bOnTop); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_ALL, OnAll)
    ON_COMMAND(ID_DOC_AND_UP, OnAll)
    ON_COMMAND(ID_FRAME_AND_APP, OnFrameAndApp)
    ON_COMMAND(ID_ALWAYS_ON_TOP, OnOnTop)
    ON_UPDATE_COMMAND_UI(ID_ALWAYS_ON_TOP, OnUpdateOnTop)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
public:
    void OnAll() { g_handled.push_back("app"); }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        if (CWinApp::OnCmdMsg(nID, nCode, pExtra, pInfo)) return TRUE;
        if (nCode == CN_COMMAND && pInfo == nullptr) g_unhandled.push_back(nID);
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_ALL, OnAll)
    ON_COMMAND(ID_DOC_AND_UP, OnAll)
    ON_COMMAND(ID_FRAME_AND_APP, OnAll)
    ON_COMMAND(ID_APP_ONLY, OnAll)
END_MESSAGE_MAP()

CTestApp theApp;

// Offers a message to the accelerators the way the message loop does, then
// dispatches it.
void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (!theApp.PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

class WindowFramework : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        theApp.SetRegistryKey("ZuvoTest");
        theApp.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTestDoc),
                                                     RUNTIME_CLASS(CTestFrame),
                                                     RUNTIME_CLASS(CTestView)));
    }
    void SetUp() override {
        g_handled.clear();
        g_unhandled.clear();
        theApp.OnFileNew();
        ASSERT_NE(theApp.m_pMainWnd, nullptr);
        m_pFrame = static_cast<CTestFrame*>(theApp.m_pMainWnd);
        m_pView = static_cast<CTestView*>(m_pFrame->GetActiveView());
        ASSERT_NE(m_pView, nullptr);
        m_pDoc = static_cast<CTestDoc*>(m_pView->GetDocument());
        ASSERT_NE(m_pDoc, nullptr);
    }
    void TearDown() override {
        if (theApp.m_pMainWnd != nullptr) theApp.m_pMainWnd->SendMessage(WM_CLOSE);
        Pump();
    }
    void Command(UINT nID) { m_pFrame->SendMessage(WM_COMMAND, nID, 0); }

    // The menu item's state in the main menu after the frame prepared the
    // pop-up that holds it.
    UINT MenuState(int nPopup, UINT nID) {
        HMENU hPopup = GetSubMenu(m_pFrame->GetMenu(), nPopup);
        m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hPopup, MAKELPARAM(nPopup, FALSE));
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE | MIIM_FTYPE;
        EXPECT_TRUE(GetMenuItemInfoA(hPopup, nID, FALSE, &mii));
        return mii.fState | mii.fType;
    }

    CTestFrame* m_pFrame = nullptr;
    CTestView* m_pView = nullptr;
    CTestDoc* m_pDoc = nullptr;
};

TEST_F(WindowFramework, CommandsGoToViewThenDocumentThenFrameThenApplication) {
    Command(ID_ALL);
    Command(ID_DOC_AND_UP);
    Command(ID_FRAME_AND_APP);
    Command(ID_APP_ONLY);
    EXPECT_EQ(g_handled, (std::vector<std::string>{"view", "doc", "frame", "app"}));
    EXPECT_TRUE(g_unhandled.empty());
}

TEST_F(WindowFramework, MenuItemsTakeEnableRadioAndCheckFromUpdateHandlers) {
    // Edit menu: the document's update handler decides; an item nobody
    // handles is greyed.
    EXPECT_TRUE(MenuState(1, ID_COPY_LISTING) & MFS_GRAYED);
    m_pDoc->m_bCanCopy = TRUE;
    EXPECT_FALSE(MenuState(1, ID_COPY_LISTING) & MFS_GRAYED);
    EXPECT_TRUE(MenuState(1, ID_EXTRACT) & MFS_GRAYED);

    // View menu: radio marks follow the view's mode, the check the frame's flag.
    UINT list = MenuState(2, ID_VIEW_LIST), details = MenuState(2, ID_VIEW_DETAILS);
    EXPECT_TRUE((list & MFS_CHECKED) && (list & MFT_RADIOCHECK));
    EXPECT_FALSE(details & MFS_CHECKED);
    Command(ID_VIEW_DETAILS);
    EXPECT_FALSE(MenuState(2, ID_VIEW_LIST) & MFS_CHECKED);
    EXPECT_TRUE(MenuState(2, ID_VIEW_DETAILS) & MFS_CHECKED);

    EXPECT_FALSE(MenuState(2, ID_ALWAYS_ON_TOP) & MFS_CHECKED);
    Command(ID_ALWAYS_ON_TOP);
    EXPECT_TRUE(MenuState(2, ID_ALWAYS_ON_TOP) & MFS_CHECKED);
    // The toolbar and status bar items are checked while the bars show.
    EXPECT_TRUE(MenuState(2, ID_VIEW_TOOLBAR) & MFS_CHECKED);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(m_pFrame->m_wndToolBar.IsWindowVisible());
    EXPECT_FALSE(MenuState(2, ID_VIEW_TOOLBAR) & MFS_CHECKED);
}

TEST_F(WindowFramework, DisabledCommandDoesNotRun) {
    m_pDoc->m_bCanCopy = FALSE;
    Command(ID_COPY_LISTING);
    EXPECT_TRUE(g_handled.empty());
    m_pDoc->m_bCanCopy = TRUE;
    Command(ID_COPY_LISTING);
    EXPECT_EQ(g_handled, (std::vector<std::string>{"doc:copy"}));
}

TEST_F(WindowFramework, ToolbarButtonsAreUpdatedAtIdleTime) {
    CToolBar& bar = m_pFrame->m_wndToolBar;
    EXPECT_EQ(bar.GetButtonCount(), 17);
    EXPECT_EQ(bar.GetItemID(0), (UINT)ID_APP_EXIT);
    EXPECT_EQ(bar.GetItemID(14), (UINT)ID_VIEW_DETAILS);
    EXPECT_EQ(bar.GetItemID(16), (UINT)ID_TEST_ARCHIVE);
    theApp.IdleUpdate();
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, ID_EXTRACT));   // no handler
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, ID_VIEW_LIST));
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_VIEW_LIST));
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_VIEW_DETAILS));
    Command(ID_VIEW_DETAILS);
    Command(ID_ALWAYS_ON_TOP);
    theApp.IdleUpdate();
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_VIEW_LIST));
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_VIEW_DETAILS));
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_ALWAYS_ON_TOP));
}

TEST_F(WindowFramework, AcceleratorsMapKeysToTheirCommands) {
    struct Key {
        UINT vk;
        bool ctrl, shift, alt;
        UINT command;
    };
    const Key keys[] = {
        {'X', true, false, false, IDM_EDIT_CUT},
        {VK_DELETE, false, true, false, IDM_EDIT_CUT}, {VK_INSERT, false, true, false, IDM_EDIT_PASTE},
        {'Z', true, false, false, IDM_EDIT_UNDO}, {VK_F1, false, true, false, IDM_CONTEXT_HELP},
        {VK_INSERT, true, false, false, IDM_EDIT_COPY},
    };
    for (const Key& key : keys) {
        g_unhandled.clear();
        BYTE state[256] = {};
        state[VK_CONTROL] = key.ctrl ? 0x80 : 0;
        state[VK_SHIFT] = key.shift ? 0x80 : 0;
        state[VK_MENU] = key.alt ? 0x80 : 0;
        SetKeyboardState(state);
        MSG msg = {};
        msg.hwnd = m_pView->m_hWnd;
        msg.message = key.alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
        msg.wParam = key.vk;
        msg.lParam = key.alt ? (LPARAM)(1 | (1 << 29)) : 1;
        EXPECT_TRUE(theApp.PreTranslateMessage(&msg)) << key.vk;
        // Nothing handles these in this program: they reach the end of the route.
        EXPECT_EQ(g_unhandled, std::vector<UINT>{key.command}) << key.vk;
    }
    BYTE none[256] = {};
    SetKeyboardState(none);
    EXPECT_TRUE(g_handled.empty());
}

TEST_F(WindowFramework, StatusBarShowsPromptsAndToolbarShowsTooltips) {
    CStatusBar& status = m_pFrame->m_wndStatusBar;
    EXPECT_EQ(status.GetPaneCount(), 1);
    EXPECT_EQ(std::string(status.GetPaneText(0)), " ");
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_EXTRACT, MF_STRING),
                          (LPARAM)GetSubMenu(m_pFrame->GetMenu(), 1));
    EXPECT_EQ(std::string(status.GetPaneText(0)), Sjis("解凍"));
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(std::string(status.GetPaneText(0)), " ");

    // Fly-by: the prompt of the button under the mouse, idle text after.
    NMTBHOTITEM hot = {};
    hot.hdr.hwndFrom = m_pFrame->m_wndToolBar.m_hWnd;
    hot.hdr.idFrom = AFX_IDW_TOOLBAR;
    hot.hdr.code = TBN_HOTITEMCHANGE;
    hot.idNew = ID_ALWAYS_ON_TOP;
    m_pFrame->SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, (LPARAM)&hot);
    EXPECT_EQ(std::string(status.GetPaneText(0)), Sjis("つねに手前に表示"));
    hot.dwFlags = HICF_LEAVING;
    m_pFrame->SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, (LPARAM)&hot);
    EXPECT_EQ(std::string(status.GetPaneText(0)), " ");

    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = m_pFrame->m_wndToolBar.m_hWnd;
    info.hdr.idFrom = ID_MINIVIEWER;
    info.hdr.code = TTN_GETDISPINFOA;
    m_pFrame->SendMessage(WM_NOTIFY, 0, (LPARAM)&info);
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_EQ(std::string(info.lpszText), Sjis("ミニビュアー"));
}

TEST_F(WindowFramework, DocumentUpdatesReachItsViewsAndTitleFollowsPath) {
    int nBefore = m_pView->m_nUpdates;
    m_pDoc->UpdateAllViews(nullptr);
    EXPECT_EQ(m_pView->m_nUpdates, nBefore + 1);
    m_pDoc->UpdateAllViews(m_pView);  // the sender is skipped
    EXPECT_EQ(m_pView->m_nUpdates, nBefore + 1);

    m_pDoc->SetPathName("C:\\work\\sample.lzh", FALSE);
    char szTitle[256];
    GetWindowTextA(m_pFrame->m_hWnd, szTitle, sizeof(szTitle));
    EXPECT_STREQ(szTitle, "sample.lzh - Zuvo");
    EXPECT_STREQ(m_pDoc->GetPathName(), "C:\\work\\sample.lzh");
}

TEST_F(WindowFramework, OpeningAMissingFileReportsItAndKeepsTheWindow) {
    DialogWatcher boxes;
    EXPECT_EQ(theApp.OpenDocumentFile("C:\\no\\such\\file.lzh"), nullptr);
    ASSERT_TRUE(boxes.WaitForCount(1));
    std::string text = boxes.Seen()[0].text;
    EXPECT_NE(text.find("C:\\no\\such\\file.lzh"), std::string::npos) << Utf8(text);
    EXPECT_NE(text.find(Sjis("このﾌｧｲﾙが見つかりません。")), std::string::npos) << Utf8(text);
    EXPECT_EQ(theApp.m_pMainWnd, m_pFrame);
    EXPECT_TRUE(IsWindow(m_pFrame->m_hWnd));
}

// --- Dialog data exchange ---------------------------------------------------

class CNameDlg : public CDialog {
public:
    CNameDlg() : CDialog(IDD_MAKE_DIR) {}
    CString m_strName;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_MAKEDIR_NAME, m_strName); }
};

class CTypeDlg : public CDialog {
public:
    CTypeDlg() : CDialog(IDD_SFX_TYPE) {}
    int m_nType = -1;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Radio(pDX, IDC_SFX_DOS, m_nType); }
};

TEST(DialogDataExchange, EditTextAndRadioGroupGoBothWays) {
    DialogWatcher boxes;
    std::string shown;
    boxes.QueueAction([&](HWND hDlg, const SeenDialog&) {
        char szText[64];
        GetDlgItemTextA(hDlg, IDC_MAKEDIR_NAME, szText, sizeof(szText));
        shown = szText;
        SetDlgItemTextA(hDlg, IDC_MAKEDIR_NAME, "NEWDIR");
        return IDOK;
    });
    CNameDlg name;
    name.m_strName = "start";
    EXPECT_EQ(name.DoModal(), IDOK);
    EXPECT_EQ(shown, "start");
    EXPECT_STREQ(name.m_strName, "NEWDIR");

    bool bPreset = false;
    boxes.QueueAction([&](HWND hDlg, const SeenDialog&) {
        bPreset = IsDlgButtonChecked(hDlg, IDC_SFX_WINSFX32) == BST_CHECKED &&
                  IsDlgButtonChecked(hDlg, IDC_SFX_DOS) == BST_UNCHECKED;
        SendDlgItemMessageA(hDlg, IDC_SFX_WINSFX32, BM_SETCHECK, BST_UNCHECKED, 0);
        SendDlgItemMessageA(hDlg, IDC_SFX_WINSFX, BM_SETCHECK, BST_CHECKED, 0);
        return IDOK;
    });
    CTypeDlg type;
    type.m_nType = 2;
    EXPECT_EQ(type.DoModal(), IDOK);
    EXPECT_TRUE(bPreset);
    EXPECT_EQ(type.m_nType, 1);

    boxes.QueueAnswer(IDCANCEL);
    CTypeDlg cancelled;
    cancelled.m_nType = 0;
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.m_nType, 0);
}

// --- Controls ------------------------------------------------------------------

// A tree that builds its images as it is created and hears its own selection
// changes (the notification its parent receives is reflected to it).
class CTestTree : public CTreeCtrl {
public:
    CImageList m_images;
    int m_nSelChanges = 0;
    int OnCreate(LPCREATESTRUCTA lpcs) {
        if (CTreeCtrl::OnCreate(lpcs) == -1) return -1;
        m_images.Create(IDB_TREE_IMAGES, 17, 3, RGB(0, 255, 0));
        SetImageList(m_images, TVSIL_NORMAL);
        return 0;
    }
    void OnSelChanged(NMHDR*, LRESULT* pResult) {
        ++m_nSelChanges;
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestTree, CTreeCtrl)
    ON_WM_CREATE()
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelChanged)
END_MESSAGE_MAP()

TEST(Controls, TreeAndListKeepDoubleByteTextAndTheTreeHearsItsOwnNotifications) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, 0, 0,
                                300, 300, NULL, NULL));
    CTestTree tree;
    ASSERT_TRUE(tree.Create(WS_VISIBLE | TVS_HASLINES, CRect(0, 0, 150, 300), &parent, 1));
    EXPECT_EQ(tree.m_images.GetImageCount(), 3);
    std::string name = Sjis("表示フォルダ");  // second bytes 0x5C and 0x5F among them
    HTREEITEM hRoot = tree.InsertItem(name.c_str(), 0, 1);
    HTREEITEM hChild = tree.InsertItem("DOC", 0, 1, hRoot);
    tree.SetItemData(hChild, 42);
    EXPECT_EQ(std::string(tree.GetItemText(hRoot)), name);
    EXPECT_EQ(tree.GetParentItem(hChild), hRoot);
    EXPECT_EQ(tree.GetItemData(hChild), (DWORD_PTR)42);
    tree.SelectItem(hChild);
    EXPECT_EQ(tree.GetSelectedItem(), hChild);
    EXPECT_GE(tree.m_nSelChanges, 1);

    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT, CRect(150, 0, 300, 300), &parent, 2));
    EXPECT_EQ(list.InsertColumn(0, Sjis("名前").c_str(), LVCFMT_LEFT, 80), 0);
    EXPECT_EQ(list.InsertColumn(1, Sjis("サイズ").c_str(), LVCFMT_RIGHT, 60), 1);
    EXPECT_EQ(list.InsertItem(0, name.c_str()), 0);
    list.SetItemText(0, 1, "1,234");
    list.SetItemData(0, 7);
    EXPECT_EQ(std::string(list.GetItemText(0, 0)), name);
    EXPECT_EQ(std::string(list.GetItemText(0, 1)), "1,234");
    EXPECT_EQ(list.GetItemData(0), (DWORD_PTR)7);
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedCount(), 1);
    EXPECT_EQ(list.GetColumnWidth(0), 80);
    parent.DestroyWindow();
    EXPECT_EQ(tree.m_hWnd, (HWND)NULL);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    InitCommonControls();
    return RUN_ALL_TESTS();
}
