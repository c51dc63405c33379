// The program's start-up, main window and exit, run in-process: the test
// plays the part of the program's entry, with the scripted archiver library.
#include <gtest/gtest.h>

#include <dde.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/zuvo_app.h"
#include "framework/afx_state.h"
#include "framework/cmd_ui.h"
#include "framework/document.h"
#include "res/resource.h"
#include "tests/fake_unlha32/fake_control.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/running_app.h"
#include "tests/support/text.h"
#include "ui/dir_view.h"
#include "ui/file_view.h"
#include "ui/main_frame.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WindowTitle(HWND hWnd) {
    char szTitle[512] = "";
    GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
    return szTitle;
}

class MainWindow : public RunningAppOverFake {
protected:
    void SetUp() override {
        RunningAppOverFake::SetUp();
        theApp.WriteProfileString("Window", NULL, NULL);  // the main window's first run
        lib.AddRecord("README.TXT", 10, 8);
    }

    int Profile(LPCSTR section, LPCSTR key) { return theApp.GetProfileInt(section, key, -12345); }
};

TEST(CommandLine, QuotesAreTakenOffAndTextAfterTheClosingQuoteIgnored) {
    EXPECT_STREQ(ArchivePathFromCommandLine("\"C:\\My Files\\a.lzh\""), "C:\\My Files\\a.lzh");
    EXPECT_STREQ(ArchivePathFromCommandLine("\"C:\\My Files\\a.lzh\" extra"), "C:\\My Files\\a.lzh");
    EXPECT_STREQ(ArchivePathFromCommandLine("\"C:\\open ended.lzh"), "C:\\open ended.lzh");
    EXPECT_STREQ(ArchivePathFromCommandLine("C:\\My Files\\a.lzh"), "C:\\My Files\\a.lzh");
    EXPECT_STREQ(ArchivePathFromCommandLine("\"\""), "\"");
    EXPECT_STREQ(ArchivePathFromCommandLine("\""), "");
}

TEST_F(MainWindow, OpensTheArchiveNamedInQuotesWithABlank) {
    std::string spaced = MakeFile("with blank.lzh");
    ASSERT_TRUE(Start("\"" + spaced + "\""));
    ASSERT_NE(Frame(), nullptr);
    EXPECT_EQ(WindowTitle(Frame()->m_hWnd), "with blank.lzh - Zuvo");
    EXPECT_STRCASEEQ(Doc()->GetPathName(), spaced.c_str());
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(Frame()->GetExStyle() & WS_EX_ACCEPTFILES);

    // The File menu lists it as the first recent file, and the list is kept.
    HMENU hFile = GetSubMenu(Frame()->GetMenu(), 0);
    Frame()->SendMessage(WM_INITMENUPOPUP, (WPARAM)hFile, 0);
    char szItem[MAX_PATH + 8] = "";
    GetMenuStringA(hFile, IDM_FILE_MRU_FILE1, szItem, sizeof(szItem), MF_BYCOMMAND);
    EXPECT_STRCASEEQ(szItem, ("&1 " + spaced).c_str());
    EXPECT_FALSE(GetMenuState(hFile, IDM_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
    Stop();
    EXPECT_STRCASEEQ(theApp.GetProfileString("Recent File List", "File1"), spaced.c_str());
}

TEST_F(MainWindow, AnArchiveThatCannotBeOpenedLeavesAnEmptyWindow) {
    ASSERT_TRUE(Start("\"\""));  // names a file called "
    ASSERT_TRUE(boxes.WaitForCount(1));
    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Frame()->m_hWnd));
    EXPECT_STREQ(Doc()->GetPathName(), "");
    EXPECT_EQ(WindowTitle(Frame()->m_hWnd), "Untitled - Zuvo");
    EXPECT_TRUE(Frame()->GetExStyle() & WS_EX_ACCEPTFILES);

    Stop();
    lib.SetCheckResult(FALSE);  // a file that is not an archive
    boxes.Clear();
    ASSERT_TRUE(Start(archive));
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(boxes.Seen()[0].text, Sjis("このファイルはLZHファイルではありません。"));
    ASSERT_NE(Frame(), nullptr);
    EXPECT_STREQ(Doc()->GetPathName(), "");
}

