// The document's commands in the running program against the scripted
// library: the exact command lines of compressing files and directories and of
// each kind of self-extracting archive, the archive shown afresh afterwards,
// the listing on the clipboard, the option toggle and which commands are on.
#include "app/archive_doc.h"

#include "framework/cmd_ui.h"
#include "res/resource.h"
#include "tests/commands/user_thread.h"
#include "tests/fake_unlha32/fake_control.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/running_app.h"
#include "tests/support/text.h"
#include "ui/file_view.h"
#include "ui/main_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The library's work directory: the temporary directory without its backslash.
std::string WorkDir() {
    char dir[MAX_PATH];
    GetTempPathA(sizeof(dir), dir);
    std::string work(dir);
    if (!work.empty() && work.back() == '\\') work.pop_back();
    return work;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(NULL)) return "(clipboard busy)";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        text = (const char*)GlobalLock(h);
        GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(const char* text) {
    ASSERT_TRUE(OpenClipboard(NULL));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
    lstrcpyA((char*)GlobalLock(h), text);
    GlobalUnlock(h);
    SetClipboardData(CF_TEXT, h);
    CloseClipboard();
}

// Answers the Explorer-style file dialog: into the directory, then the names.
DialogWatcher::Action ChooseFiles(const std::string& dir, const std::string& names, std::string* title) {
    return [=](HWND hDlg, const SeenDialog& seen) {
        *title = seen.caption;
        HWND hName = GetDlgItem(hDlg, 0x47c);  // cmb13: the file name box
        if (!hName) hName = GetDlgItem(hDlg, 0x480);
        SetWindowTextA(hName, dir.c_str());
        UserThread::Press(hDlg, IDOK);
        SetWindowTextA(hName, names.c_str());
        return IDOK;
    };
}

class DocCommands : public RunningAppOverFake {
protected:
    void SetUp() override {
        RunningAppOverFake::SetUp();
        theApp.WriteProfileString("Window", NULL, NULL);  // the main window's first run
        lib.AddRecord("README.TXT", 10, 8);
    }
    void Start(const std::string& cmdLine) { ASSERT_TRUE(RunningAppOverFake::Start(cmdLine)); }

    // The command lines sent to the library's Unlha since the last call.
    std::vector<std::string> TakeLines() {
        std::vector<std::string> lines = lib.CommandLines();
        lib.ClearCalls();
        return lines;
    }
    // Whether the file list comes to show the entry: after a change the
    // archive is listed afresh, so an entry the library has since gained shows.
    bool Shows(const char* name) {
        return WaitFor([&] {
            LVFINDINFOA find = {LVFI_STRING, name};
            return List().SendMessage(LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find) >= 0;
        }, 3000);
    }
};

TEST_F(DocCommands, CompressingFilesAndDirectoriesSendsTheirLinesThenListsAgain) {
    Start(archive);
    std::string dir = ScratchDir() + "src";
    CreateDirectoryA(dir.c_str(), NULL);
    MakeFile("src\\a.txt");
    MakeFile("src\\b c.txt");
    lib.ClearCalls();

    std::string title;
    boxes.QueueAction(ChooseFiles(dir, "\"a.txt\" \"b c.txt\"", &title));
    lib.AddRecord("ADDED.TXT");
    Command(ID_COMPRESS);
    EXPECT_EQ(Utf8(title), "圧縮ファイルの選択");
    EXPECT_TRUE(Shows("ADDED.TXT"));
    std::vector<std::string> lines = TakeLines();
    ASSERT_GE(lines.size(), 1u);
    EXPECT_STRCASEEQ(lines[0].c_str(), ("u -n -w" + WorkDir() + " " + archive + "  " + dir + "\\a.txt \"" +
                                        dir + "\\b c.txt\"").c_str());

    // Each pair of the chooser's boxes gives its own command; Cancel none.
    theApp.WriteProfileString("setting", "strOpenDir", (dir + "\\").c_str());
    struct Variant {
        bool withDirs, deleteAfter;
        const char* option;
    } variants[] = {{true, false, "u -rx "}, {false, false, "u -r "}, {true, true, "m -rx "}, {false, true, "m -r "}};
    for (const Variant& v : variants) {
        bool preset = false;
        boxes.QueueAction([&](HWND h, const SeenDialog&) {
            preset = UserThread::IsChecked(h, IDC_DIR_COMPRESS) && !UserThread::IsChecked(h, IDC_DELETE_AFTER);
            UserThread::SetCheck(h, IDC_DIR_COMPRESS, v.withDirs);
            UserThread::SetCheck(h, IDC_DELETE_AFTER, v.deleteAfter);
            return IDOK;
        });
        lib.AddRecord(v.option);  // an entry named after the variant, shown once listed afresh
        Command(ID_COMPRESS_DIR);
        EXPECT_TRUE(preset) << v.option;
        EXPECT_TRUE(Shows(v.option));
        EXPECT_EQ(TakeLines(), std::vector<std::string>{std::string(v.option) + " -w" + WorkDir() + " " +
                                                        archive + "  " + dir + "\\*.*"});
    }
    boxes.QueueAnswer(IDCANCEL);
    Command(ID_COMPRESS_DIR);
    EXPECT_EQ(TakeLines(), std::vector<std::string>{});
    EXPECT_STRCASEEQ(Doc()->GetPathName(), archive.c_str());
}

