// u compresses on several threads (UNLHA32_THREADS chooses how many): the
// archive is byte for byte the same for 1, 2 and 8 threads, a failing file
// with 8 threads leaves the archive as it was, and Cancel still works.
#include <thread>

#include "tests/dll/unlha_fixture.h"

namespace {

// Bytes drawn from `alphabet` symbols: compressible to about log2(alphabet)/8.
std::string Noise(size_t size, unsigned seed, unsigned alphabet) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = (char)('A' + (seed >> 16) % alphabet);
  }
  return bytes;
}

std::string Lines(size_t size, unsigned seed) {
  std::string text;
  while (text.size() < size) text += "line " + std::to_string(seed++ % 977) + " of the folder\r\n";
  return text.substr(0, size);
}

class ThreadsTest : public UnlhaTest {
 protected:
  void TearDown() override {
    SetEnvironmentVariableA("UNLHA32_THREADS", nullptr);
    UnlhaTest::TearDown();
  }
  int RunWithThreads(int threads, const std::string& line) {
    SetEnvironmentVariableA("UNLHA32_THREADS", std::to_string(threads).c_str());
    return Run(line);
  }
  // Two hundred files of every kind, one compressing to more than the
  // library keeps in memory for a waiting file.
  void MakeFolder() {
    for (unsigned i = 0; i < 200; i++) {
      std::string name = "src\\d" + std::to_string(i % 5) + "\\f" + std::to_string(1000 + i) + ".dat";
      switch (i % 5) {
        case 0: Write(name, ""); break;
        case 1: Write(name, Lines(1 + i * 7, i)); break;
        case 2: Write(name, Lines(20000 + i * 31, i)); break;
        case 3: Write(name, Noise(3000 + i, i, 256)); break;  // stored
        case 4: Write(name, Noise(10000, i, 4)); break;
      }
    }
    Write("src\\d2\\large.bin", Noise(10 << 20, 5, 24));
    CreateDirectoryA(Path("work").c_str(), nullptr);
  }
  // Reading a file moves its last-access time, which the archive records:
  // every run starts from the same times.
  void SettleAccessTimes() {
    std::vector<std::string> paths = FilesBelow(Path("src\\"));
    for (unsigned d = 0; d < 5; d++) paths.push_back("d" + std::to_string(d));
    for (const std::string& path : paths) {
      HANDLE file = CreateFileA(Path("src\\" + path).c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                nullptr);
      ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
      FILETIME accessed = {0x12345678, 0x01D70000};
      SetFileTime(file, nullptr, &accessed, nullptr);
      CloseHandle(file);
    }
  }
};

TEST_F(ThreadsTest, ArchivesAreTheSameOnEveryThreadCount) {
  MakeFolder();
  std::string first;
  for (int threads : {1, 2, 8}) {
    SCOPED_TRACE(threads);
    SettleAccessTimes();
    std::string archive = Path("t" + std::to_string(threads) + ".lzh");
    ASSERT_EQ(RunWithThreads(threads, "u -r -w" + Path("work") + " " + archive + " " + Path("src\\*.*")), 0);
    if (threads == 1) first = Read(archive);
    EXPECT_TRUE(Read(archive) == first);
    EXPECT_TRUE(FilesBelow(Path("work\\")).empty());  // no work or scratch file left
  }
  ASSERT_EQ(Run("x -r " + Path("t8.lzh") + " " + Path("out\\")), 0);
  std::vector<std::string> files = FilesBelow(Path("src\\"));
  ASSERT_EQ(files.size(), 201u);
  EXPECT_EQ(FilesBelow(Path("out\\")), files);
  for (const std::string& file : files) EXPECT_TRUE(Read(Path("out\\" + file)) == Read(Path("src\\" + file))) << file;
  EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(ThreadsTest, AFailingFileLeavesTheArchiveAsItWas) {
  MakeFolder();
  Write("keep.txt", Lines(4000, 1));
  std::string archive = Path("a.lzh");
  ASSERT_EQ(Run("u -n -w" + Path("work") + " " + archive + "  " + Path("keep.txt")), 0);
  std::string before = Read(archive);
  HANDLE lock = CreateFileA(Path("src\\d2\\f1102.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  int result = RunWithThreads(8, "u -r -w" + Path("work") + " " + archive + " " + Path("src\\*.*"));
  CloseHandle(lock);
  EXPECT_GE(result, 0x8000);
  EXPECT_TRUE(Read(archive) == before);
  EXPECT_TRUE(FilesBelow(Path("work\\")).empty());
  std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("f1102.dat"), std::string::npos) << boxes[0];
}

// One large file alone goes in pieces on every thread: the same bytes for 1,
// 2 and 8 threads, and it extracts whole.
TEST_F(ThreadsTest, OneLargeFileIsTheSameOnEveryThreadCount) {
  std::string data = Lines(1 << 20, 3) + Noise(1 << 20, 9, 40) + Lines((1 << 20) + 77, 5);
  Write("one\\large.txt", data);
  std::string first;
  for (int threads : {1, 2, 8}) {
    SCOPED_TRACE(threads);
    HANDLE file = CreateFileA(Path("one\\large.txt").c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    FILETIME accessed = {0x12345678, 0x01D70000};
    SetFileTime(file, nullptr, &accessed, nullptr);
    CloseHandle(file);
    std::string archive = Path("one" + std::to_string(threads) + ".lzh");
    ASSERT_EQ(RunWithThreads(threads, "u -n " + archive + "  " + Path("one\\large.txt")), 0);
    if (threads == 1) first = Read(archive);
    EXPECT_TRUE(Read(archive) == first);
  }
  ASSERT_EQ(Run("e " + Path("one8.lzh") + " " + Path("out\\")), 0);
  EXPECT_TRUE(Read(Path("out\\large.txt")) == data);
}

// Cancel in the progress window stops the workers too; nothing is left
// behind.
TEST_F(ThreadsTest, CancelStopsEveryThread) {
  for (int i = 0; i < 8; i++) Write("big\\b" + std::to_string(i) + ".bin", Noise(4 << 20, i, 256));
  CreateDirectoryA(Path("work").c_str(), nullptr);
  std::string archive = Path("c.lzh");
  Write("small.txt", "small");
  ASSERT_EQ(Run("u -n " + archive + "  " + Path("small.txt")), 0);
  std::string before = Read(archive);
  std::thread canceller([&] {
    WaitFor([&] {
      HWND window = FindWindowA("Unlha32Progress", nullptr);
      if (!window || !IsWindowVisible(window)) return false;
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      return true;
    }, 60000);
  });
  int result = RunWithThreads(8, "u -r -w" + Path("work") + " " + archive + " " + Path("big\\*.*"));
  canceller.join();
  EXPECT_EQ(result, 0x8020);
  EXPECT_TRUE(Read(archive) == before);
  EXPECT_TRUE(FilesBelow(Path("work\\")).empty());
  EXPECT_EQ(boxes_.Count(), 0u);
}

}  // namespace
