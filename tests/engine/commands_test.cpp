// The command line of every archive operation, character for character,
// with its quoting and batching.
#include "engine_fixture.h"

#include <functional>

namespace {

class CommandTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        // The work directory of add, move and delete lines.
        GetEnvironmentVariableA("TMP", m_oldTmp, sizeof(m_oldTmp));
        GetEnvironmentVariableA("TEMP", m_oldTemp, sizeof(m_oldTemp));
        SetEnvironmentVariableA("TMP", "C:\\TEMP\\");
        SetEnvironmentVariableA("TEMP", "C:\\TEMP\\");
    }
    void TearDown() override {
        SetEnvironmentVariableA("TMP", m_oldTmp);
        SetEnvironmentVariableA("TEMP", m_oldTemp);
        EngineTest::TearDown();
    }

    CLha arc{"C:\\A.LZH"};
    char m_oldTmp[MAX_PATH] = "";
    char m_oldTemp[MAX_PATH] = "";
};

CStringArray& operator<<(CStringArray& a, const char* s) {
    a.Add(s);
    return a;
}

TEST_F(CommandTest, Extraction) {
    CLha other("C:\\ARC\\A.LZH");
    CStringArray names;
    names << "DOC\\A.TXT" << "Read Me.txt";
    EXPECT_TRUE(other.ExtractFiles(names, "C:\\OUT\\", TRUE));
    names.SetAt(1, "a\"b");
    EXPECT_TRUE(other.ExtractFiles(names, "C:\\OUT\\", FALSE));
    // One entry opened for viewing goes in unquoted, blank or not.
    EXPECT_TRUE(other.Extract("DOC\\Read Me.txt", "C:\\TMP\\", FALSE));
    EXPECT_TRUE(arc.ExtractDirectory("DOC\\", "C:\\OUT\\"));
    EXPECT_TRUE(arc.ExtractDirectory("DOC", "C:\\OUT\\"));
    EXPECT_TRUE(arc.ExtractDirectory("", "C:\\OUT\\"));
    // The trail byte of 表 (0x95 0x5C) does not end the path.
    EXPECT_TRUE(arc.ExtractDirectory(Sjis("表").c_str(), "C:\\OUT\\"));
    CStringArray none;
    EXPECT_TRUE(arc.ExtractFiles(none, "C:\\OUT\\", TRUE));

    std::vector<std::string> expected = {
        "x -r1xp  C:\\ARC\\A.LZH C:\\OUT\\ DOC\\A.TXT \"Read Me.txt\" ",
        "e -p  C:\\ARC\\A.LZH C:\\OUT\\ DOC\\A.TXT \"a\"\"b\" ",
        "e -p  C:\\ARC\\A.LZH C:\\TMP\\ DOC\\Read Me.txt",
        "x -r2xp C:\\A.LZH C:\\OUT\\ DOC\\*.* DOC\\*",
        "x -r2xp C:\\A.LZH C:\\OUT\\ DOC\\*.* DOC\\*",
        "x -r2xp C:\\A.LZH C:\\OUT\\ \\*.* \\*",
        "x -r2xp C:\\A.LZH C:\\OUT\\ " + Sjis("表") + "\\*.* " + Sjis("表") + "\\*",
    };
    EXPECT_EQ(lib->CommandLines(), expected);
}

TEST_F(CommandTest, AddMoveAndDeleteLines) {
    CStringArray files;
    files << "C:\\X\\F1.TXT" << "C:\\X\\F2.TXT";
    CStringArray entries;
    // A quote or a tab in a name is quoted too, the quote doubled, so the
    // name reaches the library whole.
    entries << "DOC\\A.TXT" << "My Doc\\B C.TXT" << "say \"hi\".txt" << "a\"b" << "tab\there";
    CStringArray none;

    EXPECT_TRUE(arc.AddFiles(files, FALSE));
    EXPECT_TRUE(arc.AddFiles(files, TRUE));
    EXPECT_TRUE(arc.AddDirectory("C:\\SRC\\", FALSE, FALSE));
    EXPECT_TRUE(arc.AddDirectory("C:\\SRC", TRUE, FALSE));
    EXPECT_TRUE(arc.AddDirectory("C:\\SRC", FALSE, TRUE));
    EXPECT_TRUE(arc.AddDirectory("C:\\My Files", TRUE, TRUE));
    EXPECT_TRUE(arc.Delete(entries));
    EXPECT_TRUE(arc.AddFiles(none, FALSE));
    EXPECT_TRUE(arc.Delete(none));
    // Into a folder of the archive: its switch after the option, quoted
    // whole when the folder holds a blank; none for the root.
    EXPECT_TRUE(arc.AddFiles(files, FALSE, "DOC\\SUB"));
    EXPECT_TRUE(arc.AddDirectory("C:\\SRC", TRUE, FALSE, "My Doc\\"));
    EXPECT_TRUE(arc.AddFiles(files, FALSE, ""));

    std::vector<std::string> expected = {
        "u -n -wC:\\TEMP C:\\A.LZH  C:\\X\\F1.TXT C:\\X\\F2.TXT",
        "m -n -wC:\\TEMP C:\\A.LZH  C:\\X\\F1.TXT C:\\X\\F2.TXT",
        "u -r  -wC:\\TEMP C:\\A.LZH  C:\\SRC\\*.*",
        "u -rx  -wC:\\TEMP C:\\A.LZH  C:\\SRC\\*.*",
        "m -r  -wC:\\TEMP C:\\A.LZH  C:\\SRC\\*.*",
        "m -rx  -wC:\\TEMP C:\\A.LZH  \"C:\\My Files\\*.*\"",
        "d -p -wC:\\TEMP C:\\A.LZH  DOC\\A.TXT \"My Doc\\B C.TXT\" \"say \"\"hi\"\".txt\" \"a\"\"b\" \"tab\there\"",
        "u -n -fDOC\\SUB\\ -wC:\\TEMP C:\\A.LZH  C:\\X\\F1.TXT C:\\X\\F2.TXT",
        "u -rx \"-fMy Doc\\\" -wC:\\TEMP C:\\A.LZH  C:\\SRC\\*.*",
        "u -n -wC:\\TEMP C:\\A.LZH  C:\\X\\F1.TXT C:\\X\\F2.TXT",
    };
    EXPECT_EQ(lib->CommandLines(), expected);
}