// More chosen names than the dialog's buffer holds: the user is told, and
// nothing is sent (also where the platform cuts the list instead of failing).
TEST_F(DocCommands, TooManyChosenFilesAreReportedAndNothingIsAdded) {
    Start(archive);
    std::string dir = ScratchDir() + "many";
    CreateDirectoryA(dir.c_str(), NULL);
    for (int i = 0; i < 340; ++i) {
        char name[16];
        wsprintfA(name, "many\\%03d", i);
        std::string file = name + std::string(180, 'f') + ".txt";
        if (GetFileAttributesA((ScratchDir() + file).c_str()) == INVALID_FILE_ATTRIBUTES) MakeFile(file);
    }
    lib.ClearCalls();
    size_t typed = 0;
    boxes.QueueAction([&](HWND hDlg, const SeenDialog&) {
        HWND hName = GetDlgItem(hDlg, 0x47c);
        if (!hName) hName = GetDlgItem(hDlg, 0x480);
        SetWindowTextA(hName, dir.c_str());
        UserThread::Press(hDlg, IDOK);
        // Every file of the folder, as selecting them all in the list does.
        HWND hView = FindWindowExA(FindWindowExA(hDlg, NULL, "SHELLDLL_DefView", NULL), NULL, "SysListView32", NULL);
        WaitFor([&] { return SendMessageA(hView, LVM_GETITEMCOUNT, 0, 0) >= 340; });
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageA(hView, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
        typed = UserThread::Text(hName).size();
        return IDOK;
    });
    Command(ID_COMPRESS);
    EXPECT_GT(typed, 60000u);
    std::vector<SeenDialog> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u);
    CString tooMany;
    tooMany.LoadString(IDS_TOO_MANY_FILES);
    EXPECT_EQ(seen[1].text, std::string(tooMany));
    EXPECT_EQ(seen[1].icon, (UINT)MB_ICONERROR);
    EXPECT_EQ(TakeLines(), std::vector<std::string>{});
}

TEST_F(DocCommands, CompressingIntoAnUntitledDocumentAsksForTheArchiveFirst) {
    Start("");
    std::string fresh = ScratchDir() + "FRESH.LZH";
    DeleteFileA(fresh.c_str());
    std::string title;
    boxes.QueueAction([&](HWND hDlg, const SeenDialog& seen) {
        title = seen.caption;
        HWND hName = GetDlgItem(hDlg, 0x47c);
        if (!hName) hName = GetDlgItem(hDlg, 0x480);
        SetWindowTextA(hName, fresh.c_str());
        return IDOK;
    });
    boxes.QueueAnswer(IDOK);  // the chooser, in its default directory
    // The scripted library writes no archive: the document stays the new one.
    Command(ID_COMPRESS_DIR);
    EXPECT_EQ(Utf8(title), "作成するファイル名を入力してください。");
    std::vector<std::string> lines = TakeLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].find("u -rx  -w" + WorkDir() + " " + fresh + "  "), 0u) << lines[0];
    EXPECT_STRCASEEQ(Doc()->GetPathName(), fresh.c_str());
}

