// The program's one application object, started and stopped in process as
// its entry does, with the windows a test reads. Every test starts with the
// settings the program remembers cleared, but for the main window's place
// (a test of the first run clears "Window" too). RunningAppOverFake
// adds the scripted archiver library and an archive file for it to list.
//
//   class Views : public RunningAppOverFake {};
//   TEST_F(Views, ...) { lib.AddRecord("A.TXT"); ASSERT_TRUE(Start(archive)); ... }
#pragma once

#include "app/archive_doc.h"
#include "app/zuvo_app.h"
#include "framework/cmd_ui.h"
#include "tests/fake_unlha32/fake_control.h"
#include "tests/support/dialog_watcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class CDirView;
class CFileListCtrl;
class CFileView;
class CMainFrame;

extern CZuvoApp theApp;

// This test program's own folder under the temporary directory, ending in a
// backslash.
std::string ScratchDir();
// Writes a file of that content into ScratchDir(); returns its path.
std::string MakeFile(const std::string& name, const char* content = "x");
// A dropped-file block as the shell hands it over.
HDROP MakeDrop(const std::vector<std::string>& paths);

class RunningApp : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { Stop(); }

    // Runs the program's start-up with the command line; TRUE when a main
    // window is up.
    BOOL Start(const std::string& cmdLine, int nCmdShow = SW_SHOWNORMAL);
    // Closes the MiniViewer and the main window as the user does, then runs
    // the exit. Does nothing when not started.
    void Stop();

    CMainFrame* Frame();
    CArchiveDoc* Doc();
    CDirView* Tree();
    CFileView* Files();
    CFileListCtrl& List();
    void Command(UINT nID);
    // The command's state as its menu item would show it.
    CTestCmdUI State(UINT nID);

    DialogWatcher boxes;

private:
    std::string m_cmdLine;  // InitInstance keeps a pointer into it
    BOOL m_bStarted = FALSE;
};

class RunningAppOverFake : public RunningApp {
protected:
    void SetUp() override;

    FakeUnlha32 lib;
    std::string archive;  // SAMPLE.LZH in ScratchDir(); the fake lists it
};
