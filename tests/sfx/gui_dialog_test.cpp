// The windowed stub with its dialogs: the test finds each dialog of the
// started process by its controls and presses its buttons.
#include <gtest/gtest.h>

#include "archiver/sfx/extractor.h"
#include "archiver/sfx/sfx_resource.h"
#include "tests/sfx/sfx_test_support.h"

namespace {

using sfxtest::ReadFileBytes;
using sfxtest::TempFolder;

struct WindowSearch {
  DWORD process_id;
  int with_control;     // the dialog has this control, or
  bool message_box;     // it has none of our dialogs' controls
  HWND found;
};

bool IsOurDialog(HWND window) {
  return GetDlgItem(window, IDC_DESTINATION) || GetDlgItem(window, IDC_PROGRESS) ||
         GetDlgItem(window, IDC_OVERWRITE_ALL);
}

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !IsWindowVisible(window)) return TRUE;
  char class_name[16] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  if (lstrcmpA(class_name, "#32770") != 0) return TRUE;
  bool match = search->message_box ? !IsOurDialog(window) : GetDlgItem(window, search->with_control) != nullptr;
  if (!match) return TRUE;
  search->found = window;
  return FALSE;
}

// Waits for a visible dialog of the process: the one with `control`, or
// (control 0) a message box.
HWND WaitForDialog(DWORD process_id, int control) {
  WindowSearch search = {process_id, control, control == 0, nullptr};
  sfxtest::PollUntil(
      [&] {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      30);
  return search.found;
}

void Press(HWND dialog, int button) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }

int WaitForExit(PROCESS_INFORMATION* process) {
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process->hProcess, 30000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process->hProcess, &code);
  else
    TerminateProcess(process->hProcess, 1);
  CloseHandle(process->hThread);
  CloseHandle(process->hProcess);
  return static_cast<int>(code);
}

TEST(WindowedStub, AsksForTheFolderAndBeforeOverwriting) {
  TempFolder folder;
  sfxtest::ArchiveBuilder archive;
  archive.AddStored("one.txt", "new one");
  archive.AddStored("sub\\two.txt", "new two");
  std::string exe = folder / "setup.exe";
  ASSERT_TRUE(sfxtest::MakeSelfExtractor(SFX_GUI_STUB, archive.Finish(), exe));
  std::string preset = folder / "preset";
  std::string chosen = folder / "chosen";
  CreateDirectoryA(chosen.c_str(), nullptr);
  CreateDirectoryA((chosen + "\\sub").c_str(), nullptr);
  sfxtest::WriteFileBytes(chosen + "\\one.txt", "old one");
  sfxtest::WriteFileBytes(chosen + "\\sub\\two.txt", "old two");

  PROCESS_INFORMATION process;
  ASSERT_TRUE(sfxtest::StartProgram("\"" + exe + "\" /d \"" + preset + "\"", folder.path(), &process));
  HWND setup = WaitForDialog(process.dwProcessId, IDC_DESTINATION);
  ASSERT_TRUE(setup != nullptr);
  char shown[MAX_PATH] = {};
  GetDlgItemTextA(setup, IDC_DESTINATION, shown, sizeof shown);
  EXPECT_EQ(preset, shown);
  SetDlgItemTextA(setup, IDC_DESTINATION, chosen.c_str());
  Press(setup, IDOK);

  // Both files exist: one question, answered for all.
  HWND question = WaitForDialog(process.dwProcessId, IDC_OVERWRITE_ALL);
  ASSERT_TRUE(question != nullptr);
  Press(question, IDC_OVERWRITE_ALL);
  HWND summary = WaitForDialog(process.dwProcessId, 0);
  ASSERT_TRUE(summary != nullptr);
  Press(summary, IDOK);
  EXPECT_EQ(sfx::kExitOk, WaitForExit(&process));

  EXPECT_EQ("new one", ReadFileBytes(chosen + "\\one.txt"));
  EXPECT_EQ("new two", ReadFileBytes(chosen + "\\sub\\two.txt"));
  EXPECT_FALSE(sfxtest::Exists(preset));
}

TEST(WindowedStub, CancelInTheFirstDialogExtractsNothing) {
  TempFolder folder;
  sfxtest::ArchiveBuilder archive;
  archive.AddStored("one.txt", "one");
  std::string exe = folder / "setup.exe";
  ASSERT_TRUE(sfxtest::MakeSelfExtractor(SFX_GUI_STUB, archive.Finish(), exe));

  PROCESS_INFORMATION process;
  ASSERT_TRUE(sfxtest::StartProgram("\"" + exe + "\"", folder.path(), &process));
  HWND setup = WaitForDialog(process.dwProcessId, IDC_DESTINATION);
  ASSERT_TRUE(setup != nullptr);
  char shown[MAX_PATH] = {};
  GetDlgItemTextA(setup, IDC_DESTINATION, shown, sizeof shown);
  EXPECT_EQ(folder.path(), shown);  // default: the program's own folder
  Press(setup, IDCANCEL);
  EXPECT_EQ(sfx::kExitCancelled, WaitForExit(&process));
  EXPECT_FALSE(sfxtest::Exists(folder / "one.txt"));
}

}  // namespace

namespace {

TEST(WindowedStub, CancelDuringExtractionKeepsExistingFilesWhole) {
  TempFolder folder;
  sfxtest::ArchiveBuilder archive;
  archive.AddStored("first.txt", "new first");
  archive.AddStored("second.txt", "new second");
  std::string exe = folder / "setup.exe";
  ASSERT_TRUE(sfxtest::MakeSelfExtractor(SFX_GUI_STUB, archive.Finish(), exe));
  std::string out = folder / "out";
  CreateDirectoryA(out.c_str(), nullptr);
  sfxtest::WriteFileBytes(out + "\\first.txt", "old first");

  PROCESS_INFORMATION process;
  ASSERT_TRUE(sfxtest::StartProgram("\"" + exe + "\" /d \"" + out + "\"", folder.path(), &process));
  HWND setup = WaitForDialog(process.dwProcessId, IDC_DESTINATION);
  ASSERT_TRUE(setup != nullptr);
  Press(setup, IDOK);
  // The question holds the extraction still while Cancel is pressed in the
  // progress window; the "Yes" that follows must not write anything.
  HWND question = WaitForDialog(process.dwProcessId, IDC_OVERWRITE_ALL);
  HWND progress = WaitForDialog(process.dwProcessId, IDC_PROGRESS);
  ASSERT_TRUE(question != nullptr && progress != nullptr);
  Press(progress, IDCANCEL);
  ASSERT_TRUE(sfxtest::PollUntil([&] { return !IsWindowEnabled(GetDlgItem(progress, IDCANCEL)); }, 10));
  Press(question, IDYES);
  HWND summary = WaitForDialog(process.dwProcessId, 0);
  ASSERT_TRUE(summary != nullptr);
  Press(summary, IDOK);
  EXPECT_EQ(sfx::kExitCancelled, WaitForExit(&process));

  EXPECT_EQ("old first", ReadFileBytes(out + "\\first.txt"));
  EXPECT_FALSE(sfxtest::Exists(out + "\\second.txt"));
  EXPECT_EQ(1u, sfxtest::ListFolder(out).size());  // no temporary file left
}

}  // namespace
