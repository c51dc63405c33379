#include "tests/support/running_app.h"

#include <string.h>

#include "framework/afx_state.h"
#include "ui/dir_view.h"
#include "ui/drop_files.h"
#include "ui/file_view.h"
#include "ui/main_frame.h"
#include "ui/mini_view_frame.h"

CZuvoApp theApp;

std::string ScratchDir() {
    char szTemp[MAX_PATH], szExe[MAX_PATH];
    GetTempPathA(sizeof(szTemp), szTemp);
    GetModuleFileNameA(NULL, szExe, sizeof(szExe));
    std::string exe = szExe;
    exe = exe.substr(exe.find_last_of('\\') + 1);
    exe = exe.substr(0, exe.find('.'));
    std::string dir = std::string(szTemp) + "zuvo_" + exe + "\\";
    CreateDirectoryA(dir.c_str(), NULL);
    return dir;
}

std::string MakeFile(const std::string& name, const char* content) {
    std::string path = ScratchDir() + name;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written;
    WriteFile(h, content, (DWORD)strlen(content), &written, NULL);
    CloseHandle(h);
    return path;
}

// A dropped-file block as the shell hands it over, built as the program
// builds its own.
HDROP MakeDrop(const std::vector<std::string>& paths) {
    CStringArray names;
    for (const std::string& p : paths) names.Add(p.c_str());
    return (HDROP)BuildDropFiles(names);
}

void RunningApp::SetUp() {
    ASSERT_EQ(GetACP(), 932u);
    theApp.SetRegistryKey("Vantrel");
    for (LPCSTR section : {"settings", "setting", "Recent File List", "MiniViewer"})
        theApp.WriteProfileString(section, NULL, NULL);
}

BOOL RunningApp::Start(const std::string& cmdLine, int nCmdShow) {
    m_cmdLine = cmdLine;
    theApp.m_lpCmdLine = &m_cmdLine[0];
    theApp.m_nCmdShow = nCmdShow;
    m_bStarted = TRUE;
    return theApp.InitInstance();
}

void RunningApp::Stop() {
    if (!m_bStarted) return;
    if (theApp.m_pMiniViewer != nullptr) theApp.m_pMiniViewer->DestroyWindow();
    if (theApp.m_pMainWnd != nullptr) {
        theApp.m_pMainWnd->PostMessage(WM_CLOSE);
        WaitFor([] { return theApp.m_pMainWnd == nullptr; });
    }
    theApp.ExitInstance();
    m_bStarted = FALSE;
}

CMainFrame* RunningApp::Frame() { return static_cast<CMainFrame*>(theApp.m_pMainWnd); }
CArchiveDoc* RunningApp::Doc() { return static_cast<CArchiveDoc*>(Frame()->GetActiveDocument()); }
CDirView* RunningApp::Tree() { return static_cast<CDirView*>(Frame()->m_wndSplitter.GetPane(0, 0)); }
CFileView* RunningApp::Files() { return static_cast<CFileView*>(Frame()->m_wndSplitter.GetPane(0, 1)); }
CFileListCtrl& RunningApp::List() { return Files()->m_wndList; }
void RunningApp::Command(UINT nID) { Frame()->SendMessage(WM_COMMAND, nID); }

CTestCmdUI RunningApp::State(UINT nID) {
    CTestCmdUI state;
    state.m_nID = nID;
    Frame()->OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr);
    return state;
}

void RunningAppOverFake::SetUp() {
    RunningApp::SetUp();
    ASSERT_TRUE(lib.Loaded());
    archive = MakeFile("SAMPLE.LZH");
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    AfxSetInstanceHandle(GetModuleHandleA(NULL));
    return RUN_ALL_TESTS();
}
