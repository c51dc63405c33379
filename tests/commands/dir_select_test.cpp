// The directory chooser on the platform's old-style save dialog: the
// directory it returns and remembers, the controls of each mode, and making a
// directory from it.
#include "ui/dir_select_dlg.h"

#include "res/resource.h"
#include "tests/commands/user_thread.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/running_app.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kChooserCaption[] = "ディレクトリの選択";

std::string RememberedDir() { return std::string(theApp.GetProfileString("setting", "strOpenDir", "")); }

// A control is out of the user's sight when hidden or placed beyond the
// dialog's client area.
bool OutOfSight(HWND hDlg, int id) {
    HWND hCtrl = GetDlgItem(hDlg, id);
    if (!hCtrl || !IsWindowVisible(hCtrl)) return true;
    RECT client, ctrl, both;
    GetClientRect(hDlg, &client);
    MapWindowPoints(hDlg, NULL, (POINT*)&client, 2);
    GetWindowRect(hCtrl, &ctrl);
    return !IntersectRect(&both, &client, &ctrl);
}

bool InSight(HWND hDlg, int id) { return !OutOfSight(hDlg, id); }

// The platform shows the current directory in lower case.
bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// No dialog watcher here: the user thread answers the chooser.
class DirChooser : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u);
        theApp.SetRegistryKey("Vantrel");
        // A directory whose last character has the trail byte 0x5C.
        dir = ScratchDir() + Sjis("表");
        CreateDirectoryA(dir.c_str(), NULL);
    }
    void TearDown() override { theApp.WriteProfileString("setting", "strOpenDir", NULL); }
    std::string dir;
};

TEST_F(DirChooser, ReturnsAndRemembersTheDirectoryWithEachModesControls) {
    theApp.WriteProfileString("setting", "strOpenDir", (dir + "\\").c_str());
    std::string shown;
    bool extractBoxSet = false, modeControls = false, platformControlsHidden = false;
    UserThread user([&](UserThread& u) {
        HWND h = u.WaitForDialog(Sjis(kChooserCaption));
        if (!h) return;
        shown = UserThread::Text(GetDlgItem(h, 1088));
        extractBoxSet = UserThread::IsChecked(h, IDC_DIR_EXTRACT);
        modeControls = InSight(h, IDC_DIR_EXTRACT) && InSight(h, IDC_MAKE_DIR) &&
                       OutOfSight(h, IDC_DIR_COMPRESS) && OutOfSight(h, IDC_DELETE_AFTER);
        platformControlsHidden = true;
        for (int id : {1152, 1120, 1136, 1040, 1038, 1041, 1090, 1089})
            platformControlsHidden = platformControlsHidden && OutOfSight(h, id);
        UserThread::SetCheck(h, IDC_DIR_EXTRACT, false);
        UserThread::Click(h, IDOK);
    });
    CDirSelectDlg extract(FALSE);
    extract.m_bDirExtract = TRUE;
    ASSERT_EQ(extract.DoModal(), IDOK);
    EXPECT_EQ(user.Failures(), std::vector<std::string>{});
    EXPECT_TRUE(SamePath(shown, dir)) << Utf8(shown);
    EXPECT_TRUE(extractBoxSet);
    EXPECT_TRUE(modeControls);
    EXPECT_TRUE(platformControlsHidden);
    EXPECT_FALSE(extract.m_bDirExtract);
    EXPECT_EQ(Utf8(std::string(extract.GetSelectedDir())), Utf8(dir + "\\"));
    EXPECT_EQ(Utf8(RememberedDir()), Utf8(dir + "\\"));

    // Compression mode starts where the last choice was; Cancel remembers nothing.
    theApp.WriteProfileString("setting", "strOpenDir", (dir + "\\").c_str());
    std::string shownAgain;
    bool compressBoxes = false;
    UserThread again([&](UserThread& u) {
        HWND h = u.WaitForDialog(Sjis(kChooserCaption));
        if (!h) return;
        shownAgain = UserThread::Text(GetDlgItem(h, 1088));
        compressBoxes = UserThread::IsChecked(h, IDC_DIR_COMPRESS) &&
                        !UserThread::IsChecked(h, IDC_DELETE_AFTER) && InSight(h, IDC_DIR_COMPRESS) &&
                        InSight(h, IDC_DELETE_AFTER) && OutOfSight(h, IDC_DIR_EXTRACT) &&
                        OutOfSight(h, IDC_MAKE_DIR);
        // Up one level, then Cancel.
        SetDlgItemTextA(h, 1152, "..");
        UserThread::Click(h, IDOK);
        u.WaitUntil([&] { return UserThread::Text(GetDlgItem(h, 1088)) != shownAgain; }, "the parent");
        UserThread::Click(h, IDCANCEL);
    });
    CDirSelectDlg compress(TRUE);
    compress.m_bDirCompress = TRUE;
    EXPECT_EQ(compress.DoModal(), IDCANCEL);
    EXPECT_EQ(again.Failures(), std::vector<std::string>{});
    EXPECT_TRUE(SamePath(shownAgain, dir)) << Utf8(shownAgain);
    EXPECT_TRUE(compressBoxes);
    EXPECT_EQ(Utf8(RememberedDir()), Utf8(dir + "\\"));
}

