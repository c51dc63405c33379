// CArchiveDoc over the scripted library: listing, failures and their boxes,
// the new-archive prompt, temporary names and the extract-with-directories flag.
#include "app/archive_doc.h"

#include "engine/arcfile_item.h"
#include "framework/path_parts.h"
#include "framework/recent_files.h"
#include "framework/view.h"
#include "res/resource.h"
#include "tests/fake_unlha32/fake_control.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/running_app.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string String(UINT id) {
    CString s;
    s.LoadString(id);
    return std::string(s);
}

class ArchiveDocTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u);
        theApp.SetRegistryKey("Vantrel");
        lib.reset(new FakeUnlha32());
        ASSERT_TRUE(lib->Loaded());
        archive = MakeFile("SAMPLE.LZH");
        doc.reset(new CArchiveDoc);
    }
    void TearDown() override {
        doc.reset();
        lib.reset();
        DeleteFileA(archive.c_str());
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const SeenDialog& d : boxes.Seen()) texts.push_back(d.text);
        return texts;
    }

    const CArcfileItem* Item(int i) { return doc->GetEntry(i); }

    std::unique_ptr<FakeUnlha32> lib;
    DialogWatcher boxes;
    std::unique_ptr<CArchiveDoc> doc;
    std::string archive;
};

TEST_F(ArchiveDocTest, ListsEntriesInOrderWithoutDirectoryEntriesAndFreesTheLibrary) {
    lib->AddRecord("A.TXT", 10, 8);
    lib->AddRecord("DOC\\");
    lib->AddRecord("DOC\\B.TXT", 20, 9);
    ASSERT_TRUE(doc->Load(archive.c_str()));
    ASSERT_TRUE(doc->HasArchive());
    ASSERT_EQ(doc->GetEntryCount(), 2);
    EXPECT_EQ(std::string(Item(0)->m_strName), "A.TXT");
    EXPECT_EQ(std::string(Item(0)->m_strPath), "");
    EXPECT_EQ(std::string(Item(1)->m_strName), "B.TXT");
    EXPECT_EQ(std::string(Item(1)->m_strPath), "DOC\\");
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(lib->OpenArchives(), 0);

    // A second listing replaces the first one whole.
    ASSERT_TRUE(doc->Load(archive.c_str()));
    EXPECT_EQ(doc->GetEntryCount(), 2);
    doc->DeleteContents();
    EXPECT_FALSE(doc->HasArchive());
    EXPECT_EQ(doc->GetEntryCount(), 0);
    EXPECT_TRUE(lib->HeldOnlyByUs());
}

TEST_F(ArchiveDocTest, AnArchiveOfDirectoryEntriesOnlyOpensWithItsFolders) {
    lib->AddRecord("DOC\\");
    lib->AddRecord("DOC\\IMAGES\\");
    ASSERT_TRUE(doc->Load(archive.c_str()));
    EXPECT_TRUE(doc->HasArchive());
    EXPECT_EQ(doc->GetEntryCount(), 0);
    ASSERT_EQ(doc->GetFolders().GetSize(), 2);
    EXPECT_EQ(std::string(doc->GetFolders()[1]), "DOC\\IMAGES\\");
    EXPECT_EQ(boxes.Count(), 0u);
    doc->DeleteContents();
    EXPECT_EQ(doc->GetFolders().GetSize(), 0);
}

TEST_F(ArchiveDocTest, ANonArchiveIsReportedAndLeavesNoArchive) {
    lib->AddRecord("A.TXT");
    ASSERT_TRUE(doc->Load(archive.c_str()));
    lib->SetCheckResult(FALSE);
    EXPECT_FALSE(doc->Load(archive.c_str()));
    EXPECT_FALSE(doc->HasArchive());
    EXPECT_EQ(doc->GetEntryCount(), 0);
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{String(IDS_NOT_LZH)});
    EXPECT_EQ(boxes.Seen()[0].icon, (UINT)MB_ICONERROR);
    EXPECT_EQ(String(IDS_NOT_LZH), Sjis("このファイルはLZHファイルではありません。"));
}

// Records how many entries the document had at each update, negative when
// the update says they are going.
class CRecordingView : public CView {
public:
    void OnUpdate(CView*, LPARAM lHint, CObject*) override {
        int n = static_cast<CArchiveDoc*>(GetDocument())->GetEntryCount();
        counts.push_back(lHint == CArchiveDoc::kHintEntriesGone ? -n : n);
    }
    std::vector<int> counts;
};