TEST_F(MainWindow, FirstRunTakesTheMiddleThirdAndCloseSavesPlacement) {
    ASSERT_TRUE(Start(""));
    int cx = GetSystemMetrics(SM_CXFULLSCREEN), cy = GetSystemMetrics(SM_CYFULLSCREEN);
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    ASSERT_TRUE(GetWindowPlacement(Frame()->m_hWnd, &wp));
    EXPECT_EQ(wp.rcNormalPosition.left, cx / 3);
    EXPECT_EQ(wp.rcNormalPosition.top, cy / 3);
    EXPECT_EQ(wp.rcNormalPosition.right, 2 * cx / 3);
    EXPECT_EQ(wp.rcNormalPosition.bottom, 2 * cy / 3);

    // Maximized at close: the restored rectangle, not iconic.
    MoveWindow(Frame()->m_hWnd, 50, 60, 400, 300, TRUE);
    Frame()->ShowWindow(SW_MAXIMIZE);
    Stop();
    EXPECT_EQ(Profile("Window", "Left"), 50);
    EXPECT_EQ(Profile("Window", "Top"), 60);
    EXPECT_EQ(Profile("Window", "Right"), 450);
    EXPECT_EQ(Profile("Window", "Bottom"), 360);
    EXPECT_EQ(Profile("Window", "IsIconic"), 0);

    // The next start comes back there; minimized at close is remembered and
    // the start after that is minimized although a normal window was asked for.
    ASSERT_TRUE(Start(""));
    RECT rc;
    GetWindowRect(Frame()->m_hWnd, &rc);
    EXPECT_EQ(rc.left, 50);
    EXPECT_EQ(rc.bottom, 360);
    EXPECT_FALSE(Frame()->IsZoomed());
    Frame()->ShowWindow(SW_MINIMIZE);
    Stop();
    EXPECT_EQ(Profile("Window", "IsIconic"), 1);
    EXPECT_EQ(Profile("Window", "Left"), 50);
    ASSERT_TRUE(Start("", SW_SHOWNORMAL));
    EXPECT_TRUE(Frame()->IsIconic());
}

TEST_F(MainWindow, SplitterRemembersOnlyANewPositiveWidth) {
    theApp.WriteProfileString("window", "nDirPaneWidth", NULL);
    ASSERT_TRUE(Start(""));
    CDirPaneSplitter& splitter = Frame()->m_wndSplitter;
    int cxCur, cxMin;
    splitter.GetColumnInfo(0, cxCur, cxMin);
    // Without a stored width the tree is wider than the old 100 pixels: it fits its folder names.
    EXPECT_GT(cxCur, 100);
    EXPECT_TRUE(splitter.GetPane(0, 0)->IsKindOf(RUNTIME_CLASS(CDirView)));
    EXPECT_TRUE(splitter.GetPane(0, 1)->IsKindOf(RUNTIME_CLASS(CFileView)));

    auto drag = [&](int xFrom, int xTo) {
        splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(xFrom, 20));
        splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(xTo, 20));
        splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(xTo, 20));
    };
    drag(cxCur + 2, 152);
    splitter.GetColumnInfo(0, cxCur, cxMin);
    EXPECT_EQ(cxCur, 150);
    EXPECT_EQ(Profile("window", "nDirPaneWidth"), 150);

    // Back to the same width, or down to nothing: nothing written.
    theApp.WriteProfileString("window", "nDirPaneWidth", NULL);
    drag(152, 152);
    EXPECT_EQ(Profile("window", "nDirPaneWidth"), -12345);
    drag(152, -40);
    splitter.GetColumnInfo(0, cxCur, cxMin);
    EXPECT_EQ(cxCur, 0);
    EXPECT_EQ(Profile("window", "nDirPaneWidth"), -12345);

    // A cancelled drag changes nothing.
    drag(0, 80);
    EXPECT_EQ(Profile("window", "nDirPaneWidth"), 80);
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(82, 20));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 20));
    splitter.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    splitter.GetColumnInfo(0, cxCur, cxMin);
    EXPECT_EQ(cxCur, 80);

    // A new window starts with the stored width.
    Stop();
    ASSERT_TRUE(Start(""));
    Frame()->m_wndSplitter.GetColumnInfo(0, cxCur, cxMin);
    EXPECT_EQ(cxCur, 80);
}

TEST_F(MainWindow, AlwaysOnTopIsCheckedExactlyWhileTopmost) {
    ASSERT_TRUE(Start(""));
    auto checked = [&] {
        CTestCmdUI state;
        state.m_nID = ID_ALWAYS_ON_TOP;
        Frame()->OnCmdMsg(ID_ALWAYS_ON_TOP, (int)CN_UPDATE_COMMAND_UI, &state, nullptr);
        return state.m_nCheck != 0;
    };
    EXPECT_FALSE(Frame()->GetExStyle() & WS_EX_TOPMOST);
    EXPECT_FALSE(checked());
    Frame()->SendMessage(WM_COMMAND, ID_ALWAYS_ON_TOP);
    EXPECT_TRUE(Frame()->GetExStyle() & WS_EX_TOPMOST);
    EXPECT_TRUE(checked());
    Frame()->SendMessage(WM_COMMAND, ID_ALWAYS_ON_TOP);
    EXPECT_FALSE(Frame()->GetExStyle() & WS_EX_TOPMOST);
    EXPECT_FALSE(checked());

    // Not carried into the next run.
    Frame()->SendMessage(WM_COMMAND, ID_ALWAYS_ON_TOP);
    Stop();
    ASSERT_TRUE(Start(""));
    EXPECT_FALSE(Frame()->GetExStyle() & WS_EX_TOPMOST);
}