TEST_F(DirChooser, ADirectoryWithAPathNear260BytesCanBeChosen) {
    // The answer is the path and the marker name: 9 bytes beyond the path,
    // which here is 259 bytes long.
    std::string deep = ScratchDir() + "DEEP";
    CreateDirectoryA(deep.c_str(), NULL);
    deep += "\\" + std::string(259 - deep.size() - 1, 'D');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS);
    theApp.WriteProfileString("setting", "strOpenDir", (deep + "\\").c_str());
    UserThread user([&](UserThread& u) {
        if (HWND h = u.WaitForDialog(Sjis(kChooserCaption))) UserThread::Click(h, IDOK);
    });
    CDirSelectDlg chooser(FALSE);
    ASSERT_EQ(chooser.DoModal(), IDOK);
    EXPECT_TRUE(SamePath(std::string(chooser.GetSelectedDir()), deep + "\\"));
    EXPECT_TRUE(SamePath(RememberedDir(), deep + "\\"));
}

// Opens the chooser's make-directory dialog and checks what it was preset
// with; the name typed there is created and listed without leaving the chooser.
TEST_F(DirChooser, MakesADirectoryFromTheChooser) {
    theApp.WriteProfileString("setting", "strOpenDir", (dir + "\\").c_str());
    // The current-directory text is taken whole, however long.
    std::string longText = dir + "\\" + std::string(300, 'x');
    std::string newName(150, 'n');
    std::string newDir = dir + "\\" + newName;
    RemoveDirectoryA(newDir.c_str());
    std::string preset;
    bool listed = false;
    DialogWatcher boxes;
    boxes.LeaveAlone([](const SeenDialog& d) {
        return d.caption == Sjis(kChooserCaption) || d.caption == Sjis("ディレクトリの作成");
    });
    UserThread user([&](UserThread& u) {
        HWND h = u.WaitForDialog(Sjis(kChooserCaption));
        if (!h) return;
        SetDlgItemTextA(h, 1088, longText.c_str());
        UserThread::Click(h, IDC_MAKE_DIR);
        HWND m = u.WaitForDialog(Sjis("ディレクトリの作成"));
        if (!m) return;
        preset = UserThread::Text(GetDlgItem(m, IDC_MAKEDIR_NAME));
        // An empty name does nothing; an existing directory is reported.
        SetDlgItemTextA(m, IDC_MAKEDIR_NAME, "");
        UserThread::Press(m, IDOK);
        SetDlgItemTextA(m, IDC_MAKEDIR_NAME, dir.c_str());
        UserThread::Press(m, IDOK);
        SetDlgItemTextA(m, IDC_MAKEDIR_NAME, newDir.c_str());
        UserThread::Click(m, IDOK);
        u.WaitUntil([&] { return !IsWindow(m); }, "the make-directory dialog to close");
        listed = u.WaitUntil([&] {
            for (const std::string& item : UserThread::ListItems(GetDlgItem(h, 1121)))
                if (item.find(newName) != std::string::npos) return true;
            return false;
        }, "the new directory in the list");
        UserThread::Click(h, IDOK);
    });
    CDirSelectDlg chooser(FALSE);
    ASSERT_EQ(chooser.DoModal(), IDOK);
    EXPECT_EQ(user.Failures(), std::vector<std::string>{});
    EXPECT_TRUE(SamePath(preset, longText)) << preset.size();
    EXPECT_TRUE(listed);
    EXPECT_NE(GetFileAttributesA(newDir.c_str()), INVALID_FILE_ATTRIBUTES);
    std::vector<std::string> texts;
    for (const SeenDialog& d : boxes.Seen())
        if (d.caption != Sjis(kChooserCaption) && d.caption != Sjis("ディレクトリの作成")) texts.push_back(d.text);
    CString failed;
    failed.LoadString(IDS_MKDIR_FAILED);
    EXPECT_EQ(texts, std::vector<std::string>{std::string(failed)});
    RemoveDirectoryA(newDir.c_str());
}

// An answer that names no directory is no choice: nothing is remembered.
class CBareAnswer : public CDirSelectDlg {
public:
    CBareAnswer() : CDirSelectDlg(FALSE) {}
    INT_PTR Answer(LPCSTR path) {
        lstrcpyA(m_ofn.lpstrFile, path);
        return Conclude(IDOK);
    }
};

TEST_F(DirChooser, AnAnswerWithoutABackslashIsNoChoice) {
    theApp.WriteProfileString("setting", "strOpenDir", "C:\\KEPT\\");
    CBareAnswer dlg;
    EXPECT_EQ(dlg.Answer("(%zuvo%)"), IDCANCEL);
    EXPECT_EQ(std::string(dlg.GetSelectedDir()), "");
    EXPECT_EQ(RememberedDir(), "C:\\KEPT\\");
    EXPECT_EQ(dlg.Answer("C:\\(%zuvo%)"), IDOK);
    EXPECT_EQ(RememberedDir(), "C:\\");
}

}  // namespace
