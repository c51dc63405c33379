// m deletes only what went into the archive: never the archive itself,
// however it is spelled; nothing a link inside the folder leads to; no file
// that changed after it was read.
#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include "tests/dll/unlha_fixture.h"

namespace {

class MoveTest : public UnlhaTest {
 protected:
  void SetUp() override {
    UnlhaTest::SetUp();
    CreateDirectoryA(Path("work").c_str(), nullptr);
  }
  // Links go before the fixture removes the folder, which would follow them.
  void TearDown() override {
    if (!links_.empty()) RunUnix("rm -f" + links_);
    UnlhaTest::TearDown();
  }
  // A Linux symbolic link at `link` (a path below the scratch folder) whose
  // text is `target`.
  void Link(const std::string& target, const std::string& link) {
    std::string unix_link = UnixPath(Path(link));
    EXPECT_EQ(RunUnix("ln -s '" + target + "' '" + unix_link + "'"), 0) << link;
    links_ += " '" + unix_link + "'";
  }
  // The same place reached through drive Z:, which maps the Linux root.
  std::string ThroughZ(const std::string& path) {
    std::string z = "Z:" + UnixPath(path);
    for (char& c : z)
      if (c == '/') c = '\\';
    return z;
  }
  int Move(const std::string& switches, const std::string& archive, const std::string& names) {
    return Run("m " + switches + " -w" + Path("work") + " " + archive + "  " + names);
  }

  std::string links_;
};

TEST_F(MoveTest, TheArchiveSurvivesAMoveUnderAnySpelling) {
  const char* cases[] = {"drive Z: against C:", "C: against drive Z:", "a link to the folder",
                         "the folder through a link", "the short name"};
  for (size_t i = 0; i < 5; ++i) {
    std::string folder = "case" + std::to_string(i);
    std::string archive = Path(folder + "\\the archive.lzh");
    Write(folder + "\\a.txt", "a");
    Write("before" + std::to_string(i) + ".txt", "before");
    ASSERT_EQ(Run("u -n " + archive + "  " + Path("before" + std::to_string(i) + ".txt")), 0);
    std::string spelled = archive, folder_spelled = Path(folder);
    char short_name[MAX_PATH] = "";
    switch (i) {
      case 0: spelled = ThroughZ(archive); break;
      case 1: folder_spelled = ThroughZ(Path(folder)); break;
      case 2:
        Link(UnixPath(Path(folder)), "alias");
        spelled = Path("alias\\the archive.lzh");
        break;
      case 3:
        Link(UnixPath(Path(folder)), "alias3");
        folder_spelled = Path("alias3");
        break;
      case 4:
        GetShortPathNameA(archive.c_str(), short_name, MAX_PATH);
        spelled = short_name;
        break;
    }
    ASSERT_TRUE(spelled != archive || folder_spelled != Path(folder)) << cases[i];
    EXPECT_EQ(Move("-r", spelled, folder_spelled + "\\*.*"), 0) << cases[i];
    EXPECT_EQ(Names(archive), (std::vector<std::string>{"before" + std::to_string(i) + ".txt", "a.txt"}))
        << cases[i];
    EXPECT_FALSE(Exists(Path(folder + "\\a.txt"))) << cases[i];
    // Named alone, under another spelling, it is not taken either.
    Write(folder + "\\b.txt", "b");
    EXPECT_EQ(Move("-n", archive, folder_spelled + "\\the archive.lzh " + Path(folder + "\\b.txt")), 0)
        << cases[i];
    EXPECT_TRUE(Exists(archive)) << cases[i];
    EXPECT_EQ(Names(archive).size(), 3u) << cases[i];
    EXPECT_TRUE(BoxTexts().empty()) << cases[i];
  }
  EXPECT_TRUE(FilesBelow(Path("work\\")).empty());
}

// Links inside the folder (to a folder outside, to a file outside, back up
// the tree) are neither stored nor followed by m -r; each is named in the
// report, and what they lead to stays as it was.
TEST_F(MoveTest, MoveStaysInsideTheNamedFolder) {
  Write("tree\\x.txt", "x");
  Write("tree\\sub\\y.txt", "y");
  Write("outside\\keep.txt", "keep");
  Write("outside\\deep\\k.txt", "k");
  Link(UnixPath(Path("outside")), "tree\\ext");
  Link("../../outside/keep.txt", "tree\\sub\\file.txt");
  Link("..", "tree\\sub\\up");
  std::string archive = Path("t.lzh");
  EXPECT_NE(Move("-r", archive, Path("tree\\*.*")), 0);
  std::vector<std::string> names = Names(archive);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"sub\\", "sub\\y.txt", "x.txt"}));
  EXPECT_EQ(FilesBelow(Path("outside\\")), (std::vector<std::string>{"deep\\k.txt", "keep.txt"}));
  EXPECT_FALSE(Exists(Path("tree\\x.txt")));
  EXPECT_FALSE(Exists(Path("tree\\sub\\y.txt")));
  std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  for (const char* link : {"ext", "file.txt", "up"}) EXPECT_NE(boxes[0].find(link), std::string::npos) << boxes[0];
}

// A line appended to a log while it is being moved: the file is kept with
// every line, the archive holds what was read, and the report says so.
TEST_F(MoveTest, AFileThatChangedIsKept) {
  std::string log = Bytes(200000, 7);
  Write("log.txt", log);
  Write("big.bin", Bytes(8 << 20, 8));
  SetEnvironmentVariableA("UNLHA32_THREADS", "1");
  std::atomic<bool> appended(false);
  std::thread appender([&] {
    // The work file passes the log's size once the log has been read.
    WaitFor(
        [&] {
          for (const std::string& name : FilesBelow(Path("work\\"))) {
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (GetFileAttributesExA(Path("work\\" + name).c_str(), GetFileExInfoStandard, &data) &&
                data.nFileSizeLow > log.size())
              return true;
          }
          return false;
        },
        60000);
    WaitFor(
        [&] {
          HANDLE file = CreateFileA(Path("log.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
          if (file == INVALID_HANDLE_VALUE) return false;
          DWORD written = 0;
          WriteFile(file, "late line\r\n", 11, &written, nullptr);
          CloseHandle(file);
          return true;
        },
        60000);
    appended = true;
  });
  std::string archive = Path("log.lzh");
  int result = Move("-n", archive, Path("log.txt") + " " + Path("big.bin"));
  appender.join();
  SetEnvironmentVariableA("UNLHA32_THREADS", nullptr);
  ASSERT_TRUE(appended);
  EXPECT_NE(result, 0);
  EXPECT_TRUE(Read(Path("log.txt")) == log + "late line\r\n");
  EXPECT_FALSE(Exists(Path("big.bin")));
  ASSERT_EQ(Run("e -p  " + archive + " " + Path("check\\") + " log.txt"), 0);
  EXPECT_TRUE(Read(Path("check\\log.txt")) == log);
  std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("log.txt"), std::string::npos) << boxes[0];
}

}  // namespace