TEST_F(MainWindow, KeysWithoutAHandlerDoNothingAndF6MovesBetweenPanes) {
    ASSERT_TRUE(Start(archive));
    for (UINT nID : {IDM_EDIT_CUT, IDM_EDIT_PASTE, IDM_EDIT_UNDO, IDM_CONTEXT_HELP, IDM_EDIT_COPY})
        Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 1));
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(boxes.Count(), 0u);
    ASSERT_NE(Frame(), nullptr);
    EXPECT_STRCASEEQ(Doc()->GetPathName(), archive.c_str());

    CView* pFirst = Frame()->GetActiveView();
    ASSERT_NE(pFirst, nullptr);
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(IDM_NEXT_PANE, 1));
    CView* pSecond = Frame()->GetActiveView();
    EXPECT_NE(pSecond, pFirst);
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(IDM_NEXT_PANE, 1));
    EXPECT_EQ(Frame()->GetActiveView(), pFirst);
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(IDM_PREV_PANE, 1));
    EXPECT_EQ(Frame()->GetActiveView(), pSecond);
}

TEST_F(MainWindow, ApplicationCommandsShowAboutAndTheLibrarySettings) {
    ASSERT_TRUE(Start(archive));
    std::string texts;
    boxes.QueueAction([&](HWND hDlg, const SeenDialog&) {
        for (HWND h = GetWindow(hDlg, GW_CHILD); h != NULL; h = GetWindow(h, GW_HWNDNEXT))
            texts += WindowTitle(h) + "|";
        return IDOK;
    });
    Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT);  // returns once the box is answered
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, "About Zuvo");
    EXPECT_NE(texts.find("|Zuvo Version 3.0 beta14|"), std::string::npos) << texts;
    EXPECT_EQ(boxes.Seen()[0].owner, Frame()->m_hWnd);

    lib.ClearCalls();
    Frame()->SendMessage(WM_COMMAND, ID_ARCHIVER_SETTINGS);
    bool bShown = false;
    for (const FakeCall& call : lib.Calls()) {
        if (call.name != "UnlhaConfigDialog") continue;
        bShown = true;
        EXPECT_EQ(call.number, 2u);
        EXPECT_EQ(call.hwnd, Frame()->m_hWnd);
    }
    EXPECT_TRUE(bShown);
}

TEST_F(MainWindow, DocumentTypeIsRegisteredAndAForeignExtensionLeftAlone) {
    auto value = [](const char* key) {
        char szValue[MAX_PATH * 2] = "";
        LONG cb = sizeof(szValue);
        if (RegQueryValueA(HKEY_CLASSES_ROOT, key, szValue, &cb) != ERROR_SUCCESS) return std::string();
        return std::string(szValue);
    };
    RegSetValueA(HKEY_CLASSES_ROOT, ".lzh", REG_SZ, "", 0);
    ASSERT_TRUE(Start(""));
    EXPECT_EQ(value("Vell.Document"), "Vell Document");
    EXPECT_EQ(value(".lzh"), "Vell.Document");
    char szModule[MAX_PATH];
    GetModuleFileNameA(NULL, szModule, MAX_PATH);
    EXPECT_EQ(value("Vell.Document\\shell\\open\\command"),
              std::string("\"") + szModule + "\" \"%1\"");
    Stop();

    RegSetValueA(HKEY_CLASSES_ROOT, ".lzh", REG_SZ, "Other.Archive", 13);
    ASSERT_TRUE(Start(""));
    EXPECT_EQ(value(".lzh"), "Other.Archive");
    RegSetValueA(HKEY_CLASSES_ROOT, ".lzh", REG_SZ, "", 0);
}

// The shell's side of a DDE open: a client window that records the answers.
struct DdeClient {
    // The lParam of each acknowledgement (raw atoms for the first, packed
    // status and data for an execute).
    static std::vector<LPARAM>& Acks() {
        static std::vector<LPARAM> acks;
        return acks;
    }
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_DDE_ACK) {
            Acks().push_back(lParam);
            return 0;
        }
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    }
};

