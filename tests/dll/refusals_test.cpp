// What the library refuses, and says why: changing a read-only archive,
// writing over an unrelated program beside the archive, and an archive that
// another program holds open.
#include "tests/dll/unlha_fixture.h"

namespace {

TEST_F(UnlhaTest, RefusesAndSaysWhy) {
  Write("a.txt", "a");
  Write("b.txt", "b");
  std::string archive = Path("r.lzh");
  ASSERT_EQ(Run("u -n " + archive + "  " + Path("a.txt")), 0);
  std::string before = Read(archive);

  // A read-only archive stays as it is, read-only, for every changing command.
  SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_READONLY);
  for (const std::string& line : {"u -n " + archive + "  " + Path("b.txt"), "m -n " + archive + "  " + Path("b.txt"),
                                  "d -p " + archive + " a.txt"}) {
    EXPECT_NE(Run(line), 0) << line;
    EXPECT_TRUE(Read(archive) == before) << line;
    EXPECT_EQ(GetFileAttributesA(archive.c_str()) & FILE_ATTRIBUTE_READONLY, (DWORD)FILE_ATTRIBUTE_READONLY) << line;
    std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 1u) << line;
    EXPECT_NE(boxes[0].find("読み取り専用"), std::string::npos) << boxes[0];
  }
  EXPECT_TRUE(Exists(Path("b.txt")));
  SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_NORMAL);

  // An archive another program holds open is in use, not missing.
  HANDLE held = CreateFileA(archive.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  for (const std::string& line : {"u -n " + archive + "  " + Path("b.txt"), "l " + archive}) {
    EXPECT_NE(Run(line), 0) << line;
    std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 1u) << line;
    EXPECT_NE(boxes[0].find("使用中"), std::string::npos) << boxes[0];
  }
  CloseHandle(held);

  // "s" leaves an unrelated r.exe alone unless told to replace it.
  Write("r.exe", "someone else's program");
  EXPECT_NE(Run("s -gw1 " + archive + " "), 0);
  EXPECT_EQ(Read(Path("r.exe")), "someone else's program");
  std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("r.exe"), std::string::npos) << boxes[0];
  EXPECT_EQ(Run("s -gw1 -o " + archive + " "), 0);
  EXPECT_NE(Read(Path("r.exe")), "someone else's program");
  EXPECT_TRUE(BoxTexts().empty());
}

}  // namespace
