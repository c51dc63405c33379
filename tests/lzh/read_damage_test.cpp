// Damaged, cut and disguised archives: a clean error every time, never a
// crash, a hang or a wrong file reported as good; archives behind a
// self-extracting stub are found.
#include <gtest/gtest.h>

#include "read_support.h"

namespace {

using lzhtest::ReadAll;
using lzhtest::ReadEntry;

class SmallArchives : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!lzhtest::HaveTool("jlha")) return;
    dir_ = new lzhtest::ScratchDir;
    originals_ = new std::vector<std::string>{lzhtest::MakeText(5000, 7), lzhtest::MakeBinary(3000, 8, 70), "x"};
    lzhtest::WriteFile(*dir_ / "a.txt", (*originals_)[0]);
    lzhtest::WriteFile(*dir_ / "b.bin", (*originals_)[1]);
    lzhtest::WriteFile(*dir_ / "c", (*originals_)[2]);
    archives_ = new std::vector<std::string>;
    for (const char* switches : {"a2o5", "a1o7", "a0o6"}) {
      std::string name = *dir_ / (std::string(switches) + ".lzh");
      lzhtest::Run("cd '" + dir_->path() + "' && jlha " + switches + " '" + name + "' a.txt b.bin c >/dev/null 2>&1");
      archives_->push_back(lzhtest::ReadFile(name));
    }
  }
  static void TearDownTestSuite() {
    delete dir_;
    delete originals_;
    delete archives_;
    dir_ = nullptr;
  }
  void SetUp() override {
    if (!dir_) GTEST_SKIP() << "jlha is not installed";
    for (const std::string& a : *archives_) ASSERT_GT(a.size(), 100u);
  }

  // True when the walk read every entry correctly (data equal to the
  // originals), false when something reported an error; a walk that reports
  // success with wrong data fails the test.
  static bool CheckHonest(const std::string& bytes) {
    lzh::Error end;
    std::vector<ReadEntry> entries = ReadAll(bytes, &end);
    bool all_ok = end == lzh::Error::kEndOfArchive && entries.size() == originals_->size();
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].error != lzh::Error::kOk) {
        all_ok = false;
        continue;
      }
      // An entry that extracted without error must be right, whatever
      // happened elsewhere in the archive.
      static const char* const kNames[] = {"a.txt", "b.bin", "c"};
      size_t k = 0;
      while (k < 3 && entries[i].header.path != kNames[k]) ++k;
      if (k == 3) {
        all_ok = false;  // a damaged name; its data is checked by the CRC alone
        continue;
      }
      EXPECT_TRUE(entries[i].data == (*originals_)[k]) << entries[i].header.path;
    }
    return all_ok;
  }

  static lzhtest::ScratchDir* dir_;
  static std::vector<std::string>* originals_;
  static std::vector<std::string>* archives_;
};

lzhtest::ScratchDir* SmallArchives::dir_ = nullptr;
std::vector<std::string>* SmallArchives::originals_ = nullptr;
std::vector<std::string>* SmallArchives::archives_ = nullptr;

TEST_F(SmallArchives, IntactArchivesReadCompletely) {
  for (const std::string& a : *archives_) EXPECT_TRUE(CheckHonest(a));
}

TEST_F(SmallArchives, CutAtEveryByteFailsCleanly) {
  for (const std::string& a : *archives_) {
    // Without its final end marker an archive is still complete.
    for (size_t cut = 0; cut + 1 < a.size(); ++cut) {
      SCOPED_TRACE(cut);
      EXPECT_FALSE(CheckHonest(a.substr(0, cut)));
      if (HasFailure()) return;
    }
  }
}

TEST_F(SmallArchives, FlippedBitsNeverPassAsGood) {
  for (const std::string& a : *archives_) {
    for (size_t at = 0; at < a.size(); ++at) {
      SCOPED_TRACE(at);
      std::string bad = a;
      bad[at] = static_cast<char>(bad[at] ^ (1 << (at % 8)));
      // A flip may land in a field nothing checks (a time stamp, the OS id
      // of a level 0/1 header); then the data must still be right.
      CheckHonest(bad);
      if (HasFailure()) return;
    }
  }
}