TEST_F(MainWindow, ShellOpensAnArchiveThroughDde) {
    ASSERT_TRUE(Start(""));
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DdeClient::Proc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "ZuvoTestDdeClient";
    RegisterClassA(&wc);
    HWND hClient = CreateWindowA("ZuvoTestDdeClient", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
    DdeClient::Acks().clear();

    // A conversation about another program is not answered.
    ATOM atomOther = GlobalAddAtomA("notzuvo"), atomSystem = GlobalAddAtomA("system");
    Frame()->SendMessage(WM_DDE_INITIATE, (WPARAM)hClient, MAKELPARAM(atomOther, atomSystem));
    EXPECT_TRUE(DdeClient::Acks().empty());
    ATOM atomApp = GlobalAddAtomA(theApp.m_strAtomApp);
    Frame()->SendMessage(WM_DDE_INITIATE, (WPARAM)hClient, MAKELPARAM(atomApp, atomSystem));
    ASSERT_EQ(DdeClient::Acks().size(), 1u);

    std::string command = "[open(\"" + archive + "\")]";
    HGLOBAL hCommand = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, command.size() + 1);
    memcpy(GlobalLock(hCommand), command.c_str(), command.size() + 1);
    GlobalUnlock(hCommand);
    Frame()->PostMessage(WM_DDE_EXECUTE, (WPARAM)hClient,
                         PackDDElParam(WM_DDE_EXECUTE, 0, (UINT_PTR)hCommand));
    ASSERT_TRUE(WaitFor([] { return DdeClient::Acks().size() == 2; }));
    UINT_PTR uStatus = 0, uData = 0;
    ASSERT_TRUE(UnpackDDElParam(WM_DDE_ACK, DdeClient::Acks()[1], &uStatus, &uData));
    FreeDDElParam(WM_DDE_ACK, DdeClient::Acks()[1]);
    EXPECT_TRUE(uStatus & 0x8000);  // accepted
    EXPECT_EQ((HGLOBAL)uData, hCommand);
    EXPECT_STRCASEEQ(Doc()->GetPathName(), archive.c_str());
    GlobalFree(hCommand);
    DestroyWindow(hClient);
    GlobalDeleteAtom(atomOther);
    GlobalDeleteAtom(atomSystem);
    GlobalDeleteAtom(atomApp);
}

TEST_F(MainWindow, DroppedArchiveOpensAndOtherFilesAskFirst) {
    ASSERT_TRUE(Start(archive));
    std::string other = MakeFile("OTHER.LZH");

    // One archive: opened without a question.
    Frame()->SendMessage(WM_DROPFILES, (WPARAM)MakeDrop({other}));
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_STRCASEEQ(Doc()->GetPathName(), other.c_str());
    EXPECT_EQ(WindowTitle(Frame()->m_hWnd), "OTHER.LZH - Zuvo");

    // One file that is not an archive: the question; No leaves the archive be.
    lib.SetCheckResult(FALSE);
    lib.ClearCalls();
    boxes.QueueAnswer(IDNO);
    Frame()->SendMessage(WM_DROPFILES, (WPARAM)MakeDrop({MakeFile("NOTES.TXT")}));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, Sjis("ドロップされた 1 個のファイルを OTHER.LZH に圧縮しますか?"));
    EXPECT_EQ(boxes.Seen()[0].icon, (UINT)MB_ICONQUESTION);
    EXPECT_TRUE(boxes.Seen()[0].HasButton(IDYES) && boxes.Seen()[0].HasButton(IDNO));
    EXPECT_TRUE(lib.CommandLines().empty());
    EXPECT_STRCASEEQ(Doc()->GetPathName(), other.c_str());

    // Two archives: also a question.
    lib.SetCheckResult(TRUE);
    boxes.QueueAnswer(IDNO);
    Frame()->SendMessage(WM_DROPFILES, (WPARAM)MakeDrop({archive, other}));
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_STRCASEEQ(Doc()->GetPathName(), other.c_str());
}

TEST_F(MainWindow, ExitCommandClosesAndEveryTemporaryFileGoes) {
    ASSERT_TRUE(Start(""));
    std::string loose = MakeFile("loose.txt");
    std::string held = MakeFile("held.txt");
    // Another program holding one copy open.
    HANDLE hHeld = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    theApp.m_tempCopies.Record(loose.c_str());
    theApp.m_tempCopies.Record(held.c_str(), "C:\\A.LZH", "HELD.TXT");

    Frame()->PostMessage(WM_COMMAND, ID_APP_EXIT);
    ASSERT_TRUE(WaitFor([] { return theApp.m_pMainWnd == nullptr; }));
    Stop();
    EXPECT_FALSE(Exists(loose));
    EXPECT_TRUE(Exists(held));  // left without a word
    CStringArray left;
    theApp.m_tempCopies.GetRecordedPaths(left);
    EXPECT_EQ(left.GetSize(), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    CloseHandle(hHeld);
    DeleteFileA(held.c_str());
}

}  // namespace
