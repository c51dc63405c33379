// Listing an archive through the library, and what each state of the library
// (busy, refusing, too old, incomplete, missing) makes of a listing, a check
// and a command, with the messages shown.
#include "engine_fixture.h"

#include <functional>
#include <memory>

namespace {

WORD DosDate(int year, int month, int day) { return (WORD)(((year - 1980) << 9) | (month << 5) | day); }
WORD DosTime(int hour, int minute, int second) { return (WORD)((hour << 11) | (minute << 5) | (second / 2)); }

// Runs the listing protocol to its end: one line per entry, "path|name|
// original|compressed|date|time", then the last status.
std::vector<std::string> ListAll(CLha& arc) {
    std::vector<std::string> rows;
    std::unique_ptr<CArcfileItem> item(new CArcfileItem);
    int status = arc.Open(item.get());
    while (status == ARC_ENTRY) {
        rows.push_back(std::string(item->m_strPath) + "|" + std::string(item->m_strName) + "|" +
                       std::to_string(item->m_dwOriginalSize) + "|" + std::to_string(item->m_dwCompressedSize) +
                       "|" + std::string(item->m_strDate) + "|" + std::string(item->m_strTime));
        item.reset(new CArcfileItem);
        status = arc.GetNext(item.get());
    }
    arc.Close();
    rows.push_back("status " + std::to_string(status));
    return rows;
}

TEST_F(EngineTest, ListingDeliversEveryEntrySplitAndDatedAndLetsGo) {
    lib->SetVersion(21);  // the listing makes no version check
    lib->AddRecord("README.TXT", 1000, 400, DosDate(1996, 4, 5), DosTime(13, 4, 4));
    lib->AddRecord("a/b/c.txt", 7, 9, DosDate(2001, 12, 31), DosTime(23, 59, 58));
    lib->AddRecord("docs\\", 0, 0, DosDate(1980, 1, 1), 0);
    // 表 is 0x95 0x5C: its second byte is not a separator.
    lib->AddRecord(Sjis("表/表.txt").c_str(), 1, 1, DosDate(2024, 2, 29), DosTime(0, 0, 0));
    lib->AddRecord(Sjis("表.txt").c_str(), 4294967295u, 0, DosDate(2107, 12, 31), DosTime(23, 59, 58));
    // Folders longer than a path, and a name filling the whole record with no
    // terminating zero, are kept whole.
    std::string dir;
    while (dir.size() < 400) dir += "directory_component/";
    lib->AddRecord((dir + "file.txt").c_str());
    for (char& c : dir) c = c == '/' ? '\\' : c;
    std::string full(600, 'n');
    full.replace(300, 1, "/");
    lib->AddRecord(full.c_str());

    CLha arc("C:\\ARC\\A.LZH");
    std::vector<std::string> expected = {
        "|README.TXT|1000|400|96/04/05|13:04:04",
        "a\\b\\|c.txt|7|9|01/12/31|23:59:58",
        "docs\\||0|0|80/01/01|00:00:00",
        Sjis("表\\|表.txt|1|1|24/02/29|00:00:00"),
        Sjis("|表.txt|4294967295|0|07/12/31|23:59:58"),
        dir + "|file.txt|0|0|80/00/00|00:00:00",
        std::string(300, 'n') + "\\|" + std::string(534 - 301, 'n') + "|0|0|80/00/00|00:00:00",
        "status 1",
    };
    EXPECT_EQ(ListAll(arc), expected);
    EXPECT_EQ(arc.GetStatus(), ARC_END);
    EXPECT_EQ(lib->OpenArchives(), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(lib->HeldOnlyByUs());
}

TEST_F(EngineTest, EachStateOfTheLibraryGivesItsListingCheckCommandAndMessages) {
    const std::string noLibrary = "no UNLHA32.DLL", tooOld = "UNLHA32.DLL version error";
    struct Row {
        const char* what;
        std::function<void()> setUp;
        std::vector<std::string> listing;
        BOOL check;
        BOOL command;
        bool commandSent;
        std::vector<std::string> messages;
    } rows[] = {
        {"ready", [this] { lib->AddRecord("ONE.TXT"); }, {"|ONE.TXT|0|0|80/00/00|00:00:00", "status 1"},
         TRUE, TRUE, true, {}},
        {"no entries", [] {}, {"status 5"}, TRUE, TRUE, true, {}},
        {"busy", [this] { lib->SetRunning(1); }, {"status 7"}, TRUE, FALSE, false, {}},
        {"busy, another value", [this] { lib->SetRunning(-1); }, {"status 7"}, TRUE, FALSE, false, {}},
        {"refuses the file",
         [this] {
             lib->SetOpenFails(TRUE);
             lib->SetCheckResult(FALSE);
         },
         {"status 3"}, FALSE, TRUE, true, {}},
        {"the command fails", [this] { lib->QueueResult(0x8020); }, {"status 5"}, TRUE, FALSE, true, {}},
        {"version 21", [this] { lib->SetVersion(21); }, {"status 5"}, TRUE, FALSE, false, {tooOld}},
        {"version 22 in the low word", [this] { lib->SetVersion(0x10016); }, {"status 5"}, TRUE, TRUE,
         true, {}},
        {"without FindNext, Unlha and CheckArchive",
         [this] {
             lib.reset();
             lib.reset(new FakeUnlha32(FakeUnlha32::kPartial));
             lib->AddRecord("ONE.TXT");
             lib->AddRecord("TWO.TXT");
         },
         {"|ONE.TXT|0|0|80/00/00|00:00:00", "status 1"}, FALSE, FALSE, false, {}},
        {"missing", [this] { RemoveLibrary(); }, {"status 3"}, FALSE, FALSE, false,
         {noLibrary, noLibrary, noLibrary}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        lib.reset();
        lib.reset(new FakeUnlha32());
        boxes.Clear();
        row.setUp();
        CLha arc("C:\\ARC\\A.LZH");
        EXPECT_EQ(ListAll(arc), row.listing);
        EXPECT_EQ(arc.CheckArchive(), row.check);
        EXPECT_EQ(arc.Execute("x A.LZH"), row.command);
        if (lib) {
            EXPECT_EQ(lib->CommandLines(), row.commandSent ? Strings({"x A.LZH"}) : Strings({}));
            EXPECT_EQ(lib->OpenArchives(), 0);
            EXPECT_TRUE(lib->HeldOnlyByUs());
        }
        EXPECT_EQ(BoxTexts(), row.messages);
    }
}

// What the library is handed: the main window to own its windows, the
// archive to check, the room for its output and the settings dialog's mode.
TEST_F(EngineTest, TheLibraryGetsTheMainWindowTheArchiveAndItsModes) {
    HWND main = CreateWindowA("STATIC", "main", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    ASSERT_NE(main, nullptr);
    AfxSetMainWndHandle(main);
    CLha arc("C:\\DATA\\x.lzh");
    EXPECT_TRUE(arc.CheckArchive());
    std::string huge(40000, 'L');
    lib->QueueResult(0, huge.c_str());
    EXPECT_TRUE(arc.Execute("l C:\\DATA\\x.lzh"));
    EXPECT_EQ(strlen(arc.m_pOutput), 29999u);
    arc.ConfigDialog(0);
    arc.ConfigDialog(1);
    arc.ConfigDialog(7);
    std::vector<std::string> seen;
    for (const FakeCall& call : lib->Calls()) {
        if (call.name == "UnlhaCheckArchive" || call.name == "UnlhaConfigDialog")
            seen.push_back(call.name + " " + call.text + " " + std::to_string(call.number));
        if (call.name == "Unlha" || call.name == "UnlhaConfigDialog") EXPECT_EQ(call.hwnd, main) << call.name;
    }
    EXPECT_EQ(seen, Strings({"UnlhaCheckArchive C:\\DATA\\x.lzh 0", "UnlhaConfigDialog buffer 1",
                             "UnlhaConfigDialog buffer 2", "UnlhaConfigDialog buffer 2"}));

    // A box about the library belongs to the main window.
    lib->SetVersion(21);
    EXPECT_FALSE(arc.Execute("x C:\\DATA\\x.lzh"));
    ASSERT_EQ(BoxTexts(), Strings({"UNLHA32.DLL version error"}));
    EXPECT_EQ(boxes.Seen()[0].owner, main);
    EXPECT_EQ(boxes.Seen()[0].buttons, std::vector<int>{IDOK});
    AfxSetMainWndHandle(NULL);
    DestroyWindow(main);
}

}  // namespace
