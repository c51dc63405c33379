// The message helpers: box styles, results, the application's caption, the
// disabled parent, and a text that does not fit the buffer.
#include "app/messages.h"

#include "framework/afx_state.h"
#include "res/resource.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Messages, EachKindHasItsStyleAndResult) {
    DialogWatcher boxes;
    ErrorMessage(IDS_NOT_LZH);
    boxes.QueueAnswer(IDNO);
    EXPECT_EQ(QuestionMessage("%d files, %s", 2, "A.TXT"), IDNO);
    boxes.QueueAnswer(IDYES);
    EXPECT_EQ(QuestionMessage(IDS_FILES_DROPPED), IDYES);
    EXPECT_EQ(InfoMessage("plain"), IDOK);
    EXPECT_EQ(StyledMessage(MB_OKCANCEL | MB_ICONHAND, "styled %u", 7u), IDOK);

    std::vector<SeenDialog> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].icon, (UINT)MB_ICONERROR);
    EXPECT_EQ(seen[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(seen[0].text, Sjis("このファイルはLZHファイルではありません。"));
    EXPECT_EQ(seen[1].icon, (UINT)MB_ICONQUESTION);
    EXPECT_TRUE(seen[1].HasButton(IDYES) && seen[1].HasButton(IDNO));
    EXPECT_EQ(seen[1].text, "2 files, A.TXT");
    EXPECT_EQ(seen[3].icon, (UINT)MB_ICONINFORMATION);
    EXPECT_EQ(seen[4].text, "styled 7");
    EXPECT_TRUE(seen[4].HasButton(IDCANCEL));
    for (const SeenDialog& d : seen) EXPECT_EQ(d.caption, std::string(AfxGetAppName()));
}

TEST(Messages, AParentIsDisabledWhileTheBoxIsUp) {
    HWND hParent = CreateWindowA("STATIC", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
    ASSERT_NE(hParent, nullptr);
    DialogWatcher boxes;
    BOOL enabledDuringBox = TRUE;
    boxes.QueueAction([&](HWND, const SeenDialog&) {
        enabledDuringBox = IsWindowEnabled(hParent);
        return IDYES;
    });
    EXPECT_EQ(QuestionMessage(hParent, IDS_FILES_DROPPED), IDYES);
    EXPECT_FALSE(enabledDuringBox);
    EXPECT_TRUE(IsWindowEnabled(hParent));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Seen()[0].owner, hParent);
    EXPECT_EQ(boxes.Seen()[0].caption, std::string(AfxGetAppName()));
    DestroyWindow(hParent);
}

TEST(Messages, ALongTextIsCutToTheBufferOnACharacterBoundary) {
    DialogWatcher boxes;
    // 1 + 2 * 600 bytes: the cut at 999 would fall inside a double-byte character.
    std::string kanji;
    for (int i = 0; i < 600; ++i) kanji += Sjis("表");
    ErrorMessage("x%s", kanji.c_str());
    std::string text = LastMessageText();
    EXPECT_EQ(text.size(), 999u);
    EXPECT_EQ(text, "x" + kanji.substr(0, 998));

    // Far longer than the formatter's own limit: still cut, nothing overrun.
    std::string huge(5000, 'a');
    ErrorMessage("%s%s", huge.c_str(), huge.c_str());
    EXPECT_EQ(std::string(LastMessageText()), std::string(999, 'a'));
    ASSERT_TRUE(boxes.WaitForCount(2));
}

}  // namespace

#include "framework/file_dialog.h"

namespace {

// What the Explorer-style dialog leaves in its buffer, read back as paths.
TEST(FileDialogResult, OneOrManyChosenPaths) {
    CFileDialog one(TRUE);
    lstrcpyA(one.m_ofn.lpstrFile, "C:\\DIR\\A.LZH");
    one.m_ofn.nFileOffset = 7;
    EXPECT_EQ(std::string(one.GetPathName()), "C:\\DIR\\A.LZH");
    EXPECT_EQ(std::string(one.GetFileTitle()), "A");

    char buffer[64];
    memcpy(buffer, "C:\\DIR\0A.TXT\0B C.TXT\0", 22);
    CFileDialog many(TRUE, NULL, NULL, OFN_ALLOWMULTISELECT);
    many.m_ofn.lpstrFile = buffer;
    many.m_ofn.nFileOffset = 7;
    std::vector<std::string> paths;
    for (POSITION pos = many.GetStartPosition(); pos;) paths.push_back(std::string(many.GetNextPathName(pos)));
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\DIR\\A.TXT", "C:\\DIR\\B C.TXT"}));
    EXPECT_EQ(std::string(many.GetPathName()), "C:\\DIR\\A.TXT");
}

}  // namespace
