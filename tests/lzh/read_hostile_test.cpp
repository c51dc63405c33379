// Entries whose declared original size is far larger than their compressed
// data can hold: every decoder must stop with an error soon after its input
// runs out instead of inventing gigabytes of output from padding.
#include <gtest/gtest.h>

#include <cstring>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/header_writer.h"
#include "archiver/lzh/io.h"
#include "archiver/lzh/reader.h"
#include "tests/lzh/read_support.h"

namespace {

// Counts what it is given and refuses more than `limit` bytes.
class CountingSink : public lzh::ByteSink {
 public:
  explicit CountingSink(uint64_t limit) : limit_(limit) {}
  bool Write(const uint8_t*, size_t size) override {
    written += size;
    return written <= limit_;
  }
  uint64_t written = 0;

 private:
  uint64_t limit_;
};

std::string OneEntry(const char* method, const std::string& packed) {
  lzh::Header header;
  memcpy(header.method, method, 6);
  header.path = "big.bin";
  header.compressed_size = packed.size();
  header.original_size = 0xFFFFFFFFu;
  header.has_crc = true;
  std::string out;
  EXPECT_EQ(lzh::SerializeHeader(header, &out), lzh::WriteStatus::kOk);
  return out + packed + std::string(1, '\0');
}

TEST(HostileSizes, DecodersStopWhenTheirInputRunsOut) {
  const uint64_t kLimit = 64u << 20;
  std::string random(256, '\0');
  uint32_t seed = 7;
  for (char& c : random) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  for (const char* method : {"-lh1-", "-lh3-", "-lh4-", "-lh5-", "-lh6-", "-lh7-", "-lhx-", "-lzs-", "-lz5-", "-pm1-",
                             "-pm2-"}) {
    for (const std::string& packed : {std::string(256, '\0'), std::string(256, '\xFF'), random}) {
      std::string archive = OneEntry(method, packed);
      lzh::MemorySource source(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
      lzh::ArchiveReader reader(&source);
      lzh::Header header;
      ASSERT_EQ(reader.Next(&header), lzh::Error::kOk) << method;
      CountingSink sink(kLimit);
      lzh::Error error = reader.Extract(header, &sink);
      EXPECT_NE(error, lzh::Error::kOk) << method;
      EXPECT_NE(error, lzh::Error::kWriteError) << method << " wrote " << sink.written << " bytes from "
                                                 << static_cast<int>(static_cast<uint8_t>(packed[0]));
    }
  }
}

#ifdef LZHTOOL_PATH
// The command-line tool's extraction: a link already in the destination is
// not written or created through, and a damaged entry leaves the file it
// would have replaced as it was.
TEST(HostileTool, ExtractionKeepsToTheDestination) {
  lzhtest::ScratchDir scratch;
  std::string dest = scratch / "dest", outside = scratch / "outside";
  ASSERT_EQ(lzhtest::Run("mkdir '" + dest + "' '" + outside + "' && ln -s '" + outside + "' '" + dest + "/link'"), 0);
  ASSERT_TRUE(lzhtest::WriteFile(dest + "/kept.txt", "good old data"));

  std::string stored = "fine";
  lzh::Header header;
  header.path = "link/x.txt";
  header.compressed_size = header.original_size = stored.size();
  header.has_crc = true;
  header.crc = lzh::Crc16(reinterpret_cast<const uint8_t*>(stored.data()), stored.size());
  std::string archive;
  ASSERT_EQ(lzh::SerializeHeader(header, &archive), lzh::WriteStatus::kOk);
  archive += stored;
  header.path = "link/sub/";
  memcpy(header.method, "-lhd-", 6);
  header.compressed_size = header.original_size = 0;
  ASSERT_EQ(lzh::SerializeHeader(header, &archive), lzh::WriteStatus::kOk);
  memcpy(header.method, "-lh0-", 6);
  header.path = "kept.txt";
  header.compressed_size = header.original_size = stored.size();
  header.crc ^= 1;  // the data no longer matches
  ASSERT_EQ(lzh::SerializeHeader(header, &archive), lzh::WriteStatus::kOk);
  archive += stored;
  lzh::Header link;  // a Unix link entry is never made
  memcpy(link.method, "-lhd-", 6);
  link.path = "ln";
  link.is_link = true;
  link.link_target = "../outside";
  ASSERT_EQ(lzh::SerializeHeader(link, &archive), lzh::WriteStatus::kOk);
  archive.push_back('\0');
  ASSERT_TRUE(lzhtest::WriteFile(scratch / "a.lzh", archive));

  EXPECT_NE(lzhtest::Run(std::string(LZHTOOL_PATH) + " x '" + scratch / "a.lzh" + "' '" + dest + "' 2>/dev/null"), 0);
  EXPECT_NE(access((outside + "/x.txt").c_str(), F_OK), 0);
  EXPECT_NE(access((outside + "/sub").c_str(), F_OK), 0);
  EXPECT_EQ(lzhtest::ReadFile(dest + "/kept.txt"), "good old data");
  std::string left;
  lzhtest::Run("ls '" + dest + "'", &left);
  EXPECT_EQ(left, "kept.txt\nlink\n");
}

// A destination that does not exist yet is made, parents and all.
TEST(HostileTool, ExtractionMakesItsDestination) {
  lzhtest::ScratchDir scratch;
  std::string stored = "made";
  lzh::Header header;
  header.path = "a.txt";
  header.compressed_size = header.original_size = stored.size();
  header.has_crc = true;
  header.crc = lzh::Crc16(reinterpret_cast<const uint8_t*>(stored.data()), stored.size());
  std::string archive;
  ASSERT_EQ(lzh::SerializeHeader(header, &archive), lzh::WriteStatus::kOk);
  archive += stored;
  archive.push_back('\0');
  ASSERT_TRUE(lzhtest::WriteFile(scratch / "a.lzh", archive));
  std::string dest = scratch / "new/deeper";
  EXPECT_EQ(lzhtest::Run(std::string(LZHTOOL_PATH) + " x '" + scratch / "a.lzh" + "' '" + dest + "'"), 0);
  EXPECT_EQ(lzhtest::ReadFile(dest + "/a.txt"), "made");
}

// Entries deep in one folder: the folders are probed and made once, not once
// per entry (counted in system calls); a folder entry whose name an existing
// file holds is reported.
TEST(HostileTool, DeepFoldersAreMadeOnceAndClashesAreReported) {
  if (!lzhtest::HaveTool("strace")) GTEST_SKIP() << "strace is needed to count system calls";
  lzhtest::ScratchDir scratch;
  std::string dest = scratch / "dest";
  ASSERT_EQ(mkdir(dest.c_str(), 0777), 0);
  ASSERT_TRUE(lzhtest::WriteFile(dest + "/clash", "a file"));
  const int kDepth = 1000, kEntries = 40;
  std::string deep;
  for (int i = 0; i < kDepth; ++i) deep += "d/";
  std::string archive;
  lzh::Header header;
  for (int i = 0; i < kEntries; ++i) {
    header.path = deep + "f" + std::to_string(i);
    ASSERT_EQ(lzh::SerializeHeader(header, &archive), lzh::WriteStatus::kOk);
  }
  header.path = "clash/";
  memcpy(header.method, "-lhd-", 6);
  ASSERT_EQ(lzh::SerializeHeader(header, &archive), lzh::WriteStatus::kOk);
  archive.push_back('\0');
  ASSERT_TRUE(lzhtest::WriteFile(scratch / "deep.lzh", archive));

  std::string errors;
  EXPECT_NE(lzhtest::Run("strace -f -c -o '" + scratch / "calls" + "' -e trace=mkdir,mkdirat,lstat,stat,newfstatat,statx " +
                             LZHTOOL_PATH + " x '" + scratch / "deep.lzh" + "' '" + dest + "' 2>&1",
                         &errors),
            0);
  EXPECT_NE(errors.find("clash/: a file is in the way"), std::string::npos) << errors;
  EXPECT_EQ(lzhtest::ReadFile(dest + "/clash"), "a file");
  EXPECT_EQ(access((dest + "/" + deep + "f" + std::to_string(kEntries - 1)).c_str(), F_OK), 0);
  std::string calls;
  lzhtest::Run("awk '/total$/ {print $4}' '" + scratch / "calls" + "'", &calls);
  ASSERT_FALSE(calls.empty());
  EXPECT_LT(std::stoi(calls), 3 * kDepth + 10 * kEntries);
}
#endif

}  // namespace
