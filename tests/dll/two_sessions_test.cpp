// Two sessions (two Wine prefixes, so two wine servers that share no mutex
// or share mode) move files into one archive at the same time: every file
// ends up in the archive or still on disk, and a session that did not get
// its files in says so.
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "tests/dll/unlha_fixture.h"

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

std::string Environment(const char* name) {
  char value[1024];
  DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length && length < sizeof value ? std::string(value, length) : std::string();
}

class TwoSessions : public UnlhaTest {
 protected:
  // The same place through drive Z:, which both prefixes map to the Linux root.
  std::string ThroughZ(const std::string& path) {
    std::string z = "Z:" + UnixPath(path);
    for (char& c : z)
      if (c == '/') c = '\\';
    return z;
  }
};

// Run in the second prefix by the test below: one command line, its result
// written to a file.
TEST_F(TwoSessions, OtherSession) {
  std::string line = Environment("UNLHA_OTHER_LINE");
  if (line.empty()) GTEST_SKIP() << "runs only as the other session";
  int result = Run(line);
  HANDLE file = CreateFileA(Environment("UNLHA_OTHER_RESULT").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                            nullptr);
  std::string text = std::to_string(result);
  DWORD written = 0;
  WriteFile(file, text.data(), (DWORD)text.size(), &written, nullptr);
  CloseHandle(file);
}

TEST_F(TwoSessions, TheSecondWriterNeverSilentlyWins) {
  std::string prefix = Environment("WINEPREFIX");
  if (prefix.empty()) GTEST_SKIP() << "needs Wine";
  // A second prefix beside ours, hard-linked from it: Wine writes its
  // registry files anew, so ours is never changed through the links.
  std::string second = prefix + "_second_" + std::to_string(GetCurrentProcessId());
  ASSERT_EQ(RunUnix("rm -rf " + second + " && cp -al '" + prefix + "' " + second), 0);
  struct AtEnd {
    std::function<void()> run;
    ~AtEnd() { run(); }
  } remove_second{[&] { RunUnix("WINEPREFIX=" + second + " wineserver -k; rm -rf " + second); }};

  CreateDirectoryA(Path("work1").c_str(), nullptr);
  CreateDirectoryA(Path("work2").c_str(), nullptr);
  Write("seed.txt", "seed");
  Write("big.bin", Bytes(24 << 20, 1));
  Write("small.txt", "small");
  std::string archive = Path("shared.lzh");
  ASSERT_EQ(Run("u -n " + archive + "  " + Path("seed.txt")), 0);

  // The other session moves a large file; while it writes, this one moves a
  // small one.
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string result_file = Path("other_result.txt");
  std::string line = "m -n -w" + ThroughZ(Path("work2")) + " " + ThroughZ(archive) + "  " + ThroughZ(Path("big.bin"));
  std::string command = "WINEPREFIX=" + second + " UNLHA_OTHER_LINE='" + line + "' UNLHA_OTHER_RESULT='" +
                        ThroughZ(result_file) + "' wine '" + UnixPath(exe) + "' --gtest_filter=TwoSessions.OtherSession";
  std::string shell = "/bin/sh -c \"" + command + " >/dev/null 2>&1 &\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  ASSERT_TRUE(CreateProcessA(nullptr, &shell[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  ASSERT_TRUE(WaitFor([&] { return !FilesBelow(Path("work2\\")).empty() || Exists(result_file); }, 120000));
  int mine = Run("m -n -w" + Path("work1") + " " + archive + "  " + Path("small.txt"));
  ASSERT_TRUE(WaitFor([&] { return Exists(result_file) && !Read(result_file).empty(); }, 300000));
  int other = atoi(Read(result_file).c_str());

  std::vector<std::string> names = Names(archive);
  auto kept = [&](const char* name) { return Contains(names, name) || Exists(Path(name)); };
  EXPECT_TRUE(kept("small.txt")) << ::testing::PrintToString(names);
  EXPECT_TRUE(kept("big.bin")) << ::testing::PrintToString(names);
  EXPECT_TRUE(Contains(names, "seed.txt"));
  // Whoever lost says so, and keeps its file.
  EXPECT_TRUE(mine == 0 || Exists(Path("small.txt"))) << mine;
  EXPECT_TRUE(other == 0 || Exists(Path("big.bin"))) << other;
  EXPECT_EQ(Contains(names, "small.txt"), mine == 0);
  EXPECT_EQ(Contains(names, "big.bin"), other == 0);
  std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), mine == 0 ? 0u : 1u);
  if (mine) EXPECT_NE(boxes[0].find("shared.lzh"), std::string::npos) << boxes[0];
}

}  // namespace
