// Working inside folders of an archive: adding under a folder (-f) and
// renaming a folder with everything below it.
#include <gtest/gtest.h>

#include "tests/dll/unlha_fixture.h"

using Names_t = std::vector<std::string>;

TEST_F(UnlhaTest, AddsUnderAFolderAndRefusesFoldersThatLeadOut) {
  Write("src\\a.txt", "a");
  Write("src\\sub\\b.txt", "b");
  std::string archive = Path("f.lzh");
  ASSERT_EQ(Run("u -n -fdocs\\in\\ " + archive + "  " + Path("src\\a.txt")), 0);
  ASSERT_EQ(Run("u -rx \"-fmy docs\" " + archive + "  " + Path("src\\sub\\*.*")), 0);
  EXPECT_EQ(Names(archive), (Names_t{"docs\\in\\a.txt", "my docs\\sub\\", "my docs\\sub\\b.txt"}));
  // The same file into the same folder replaces nothing older; into the
  // root it is a second entry.
  ASSERT_EQ(Run("u -n " + archive + "  " + Path("src\\a.txt")), 0);
  EXPECT_EQ(Names(archive).size(), 4u);

  std::string before = Read(archive);
  for (const char* bad : {"-f..\\up\\", "-f\\abs\\", "-fC:\\x\\", "-fa*b\\", "-fdocs\\..\\..\\", "-f\\"}) {
    EXPECT_NE(Run(std::string("u -n ") + bad + " " + archive + "  " + Path("src\\a.txt")), 0) << bad;
    EXPECT_EQ(Read(archive), before) << bad;
  }
  BoxTexts();
}

TEST_F(UnlhaTest, RenamingAFolderRenamesEverythingBelowIt) {
  Write("src\\doc\\a.txt", "a");
  Write("src\\doc\\deep\\b.txt", "b");
  Write("src\\other\\c.txt", "c");
  std::string archive = Path("r.lzh");
  ASSERT_EQ(Run("u -rx " + archive + "  " + Path("src\\doc\\*.*")), 0);  // with its folder entries
  ASSERT_EQ(Run("u -n -fimplicit\\ " + archive + "  " + Path("src\\other\\c.txt")), 0);  // without
  auto answer = [&](const char* name) {
    boxes_.QueueAction([name](HWND dialog, const SeenDialog&) {
      SetDlgItemTextA(dialog, 1010, name);
      return IDOK;
    });
  };
  answer("papers");
  ASSERT_EQ(Run("n  " + archive + " doc"), 0);
  answer("moved");
  ASSERT_EQ(Run("n  " + archive + " implicit"), 0);
  EXPECT_EQ(Names(archive), (Names_t{"papers\\", "papers\\a.txt", "papers\\deep\\", "papers\\deep\\b.txt",
                                     "moved\\c.txt"}));
  ASSERT_EQ(Run("e -p  " + archive + " " + Path("out\\") + " papers\\deep\\b.txt"), 0);
  EXPECT_EQ(Read(Path("out\\b.txt")), "b");

  // A folder renamed onto the name of an entry beside it is refused in the
  // dialog, which is then cancelled: nothing changes.
  std::string before = Read(archive);
  answer("a.txt");
  std::string refusal;
  boxes_.QueueAction([&](HWND, const SeenDialog& box) {
    refusal = box.text;
    PostMessageA(box.owner, WM_COMMAND, IDCANCEL, 0);
    return IDOK;
  });
  EXPECT_NE(Run("n  " + archive + " papers\\deep"), 0);
  EXPECT_FALSE(refusal.empty());
  EXPECT_EQ(Read(archive), before);
}