TEST_F(DocCommands, MakesEachKindOfSelfExtractorAndOpensIt) {
    // A long directory with a dot, and an extension whose last character has
    // the trail byte 0x5C (no separator: the extension is replaced whole).
    std::string dirName = std::string(120, 'd') + ".dir";
    std::string dir = ScratchDir() + dirName;
    CreateDirectoryA(dir.c_str(), NULL);
    std::string sjisArchive = MakeFile(dirName + "\\" + Sjis("アーカイブ.表"));
    std::string sjisProgram = MakeFile(dirName + "\\" + Sjis("アーカイブ.exe"));
    std::string bare = MakeFile(dirName + "\\NOEXT");
    struct Kind {
        int button;
        const char* line;
    } kinds[] = {{IDC_SFX_DOS, "s -o -jw0 -gw0 %s "}, {IDC_SFX_WINSFX, "s -o -jw1 %s "},
                 {IDC_SFX_WINSFX32, "s -o -gw1 %s "}};
    Start(sjisArchive);
    // The program's file exists: the user is asked before the library may
    // replace it (-o).
    for (const Kind& k : kinds) {
        theApp.OpenDocumentFile(sjisArchive.c_str());
        lib.ClearCalls();
        bool winSfx32First = false;
        boxes.QueueAction([&](HWND h, const SeenDialog& seen) {
            winSfx32First = seen.caption == Sjis("自己解凍書庫の作成") && UserThread::IsChecked(h, IDC_SFX_WINSFX32) &&
                            !UserThread::IsChecked(h, IDC_SFX_DOS) && !UserThread::IsChecked(h, IDC_SFX_WINSFX);
            SendDlgItemMessageA(h, k.button, BM_CLICK, 0, 0);
            return IDOK;
        });
        boxes.QueueAnswer(IDYES);
        Command(ID_MAKE_SFX);
        EXPECT_TRUE(winSfx32First);
        char line[1024];
        wsprintfA(line, k.line, sjisArchive.c_str());
        EXPECT_EQ(Utf8(TakeLines().at(0)), Utf8(line));
        EXPECT_EQ(Utf8(std::string(Doc()->GetPathName())), Utf8(sjisProgram));
    }
    // No makes nothing.
    theApp.OpenDocumentFile(sjisArchive.c_str());
    lib.ClearCalls();
    boxes.Clear();
    boxes.QueueAnswer(IDOK);
    boxes.QueueAnswer(IDNO);
    Command(ID_MAKE_SFX);
    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_NE(boxes.Seen()[1].text.find(sjisProgram), std::string::npos) << Utf8(boxes.Seen()[1].text);
    EXPECT_EQ(TakeLines(), std::vector<std::string>{});
    // Without an extension the same file is opened again; Cancel makes nothing.
    theApp.OpenDocumentFile(bare.c_str());
    boxes.QueueAnswer(IDOK);
    Command(ID_MAKE_SFX);
    EXPECT_STRCASEEQ(Doc()->GetPathName(), bare.c_str());
    lib.ClearCalls();
    boxes.QueueAnswer(IDCANCEL);
    Command(ID_MAKE_SFX);
    EXPECT_EQ(TakeLines(), std::vector<std::string>{});
}