TEST_F(ArchiveDocTest, ViewsForgetTheEntriesBeforeAFailedListingReportsIt) {
    CRecordingView view;
    doc->m_bAutoDelete = FALSE;
    doc->AddView(&view);
    lib->AddRecord("A.TXT");
    ASSERT_TRUE(doc->Load(archive.c_str()));
    lib->SetCheckResult(FALSE);
    ASSERT_FALSE(doc->Load(archive.c_str()));
    EXPECT_EQ(view.counts, (std::vector<int>{1, -1, 0}));
    doc->RemoveView(&view);
}

TEST_F(ArchiveDocTest, ARefusedListingFailsWithoutAMessage) {
    lib->AddRecord("A.TXT");
    lib->SetOpenFails(TRUE);
    EXPECT_FALSE(doc->Load(archive.c_str()));
    EXPECT_FALSE(doc->HasArchive());
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(lib->HeldOnlyByUs());
}

// Another program is changing an archive: the user is told to try again
// rather than left with an empty window.
TEST_F(ArchiveDocTest, ABusyLibraryIsReported) {
    lib->AddRecord("A.TXT");
    lib->SetRunning(1);
    EXPECT_FALSE(doc->Load(archive.c_str()));
    EXPECT_FALSE(doc->HasArchive());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{String(IDS_LIBRARY_BUSY)});
    EXPECT_TRUE(lib->HeldOnlyByUs());
}

TEST_F(ArchiveDocTest, AMissingLibraryIsReportedThenTheFileIsNoArchive) {
    lib.reset();
    HMODULE stray = LoadLibraryA("unlha32.dll");
    ASSERT_EQ(stray, nullptr) << "an unlha32.dll is still findable";
    EXPECT_FALSE(doc->Load(archive.c_str()));
    EXPECT_FALSE(doc->HasArchive());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{String(IDS_NO_UNLHA32), String(IDS_NOT_LZH)}));
}

TEST_F(ArchiveDocTest, ANamedArchiveThatDoesNotExistYetIsAnEmptyArchive) {
    std::string missing = ScratchDir() + "NEW.LZH";
    DeleteFileA(missing.c_str());
    lib->ClearCalls();
    ASSERT_TRUE(doc->Load(missing.c_str()));
    EXPECT_TRUE(doc->HasArchive());
    EXPECT_EQ(std::string(doc->GetArchive()->m_strArchive), missing);
    EXPECT_EQ(doc->GetEntryCount(), 0);
    EXPECT_TRUE(lib->Calls().empty());
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(ArchiveDocTest, OpeningAMissingFileFailsInTheFramework) {
    std::string missing = ScratchDir() + "GONE.LZH";
    DeleteFileA(missing.c_str());
    lib->ClearCalls();
    EXPECT_FALSE(doc->OnOpenDocument(missing.c_str()));
    EXPECT_FALSE(doc->HasArchive());
    EXPECT_TRUE(lib->Calls().empty());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.Seen()[0].text.find(missing), std::string::npos);

    lib->AddRecord("A.TXT");
    EXPECT_TRUE(doc->OnOpenDocument(archive.c_str()));
    EXPECT_EQ(doc->GetEntryCount(), 1);
}

// Types a path into the file dialog and presses its OK button.
DialogWatcher::Action AnswerFileDialog(const std::string& path, std::string* title) {
    return [path, title](HWND hDlg, const SeenDialog& seen) {
        *title = seen.caption;
        HWND hName = GetDlgItem(hDlg, 0x47c);  // cmb13: the file name box
        if (!hName) hName = GetDlgItem(hDlg, 0x480);  // edt1
        SetWindowTextA(hName, path.c_str());
        return IDOK;
    };
}

TEST_F(ArchiveDocTest, PromptingForANonArchiveShowsBothMessages) {
    std::string title;
    boxes.QueueAction(AnswerFileDialog(archive, &title));
    lib->SetCheckResult(FALSE);
    EXPECT_FALSE(doc->PromptNewArchive());
    EXPECT_EQ(title, Sjis("作成するファイル名を入力してください。"));
    std::vector<std::string> texts = BoxTexts();
    ASSERT_EQ(texts.size(), 3u);  // the file dialog, then two boxes
    EXPECT_EQ(texts[1], String(IDS_NOT_LZH));
    EXPECT_EQ(texts[2], String(IDS_CREATE_FAILED));
    EXPECT_TRUE(doc->GetPathName().IsEmpty());
}

