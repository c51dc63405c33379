// Running out of disk space in the middle of a command: the work folder, the
// archive's own folder or the destination on a file system of 256 KiB. No
// failure may cost the user the archive or leave a partial file behind.
#include <windows.h>

#include <cstdint>
#include <string>

#include "tests/dll/unlha_fixture.h"

namespace {

// Bytes no LZH method can shrink, so sizes on disk are predictable.
std::string Incompressible(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    bytes[i] = static_cast<char>(seed >> 24);
  }
  return bytes;
}

class FullDisk : public UnlhaTest {
 protected:
  void SetUp() override {
    UnlhaTest::SetUp();
    if (HasFatalFailure()) return;
    char unique[64];
    wsprintfA(unique, "/tmp/zuvo_full_disk_%lu", GetCurrentProcessId());
    mount_ = unique;
    if (RunUnix("mkdir -p " + mount_ + " && mount -t tmpfs -o size=256k tmpfs " + mount_) != 0) {
      RunUnix("rmdir " + mount_);
      mount_.clear();
      GTEST_SKIP() << "a small file system cannot be mounted here (mounting needs root)";
    }
    small_ = "Z:";
    for (char c : mount_) small_ += c == '/' ? '\\' : c;
    small_ += '\\';
  }

  void TearDown() override {
    if (!mount_.empty()) RunUnix("umount " + mount_ + " && rmdir " + mount_);
    UnlhaTest::TearDown();
  }

  // The scratch folder as a -w switch wants it, without the last '\'.
  std::string Scratch() const { return root_.substr(0, root_.size() - 1); }

  std::string mount_;  // Linux path of the small file system
  std::string small_;  // the same as a Windows folder, ending in '\'
};

TEST_F(FullDisk, UpdateWithAFullWorkFolderLeavesTheArchive) {
  Write("old.bin", Incompressible(20000, 1));
  Write("big.bin", Incompressible(400000, 2));
  std::string archive = Path("a.lzh");
  ASSERT_EQ(Run("u -n -w" + Scratch() + " " + archive + "  " + Path("old.bin")), 0);
  std::string before = Read(archive);
  BoxTexts();

  std::string work = small_.substr(0, small_.size() - 1);
  EXPECT_GE(Run("u -n -w" + work + " " + archive + "  " + Path("big.bin")), 0x8000);
  EXPECT_EQ(Read(archive), before);
  EXPECT_TRUE(FilesBelow(small_).empty()) << "a partial work file was left behind";
  EXPECT_EQ(BoxTexts().size(), 1u);

  // A move that fails deletes no source.
  EXPECT_NE(Run("m -n -w" + work + " " + archive + "  " + Path("big.bin")), 0);
  EXPECT_TRUE(Exists(Path("big.bin")));
  EXPECT_EQ(Read(archive), before);
  BoxTexts();
}

TEST_F(FullDisk, ArchiveOnAFullDiskIsNeverTruncated) {
  // The archive fills half of the small disk; the new one is built elsewhere
  // and cannot be copied back beside it.
  Write("first.bin", Incompressible(120000, 3));
  Write("second.bin", Incompressible(120000, 4));
  std::string archive = small_ + "a.lzh";
  ASSERT_EQ(Run("u -n -w" + Scratch() + " " + archive + "  " + Path("first.bin")), 0);
  std::string before = Read(archive);
  ASSERT_GT(before.size(), 120000u);
  BoxTexts();

  EXPECT_NE(Run("u -n -w" + Scratch() + " " + archive + "  " + Path("second.bin")), 0);
  EXPECT_EQ(Read(archive), before);
  std::vector<std::string> left = FilesBelow(small_);
  ASSERT_EQ(left.size(), 1u) << "only the archive may be on the small disk";
  EXPECT_EQ(left[0], "a.lzh");
  EXPECT_EQ(BoxTexts().size(), 1u);
}

TEST_F(FullDisk, ExtractionToAFullDiskFailsCleanly) {
  Write("fits.bin", Incompressible(50000, 5));
  Write("huge.bin", Incompressible(300000, 6));
  std::string archive = Path("a.lzh");
  ASSERT_EQ(Run("u -n -w" + Scratch() + " " + archive + "  " + Path("fits.bin") + " " + Path("huge.bin")), 0);
  BoxTexts();

  // A short write is a full disk, whatever error the system last recorded.
  EXPECT_EQ(Run("x -r1xp  " + archive + " " + small_ + " fits.bin huge.bin "), 0x8005);
  EXPECT_EQ(Read(small_ + "fits.bin"), Read(Path("fits.bin")));
  EXPECT_FALSE(Exists(small_ + "huge.bin"));
  EXPECT_EQ(FilesBelow(small_).size(), 1u) << "a partial file was left behind";
  std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("ディスクの空き容量"), std::string::npos) << boxes[0];
}

}  // namespace