TEST_F(DocCommands, ListingGoesToTheClipboardAndCommandsAreOnWhenTheyCanRun) {
    auto state = [&](UINT nID) {
        CTestCmdUI ui;
        ui.m_nID = nID;
        ui.DoUpdate(Frame(), TRUE);
        return std::make_pair((bool)ui.m_bEnabled, ui.m_nCheck);
    };
    Start("");
    EXPECT_FALSE(state(ID_COPY_LISTING).first);
    for (UINT nID : {ID_COMPRESS, ID_COMPRESS_DIR, ID_MAKE_SFX, ID_DIR_UNPACK, ID_VIEW_LIST, ID_VIEW_DETAILS})
        EXPECT_TRUE(state(nID).first) << nID;
    Stop();

    Start(archive);
    EXPECT_TRUE(state(ID_COPY_LISTING).first);
    lib.QueueResult(0, " PATH  NAME\r\n README.TXT\r\n");
    Command(ID_COPY_LISTING);
    EXPECT_EQ(ClipboardText(), " PATH  NAME\r\n README.TXT\r\n");
    EXPECT_EQ(lib.CommandLines().back(), "l " + archive);
    // A listing that gives nothing leaves the clipboard alone.
    PutOnClipboard("kept");
    lib.QueueResult(0, "");
    Command(ID_COPY_LISTING);
    EXPECT_EQ(ClipboardText(), "kept");

    // The option is checked as it stands and written at every toggle.
    theApp.WriteProfileInt("settings", "bDirUnpack", 1);
    Doc()->m_bDirUnpack = TRUE;
    EXPECT_EQ(state(ID_DIR_UNPACK).second, 1);
    Command(ID_DIR_UNPACK);
    EXPECT_EQ(state(ID_DIR_UNPACK).second, 0);
    EXPECT_EQ(theApp.GetProfileInt("settings", "bDirUnpack", -1), 0);
    Command(ID_DIR_UNPACK);
    EXPECT_EQ(theApp.GetProfileInt("settings", "bDirUnpack", -1), 1);

    // From the tree pane the view mode reaches the file list, and the marks follow it.
    CFileView* pFiles = Frame()->GetFileView();
    ASSERT_NE(pFiles, nullptr);
    if (Frame()->GetActiveView() == pFiles) Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(IDM_NEXT_PANE, 1));
    ASSERT_NE(Frame()->GetActiveView(), pFiles);
    auto listStyle = [&] { return pFiles->m_wndList.GetStyle() & LVS_TYPEMASK; };
    EXPECT_EQ(listStyle(), (DWORD)LVS_REPORT);
    EXPECT_EQ(state(ID_VIEW_DETAILS).second, 1);
    Command(ID_VIEW_LIST);
    EXPECT_TRUE(WaitFor([&] { return listStyle() == LVS_LIST; }));
    EXPECT_EQ(state(ID_VIEW_LIST).second, 1);
    EXPECT_EQ(state(ID_VIEW_DETAILS).second, 0);
    Command(ID_VIEW_DETAILS);
    EXPECT_TRUE(WaitFor([&] { return listStyle() == LVS_REPORT; }));
    EXPECT_EQ(state(ID_VIEW_LIST).second, 0);
}

}  // namespace

// A change that arrives while the library works (its progress window handles
// posted messages) lists the archive only after the running call returned:
// the archive object of that call must outlive it.
TEST_F(DocCommands, AChangeArrivingDuringALibraryCallListsTheArchiveAfterIt) {
    Start(archive);
    for (UINT nLater : {ID_RENAME, ID_DELETE}) {
        lib.ClearCalls();
        lib.PumpDuringNextCall();
        if (nLater == ID_DELETE) boxes.QueueAnswer(IDYES);
        Frame()->PostMessage(WM_COMMAND, nLater);
        Command(ID_RENAME);
        std::vector<std::string> names = lib.CallNames();
        auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
        ASSERT_LT(at("UnlhaReturn"), (long)names.size()) << nLater;
        EXPECT_EQ(std::count(names.begin(), names.end(), "Unlha"), 2) << nLater;
        EXPECT_GT(at("UnlhaOpenArchive"), at("UnlhaReturn")) << nLater;
        EXPECT_STRCASEEQ(Doc()->GetPathName(), archive.c_str());
    }
    // A close arriving then waits for the call: the window and its document
    // outlive it, and the close is asked again once it is over.
    lib.PumpDuringNextCall();
    HWND hFrame = Frame()->m_hWnd;
    Frame()->PostMessage(WM_CLOSE);
    Command(ID_RENAME);
    ASSERT_TRUE(IsWindow(hFrame));
    EXPECT_STRCASEEQ(Doc()->GetPathName(), archive.c_str());
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, hFrame, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}