// Batches hold whole names: an extraction batch closes once past 400
// characters and a failing one stops the rest; an add batch closes before the
// name that follows 8,000 characters, and every batch runs. (That the names
// all arrive is the contract test's.)
TEST_F(CommandTest, BatchesCloseAtTheirLengthsAndOnlyExtractionStopsAtAFailure) {
    CStringArray shortNames, longNames;
    for (int i = 0; i < 100; i++) shortNames.Add(CString("F00000.TXT"));         // 10 characters
    for (int i = 0; i < 1000; i++) longNames.Add(CString("C:\\DATA\\F0000000.TXT"));  // 20
    struct Case {
        std::function<BOOL()> run;
        size_t prefix, each;  // characters before the names, and per name with its blank
        std::vector<size_t> counts;
        BOOL result;
    } cases[] = {
        {[&] { return arc.ExtractFiles(shortNames, "C:\\OUT\\", FALSE); }, 23, 11, {37, 37, 26}, TRUE},
        {[&] { return arc.AddFiles(longNames, FALSE); }, 24, 21, {381, 381, 238}, TRUE},
        {[&] { lib->QueueResult(1); return arc.ExtractFiles(shortNames, "C:\\OUT\\", FALSE); }, 23, 11, {37}, FALSE},
        {[&] { lib->QueueResult(1); return arc.AddFiles(longNames, FALSE); }, 24, 21, {381, 381, 238}, TRUE},
    };
    for (const Case& c : cases) {
        lib->ClearCalls();
        EXPECT_EQ(c.run(), c.result);
        std::vector<size_t> counts;
        for (const std::string& line : lib->CommandLines()) counts.push_back((line.size() - c.prefix) / c.each);
        EXPECT_EQ(counts, c.counts);
    }
}

TEST_F(CommandTest, ListReturnsTheLibraryOutput) {
    lib->QueueResult(0, "the listing");
    CString out;
    EXPECT_TRUE(arc.List(out));
    EXPECT_EQ(out, "the listing");
    // Busy: the command does not run and the previous output is returned.
    lib->SetRunning(1);
    CString again;
    EXPECT_TRUE(arc.List(again));
    EXPECT_EQ(again, "the listing");
    lib->SetRunning(0);
    // The library may fill all 29999 characters it was offered.
    std::string huge(40000, 'L');
    lib->QueueResult(0, huge.c_str());
    EXPECT_TRUE(arc.List(out));
    EXPECT_EQ(out.GetLength(), 29999);
    EXPECT_EQ(lib->CommandLines(), Strings({"l C:\\A.LZH", "l C:\\A.LZH"}));

    CLha fresh("C:\\B.LZH");
    fresh.List(out);
    EXPECT_EQ(out, "");
}

TEST_F(CommandTest, SelfExtractingAndRenameLines) {
    arc.MakeSFX(0);
    arc.MakeSFX(1);
    arc.MakeSFX(2);
    arc.MakeSFX(9);
    EXPECT_TRUE(arc.Rename("My Doc\\B C.TXT"));
    lib->QueueResult(1);
    EXPECT_FALSE(arc.Rename("X"));
    std::vector<std::string> expected = {
        "s -jw0 -gw0 C:\\A.LZH ",
        "s -jw1 C:\\A.LZH ",
        "s -gw1 C:\\A.LZH ",
        "s -gw1 C:\\A.LZH ",
        "n  C:\\A.LZH My Doc\\B C.TXT",
        "n  C:\\A.LZH X",
    };
    EXPECT_EQ(lib->CommandLines(), expected);
}

TEST_F(CommandTest, MissingLibraryShowsOneMessagePerCommandLine) {
    RemoveLibrary();
    CStringArray files;
    for (int i = 0; i < 500; i++) files << "C:\\DATA\\F000000000.TXT";
    EXPECT_TRUE(arc.AddFiles(files, FALSE));  // two batches, each reports
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_FALSE(arc.ExtractFiles(files, "C:\\OUT\\", FALSE));  // stops at the first
    EXPECT_EQ(boxes.Count(), 3u);
    for (const std::string& text : BoxTexts()) EXPECT_EQ(text, "no UNLHA32.DLL");
}

}  // namespace