// Records the document's path at each update.
class CPathRecordingView : public CView {
public:
    void OnUpdate(CView*, LPARAM, CObject*) override { paths.push_back((LPCSTR)GetDocument()->GetPathName()); }
    std::vector<std::string> paths;
};

TEST_F(ArchiveDocTest, AnExistingArchiveChosenAsTheNewOneIsNamedBeforeItIsListed) {
    CPathRecordingView view;
    doc->m_bAutoDelete = FALSE;
    doc->AddView(&view);
    lib->AddRecord("A.TXT");
    std::string title;
    boxes.QueueAction(AnswerFileDialog(archive, &title));
    ASSERT_TRUE(doc->PromptNewArchive());
    ASSERT_FALSE(view.paths.empty());
    EXPECT_EQ(view.paths.back(), archive);
    doc->RemoveView(&view);
}

TEST_F(ArchiveDocTest, PromptingForANewNameNamesTheDocument) {
    std::string missing = ScratchDir() + "FRESH.LZH";
    DeleteFileA(missing.c_str());
    std::string title;
    boxes.QueueAction(AnswerFileDialog(missing, &title));
    ASSERT_TRUE(doc->PromptNewArchive());
    EXPECT_EQ(std::string(doc->GetPathName()), missing);
    EXPECT_TRUE(doc->HasArchive());
    EXPECT_EQ(boxes.Count(), 1u);

    boxes.QueueAnswer(IDCANCEL);
    EXPECT_FALSE(doc->PromptNewArchive());
}

TEST_F(ArchiveDocTest, AnArchiveWithoutEntriesOpensAndANewNameWithoutExtensionGetsLzh) {
    // An emptied archive (no entry at all) is an open, empty archive.
    ASSERT_TRUE(doc->Load(archive.c_str()));
    EXPECT_TRUE(doc->HasArchive());
    EXPECT_EQ(doc->GetEntryCount(), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(lib->HeldOnlyByUs());
    // ... and takes the name of a new archive.
    std::string title;
    boxes.QueueAction(AnswerFileDialog(archive, &title));
    ASSERT_TRUE(doc->PromptNewArchive());
    EXPECT_EQ(std::string(doc->GetPathName()), archive);
    std::string plain = ScratchDir() + "PLAIN";
    DeleteFileA((plain + ".lzh").c_str());
    boxes.QueueAction(AnswerFileDialog(plain, &title));
    ASSERT_TRUE(doc->PromptNewArchive());
    EXPECT_EQ(std::string(doc->GetPathName()), plain + ".lzh");
    EXPECT_EQ(std::string(doc->GetArchive()->m_strArchive), plain + ".lzh");
    EXPECT_EQ(boxes.Count(), 2u);  // the two file dialogs
}

TEST_F(ArchiveDocTest, TemporaryCopiesNeverEnterTheRecentFiles) {
    theApp.LoadStdProfileSettings(4);
    theApp.AddToRecentFileList(archive.c_str());
    theApp.AddToRecentFileList((std::string(TempDirectory()) + "INNER.LZH").c_str());
    EXPECT_EQ(std::string((*theApp.m_pRecentFileList)[0]), archive);
}

TEST_F(ArchiveDocTest, ExtractWithDirectoriesComesFromTheProfileAndLoadDoesNotWriteIt) {
    theApp.WriteProfileString("settings", "bDirUnpack", NULL);
    EXPECT_EQ(CArchiveDoc().m_bDirUnpack, 1);
    theApp.WriteProfileInt("Settings", "bDirUnpack", 0);
    // The application, named by its string resource, keeps it here:
    DWORD value = 1, size = sizeof(value);
    EXPECT_EQ(SHGetValueA(HKEY_CURRENT_USER, "Software\\Vantrel\\Zuvo\\settings", "bDirUnpack", NULL,
                          &value, &size), (DWORD)ERROR_SUCCESS);
    EXPECT_EQ(value, 0u);
    CArchiveDoc fresh;
    EXPECT_EQ(fresh.m_bDirUnpack, 0);
    fresh.m_bDirUnpack = TRUE;
    lib->AddRecord("A.TXT");
    ASSERT_TRUE(fresh.Load(archive.c_str()));
    fresh.DeleteContents();
    EXPECT_EQ(theApp.GetProfileInt("settings", "bDirUnpack", 1), 0);
    theApp.WriteProfileString("settings", "bDirUnpack", NULL);
}

}  // namespace
