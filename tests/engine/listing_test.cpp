// Listing an archive through the library, and the status codes and messages
// of listing, checking and the command gate.
#include "engine_fixture.h"

namespace {

WORD DosDate(int year, int month, int day) { return (WORD)(((year - 1980) << 9) | (month << 5) | day); }
WORD DosTime(int hour, int minute, int second) { return (WORD)((hour << 11) | (minute << 5) | (second / 2)); }

// Runs the listing protocol to its end and returns the entries delivered.
std::vector<std::unique_ptr<CArcfileItem>> ListAll(CLha& arc, int* pOpenStatus, int* pLastStatus) {
    std::vector<std::unique_ptr<CArcfileItem>> items;
    std::unique_ptr<CArcfileItem> item(new CArcfileItem);
    *pOpenStatus = arc.Open(item.get());
    *pLastStatus = *pOpenStatus;
    if (*pOpenStatus != ARC_ENTRY) return items;
    items.push_back(std::move(item));
    for (;;) {
        item.reset(new CArcfileItem);
        *pLastStatus = arc.GetNext(item.get());
        if (*pLastStatus != ARC_ENTRY) break;
        items.push_back(std::move(item));
    }
    arc.Close();
    return items;
}

TEST_F(EngineTest, ListingDeliversEveryEntrySplitAndDated) {
    lib->SetVersion(21);  // the listing makes no version check
    lib->AddRecord("README.TXT", 1000, 400, DosDate(1996, 4, 5), DosTime(13, 4, 4));
    lib->AddRecord("a/b/c.txt", 7, 9, DosDate(2001, 12, 31), DosTime(23, 59, 58));
    lib->AddRecord("docs\\", 0, 0, DosDate(1980, 1, 1), 0);
    // 表 is 0x95 0x5C: its second byte is not a separator.
    lib->AddRecord(Sjis("表/表.txt").c_str(), 1, 1, DosDate(2024, 2, 29), DosTime(0, 0, 0));
    lib->AddRecord(Sjis("表.txt").c_str());

    CLha arc("C:\\ARC\\A.LZH");
    int openStatus, lastStatus;
    auto items = ListAll(arc, &openStatus, &lastStatus);
    EXPECT_EQ(openStatus, ARC_ENTRY);
    EXPECT_EQ(lastStatus, ARC_END);
    EXPECT_EQ(arc.GetStatus(), ARC_END);
    ASSERT_EQ(items.size(), 5u);

    EXPECT_EQ(items[0]->m_strName, "README.TXT");
    EXPECT_EQ(items[0]->m_strPath, "");
    EXPECT_EQ(items[0]->m_dwOriginalSize, 1000u);
    EXPECT_EQ(items[0]->m_dwCompressedSize, 400u);
    EXPECT_EQ(items[0]->m_strDate, "96/04/05");
    EXPECT_EQ(items[0]->m_strTime, "13:04:04");
    EXPECT_EQ(items[0]->GetFullPath(), "README.TXT");

    EXPECT_EQ(items[1]->m_strPath, "a\\b\\");
    EXPECT_EQ(items[1]->m_strName, "c.txt");
    EXPECT_EQ(items[1]->GetFullPath(), "a\\b\\c.txt");
    EXPECT_EQ(items[1]->m_strDate, "01/12/31");
    EXPECT_EQ(items[1]->m_strTime, "23:59:58");

    EXPECT_EQ(items[2]->m_strPath, "docs\\");
    EXPECT_EQ(items[2]->m_strName, "");
    EXPECT_EQ(items[2]->m_strDate, "80/01/01");

    EXPECT_EQ(std::string(items[3]->m_strPath), Sjis("表\\"));
    EXPECT_EQ(std::string(items[3]->m_strName), Sjis("表.txt"));
    EXPECT_EQ(items[3]->m_strDate, "24/02/29");
    EXPECT_EQ(items[3]->m_strTime, "00:00:00");
    EXPECT_EQ(std::string(items[4]->m_strPath), "");
    EXPECT_EQ(std::string(items[4]->m_strName), Sjis("表.txt"));

    // The library opened the archive named, searched with the handle it gave
    // (number 1 says so) and was let go of at the end.
    for (const FakeCall& call : lib->Calls()) {
        if (call.name == "UnlhaOpenArchive") {
            EXPECT_EQ(call.text + " mode " + std::to_string(call.number), "C:\\ARC\\A.LZH mode 258");
        } else if (call.name == "UnlhaFindFirst" || call.name == "UnlhaFindNext") {
            EXPECT_EQ(call.number, 1u) << call.name;
        }
    }
    EXPECT_EQ(lib->OpenArchives(), 0);
    EXPECT_EQ(arc.m_pLibrary, nullptr);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(lib->HeldOnlyByUs());
}

TEST_F(EngineTest, DirectoryPartsLongerThanAPathAreKeptWhole) {
    std::string dir;
    while (dir.size() < 400) dir += "directory_component/";
    std::string stored = dir + "file.txt";
    lib->AddRecord(stored.c_str());
    // A name that fills the whole field without a terminating zero.
    std::string full(600, 'n');
    full.replace(300, 1, "/");
    lib->AddRecord(full.c_str());

    CLha arc("A.LZH");
    int openStatus, lastStatus;
    auto items = ListAll(arc, &openStatus, &lastStatus);
    ASSERT_EQ(items.size(), 2u);
    std::string expectedDir = dir;
    for (char& c : expectedDir) c = c == '/' ? '\\' : c;
    EXPECT_EQ(std::string(items[0]->m_strPath), expectedDir);
    EXPECT_EQ(items[0]->m_strName, "file.txt");
    EXPECT_EQ(std::string(items[1]->m_strPath), std::string(300, 'n') + "\\");
    EXPECT_EQ(std::string(items[1]->m_strName), std::string(534 - 301, 'n'));
}

TEST_F(EngineTest, OpenStatusesAndTheirMessages) {
    {
        SCOPED_TRACE("busy: any non-zero running flag");
        lib->SetRunning(2);
        CLha arc("A.LZH");
        CArcfileItem item;
        EXPECT_EQ(arc.Open(&item), ARC_BUSY);
        EXPECT_EQ(arc.GetStatus(), ARC_BUSY);
        EXPECT_EQ(lib->OpenArchives(), 0);
        arc.Close();
        lib->SetRunning(0);
    }
    {
        SCOPED_TRACE("refused by the library");
        lib->SetOpenFails(TRUE);
        CLha arc("A.LZH");
        CArcfileItem item;
        EXPECT_EQ(arc.Open(&item), ARC_NOT_OPENED);
        arc.Close();
        lib->SetOpenFails(FALSE);
    }
    {
        SCOPED_TRACE("no entries");
        CLha arc("A.LZH");
        CArcfileItem item;
        EXPECT_EQ(arc.Open(&item), ARC_EMPTY);
        EXPECT_EQ(arc.GetStatus(), ARC_EMPTY);
        EXPECT_EQ(item.m_strName, "");
        arc.Close();
        EXPECT_EQ(lib->OpenArchives(), 0);
    }
    EXPECT_EQ(boxes.Count(), 0u);

    RemoveLibrary();
    CLha arc("A.LZH");
    CArcfileItem item;
    EXPECT_EQ(arc.Open(&item), ARC_NOT_OPENED);
    EXPECT_EQ(arc.GetStatus(), ARC_NOT_OPENED);
    EXPECT_EQ(BoxTexts(), Strings({"no UNLHA32.DLL"}));
    EXPECT_EQ(boxes.Seen()[0].buttons, std::vector<int>{IDOK});
}

TEST_F(EngineTest, CheckArchiveAsksTheLibraryAndLetsItGo) {
    CLha arc("C:\\DATA\\x.lzh");
    lib->SetCheckResult(TRUE);
    EXPECT_TRUE(arc.CheckArchive());
    lib->SetCheckResult(FALSE);
    EXPECT_FALSE(arc.CheckArchive());
    std::vector<FakeCall> calls = lib->Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "UnlhaCheckArchive");
    EXPECT_EQ(calls[0].text, "C:\\DATA\\x.lzh");
    EXPECT_EQ(calls[0].number, 0u);
    EXPECT_TRUE(lib->HeldOnlyByUs());
    EXPECT_EQ(boxes.Count(), 0u);