TEST_F(SmallArchives, HugeDeclaredSizesFailWithoutRunningAway) {
  // Level 0: only the checksum guards the sizes (level 1 from jlha also
  // carries a header CRC).
  const std::string& level0 = (*archives_)[2];  // a0o6
  ASSERT_EQ(level0[20], 0);
  auto fix_checksum = [](std::string* s) {
    uint8_t sum = 0;
    for (size_t i = 2; i < 2u + static_cast<uint8_t>((*s)[0]); ++i) sum = static_cast<uint8_t>(sum + (*s)[i]);
    (*s)[1] = static_cast<char>(sum);
  };
  // Original size 4 GiB - 1 of a stream that holds 5000 bytes.
  std::string bad = level0;
  for (int i = 11; i < 15; ++i) bad[i] = '\xFF';
  fix_checksum(&bad);
  lzh::Error end;
  std::vector<ReadEntry> entries = ReadAll(bad, &end);
  ASSERT_FALSE(entries.empty());
  EXPECT_NE(entries[0].error, lzh::Error::kOk);
  EXPECT_LT(entries[0].data.size(), 64u << 20);
  // Compressed size past the end of the file.
  bad = level0;
  for (int i = 7; i < 11; ++i) bad[i] = '\x7F';
  fix_checksum(&bad);
  entries = ReadAll(bad, &end);
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(end, lzh::Error::kTruncated);
}

TEST_F(SmallArchives, ProgressCanCancel) {
  const std::string& a = (*archives_)[0];
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(a.data()), a.size());
  lzh::ArchiveReader reader(&source);
  lzh::Header h;
  ASSERT_EQ(reader.Next(&h), lzh::Error::kOk);
  int calls = 0;
  EXPECT_EQ(reader.Extract(h, nullptr, [&](uint64_t done, uint64_t total) {
              EXPECT_LE(done, total);
              ++calls;
              return false;
            }),
            lzh::Error::kCancelled);
  EXPECT_EQ(calls, 1);
}

// Random bytes, with things in them that look like the start of a header.
std::string MakeStub(size_t size) {
  std::string stub = lzhtest::MakeBinary(size, 99, 0);
  for (size_t at = 1000; at + 64 < size; at += 3001) {
    memcpy(&stub[at], "-lh5-", 5);
    stub[at + 18] = static_cast<char>(at % 3);  // a plausible level byte
  }
  return stub;
}

TEST_F(SmallArchives, ArchiveBehindAStubIsFound) {
  for (size_t stub_size : {size_t{1}, size_t{40000}, size_t{200000}}) {
    SCOPED_TRACE(stub_size);
    std::string bytes = MakeStub(stub_size) + (*archives_)[0];
    lzh::MemorySource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    lzh::ArchiveReader reader(&source);
    ASSERT_EQ(reader.Open(), lzh::Error::kOk);
    EXPECT_EQ(reader.archive_offset(), stub_size);
    EXPECT_TRUE(CheckHonest(bytes));
  }
}

TEST(NotArchives, RandomAndEmptyInputAreNotArchives) {
  for (const std::string& bytes : {std::string(), MakeStub(100000), std::string(5000, '\0')}) {
    lzh::MemorySource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    lzh::ArchiveReader reader(&source);
    EXPECT_EQ(reader.Open(), lzh::Error::kNotArchive);
    lzh::Header h;
    EXPECT_EQ(reader.Next(&h), lzh::Error::kNotArchive);
  }
  // A level 2 header whose size field says 0 (pointing at itself).
  std::string self(40, '\0');
  memcpy(&self[2], "-lh5-", 5);
  self[20] = 2;
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(self.data()), self.size());
  lzh::Header h;
  lzh::ArchiveReader reader(&source);
  EXPECT_EQ(reader.Next(&h), lzh::Error::kBadHeader);
}

}  // namespace