    RemoveLibrary();
    EXPECT_FALSE(arc.CheckArchive());
    EXPECT_FALSE(arc.CheckArchive());
    EXPECT_EQ(BoxTexts(), Strings({"no UNLHA32.DLL", "no UNLHA32.DLL"}));
}

TEST_F(EngineTest, CommandGate) {
    HWND main = CreateWindowA("STATIC", "main", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    ASSERT_NE(main, nullptr);
    AfxSetMainWndHandle(main);
    CLha arc("A.LZH");
    {
        SCOPED_TRACE("a command runs with cursor mode 1, the main window and 29999 bytes");
        lib->QueueResult(0, "output text");
        EXPECT_TRUE(arc.Execute("l A.LZH"));
        EXPECT_STREQ(arc.m_pOutput, "output text");
        std::vector<FakeCall> calls = lib->Calls();
        ASSERT_EQ(calls.size(), 4u);
        EXPECT_EQ(calls[2].name + std::to_string(calls[2].number), "UnlhaSetCursorMode1");
        EXPECT_EQ(calls[3].name + " " + calls[3].text, "Unlha l A.LZH");
        EXPECT_EQ(calls[3].hwnd, main);
        EXPECT_EQ(calls[3].number, 29999u);
    }
    {
        SCOPED_TRACE("a failing command is FALSE without a message");
        lib->QueueResult(0x8020);
        EXPECT_FALSE(arc.Execute("x A.LZH"));
    }
    {
        SCOPED_TRACE("busy on any non-zero flag, as a listing is");
        lib->ClearCalls();
        for (int running : {1, 2, -1}) {
            lib->SetRunning(running);
            EXPECT_FALSE(arc.Execute("x A.LZH")) << running;
        }
        EXPECT_TRUE(lib->CommandLines().empty());
        lib->SetRunning(0);
    }
    {
        SCOPED_TRACE("version: the low 16 bits count");
        lib->SetVersion(0x10016);
        EXPECT_TRUE(arc.Execute("x A.LZH"));
        lib->ClearCalls();
        lib->SetVersion(21);
        EXPECT_FALSE(arc.Execute("x A.LZH"));
        EXPECT_TRUE(lib->CommandLines().empty());
        EXPECT_EQ(BoxTexts(), Strings({"UNLHA32.DLL version error"}));
        EXPECT_EQ(boxes.Seen()[0].owner, main);
    }
    EXPECT_TRUE(lib->HeldOnlyByUs());

    boxes.Clear();
    RemoveLibrary();
    EXPECT_FALSE(arc.Execute("x A.LZH"));
    EXPECT_EQ(BoxTexts(), Strings({"no UNLHA32.DLL"}));
    DestroyWindow(main);
}

TEST_F(EngineTest, VersionTooOldFailsEveryCommandWithItsMessage) {
    lib->SetVersion(21);
    CLha arc("C:\\A.LZH");
    CStringArray names;
    names.Add("A.TXT");
    CString listing;
    EXPECT_FALSE(arc.Extract("A.TXT", "C:\\OUT\\", FALSE));
    EXPECT_FALSE(arc.ExtractFiles(names, "C:\\OUT\\", TRUE));
    EXPECT_FALSE(arc.ExtractDirectory("DOC\\", "C:\\OUT\\"));
    EXPECT_TRUE(arc.AddFiles(names, FALSE));  // add and delete always report success
    EXPECT_TRUE(arc.AddDirectory("C:\\D", TRUE, FALSE));
    EXPECT_TRUE(arc.Delete(names));
    EXPECT_FALSE(arc.MakeSFX(0));
    EXPECT_TRUE(arc.List(listing));
    EXPECT_FALSE(arc.Rename("A.TXT"));
    EXPECT_TRUE(lib->CommandLines().empty());
    EXPECT_EQ(boxes.Count(), 9u);
    for (const std::string& text : BoxTexts()) EXPECT_EQ(text, "UNLHA32.DLL version error");
}

TEST_F(EngineTest, SettingsDialogModes) {
    CLha arc("");
    arc.ConfigDialog(0);
    arc.ConfigDialog(1);
    arc.ConfigDialog(7);
    std::vector<FakeCall> calls = lib->Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].name, "UnlhaConfigDialog");
    EXPECT_EQ(calls[0].number, 1u);
    EXPECT_EQ(calls[1].number, 2u);
    EXPECT_EQ(calls[2].number, 2u);
    EXPECT_EQ(calls[0].text, "buffer");
    EXPECT_TRUE(lib->HeldOnlyByUs());

    RemoveLibrary();
    arc.ConfigDialog(1);
    EXPECT_EQ(BoxTexts(), Strings({"no UNLHA32.DLL"}));
}

TEST_F(EngineTest, LibraryWithoutSomeEntryPointsFailsQuietly) {
    lib.reset(new FakeUnlha32(FakeUnlha32::kPartial));
    ASSERT_TRUE(lib->Loaded());
    lib->AddRecord("ONE.TXT");
    lib->AddRecord("TWO.TXT");

    CLha arc("A.LZH");
    EXPECT_FALSE(arc.CheckArchive());
    EXPECT_FALSE(arc.Execute("l A.LZH"));
    arc.ConfigDialog(1);

    // Without UnlhaFindNext the listing ends after the first entry.
    CArcfileItem first, next;
    EXPECT_EQ(arc.Open(&first), ARC_ENTRY);
    EXPECT_EQ(first.m_strName, "ONE.TXT");
    EXPECT_EQ(arc.GetNext(&next), ARC_END);
    arc.Close();
    EXPECT_EQ(lib->OpenArchives(), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(lib->HeldOnlyByUs());
}

}  // namespace
