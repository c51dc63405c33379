// Archives we write must list and extract byte-exact with the other LZH
// tools on this machine (each test skips a tool that is not installed).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "archiver/lzh/archive_writer.h"
#include "tests/lzh/read_support.h"

namespace {

struct File {
  std::string stored;  // CP932 bytes, '/' between components
  std::string utf8;    // the same name as tools that decode CP932 write it
  std::string data;
};

// "サブ/表.txt": the second byte of 表 is 0x5C.
const char kCp932Dir[] = "\x83\x54\x83\x75";
const char kCp932Name[] = "\x95\x5c.txt";

std::vector<File> Files() {
  return {
      {"readme.txt", "readme.txt", lzhtest::MakeText(30000, 51)},
      {"bin/noise.bin", "bin/noise.bin", lzhtest::MakeBinary(20000, 52, 0)},
      {"bin/mixed.dat", "bin/mixed.dat", lzhtest::MakeBinary(300000, 53, 60) + lzhtest::MakeText(999, 54)},
      {"empty.txt", "empty.txt", ""},
      // Runs and repeats: the longest matches, at the far end of the window.
      {"runs.bin", "runs.bin",
       std::string(70000, 'r') + lzhtest::MakeBinary(65535, 56, 0) + lzhtest::MakeText(20000, 57) +
           lzhtest::MakeBinary(65535, 56, 0) + std::string(300, 's')},
      // A last block of one match length at one distance, after a block of
      // its own; with too few bits left some readers lose that match.
      {"tail.bin", "tail.bin", lzhtest::MakeBinary(2 * 65535 + 2000, 62, 0) + std::string(302, 's')},
      {std::string(kCp932Dir) + "/" + kCp932Name, "\xe3\x82\xb5\xe3\x83\x96/\xe8\xa1\xa8.txt",
       lzhtest::MakeText(5000, 55)},
  };
}

std::string WriteArchive(const std::string& path, const char* method, uint8_t level,
                         lzh::ParseMode parse = lzh::ParseMode::kLazy) {
  lzh::FileArchiveSink* sink = lzh::FileArchiveSink::Create(path.c_str());
  if (!sink) return "cannot create";
  lzh::WriterOptions options;
  options.method = method;
  options.header_level = level;
  options.parse = parse;
  lzh::ArchiveWriter writer(*sink, options);
  for (const File& f : Files()) {
    lzh::Header h;
    h.path = f.stored;
    h.unix_time = 1600000000;
    h.has_unix_time = true;
    lzh::MemorySource src(reinterpret_cast<const uint8_t*>(f.data.data()), f.data.size());
    if (writer.AddFile(h, src) != lzh::WriteStatus::kOk) return "add failed: " + f.utf8;
  }
  lzh::Header dir;
  dir.path = "emptydir/";
  dir.unix_time = 1600000000;
  dir.has_unix_time = true;
  if (writer.AddDirectory(dir) != lzh::WriteStatus::kOk) return "add dir failed";
  if (writer.Finish() != lzh::WriteStatus::kOk || !sink->Close()) return "finish failed";
  delete sink;
  return "";
}

struct Variant {
  const char* method;
  uint8_t level;
  lzh::ParseMode parse;
};

const lzh::ParseMode kLazy = lzh::ParseMode::kLazy, kOptimal = lzh::ParseMode::kOptimal;
const Variant kVariants[] = {{"-lh5-", 2, kLazy},    {"-lh6-", 2, kLazy},    {"-lh7-", 2, kLazy},
                             {"-lh7-", 1, kLazy},    {"-lh5-", 1, kLazy},    {"-lh6-", 0, kLazy},
                             {"-lh5-", 2, kOptimal}, {"-lh6-", 1, kOptimal}, {"-lh7-", 2, kOptimal}};

// Extracts every variant with `command` (run inside the output folder, %s is
// the archive) and compares each file, CP932 names either as raw bytes or as
// UTF-8.
// CP932 names are checked from header level `cp932_level` on (level 0 joins
// the directory with backslashes, which no tool can tell from a 0x5C byte).
void CheckTool(const std::string& tool, const std::string& command, bool cp932_names_raw,
               int cp932_level) {
  if (!lzhtest::HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
  lzhtest::ScratchDir dir;
  for (const Variant& v : kVariants) {
    std::string variant = v.method + std::to_string(v.level) + (v.parse == kOptimal ? "best" : "");
    SCOPED_TRACE(tool + " " + variant);
    std::string archive = dir / ("a" + variant + ".lzh");
    ASSERT_EQ(WriteArchive(archive, v.method, v.level, v.parse), "");
    std::string out = dir / (tool + variant);
    ASSERT_EQ(lzhtest::Run("mkdir -p '" + out + "'"), 0);
    char line[1024];
    snprintf(line, sizeof line, command.c_str(), archive.c_str());
    std::string log;
    EXPECT_EQ(lzhtest::Run("cd '" + out + "' && " + line + " 2>&1", &log), 0) << log;
    for (const File& f : Files()) {
      bool cp932 = f.stored != f.utf8;
      if (cp932 && v.level < cp932_level) continue;
      std::string name = cp932 && !cp932_names_raw ? f.utf8 : f.stored;
      struct stat st;
      ASSERT_EQ(stat((out + "/" + name).c_str(), &st), 0) << name << "\n" << log;
      EXPECT_TRUE(lzhtest::ReadFile(out + "/" + name) == f.data) << name;
    }
    struct stat st;
    EXPECT_EQ(stat((out + "/emptydir").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
  }
}

// lhasa splits a level-1 base name at a 0x5C byte.
TEST(WritePeers, LhasaExtractsByteExact) { CheckTool("lhasa", "lhasa xq %s", true, 2); }

TEST(WritePeers, UnarExtractsByteExact) { CheckTool("unar", "unar -q -D -e shift_jis %s", false, 1); }

// jlha decodes the names as CP932 with its 'y' option.
TEST(WritePeers, JlhaExtractsByteExact) { CheckTool("jlha", "jlha xqy %s", false, 1); }

// 7-Zip takes every 0x5C byte of a stored name for a separator, so the CP932
// name is checked by the other tools only.
TEST(WritePeers, SevenZipExtractsByteExact) { CheckTool("7zz", "7zz x -y %s >/dev/null", true, 3); }

TEST(WritePeers, ListingsAgree) {
  if (!lzhtest::HaveTool("lhasa") || !lzhtest::HaveTool("lsar")) GTEST_SKIP() << "lhasa or lsar missing";
  lzhtest::ScratchDir dir;
  std::string archive = dir / "l.lzh";
  ASSERT_EQ(WriteArchive(archive, "-lh7-", 2), "");
  std::string listing;
  ASSERT_EQ(lzhtest::Run("lhasa v '" + archive + "'", &listing), 0);
  EXPECT_NE(listing.find("8 files"), std::string::npos) << listing;
  EXPECT_NE(listing.find("-lh0- "), std::string::npos);  // the noise is stored
  EXPECT_NE(listing.find("-lh7- "), std::string::npos);
  ASSERT_EQ(lzhtest::Run("lsar -t '" + archive + "' 2>&1", &listing), 0) << listing;
  ASSERT_EQ(lzhtest::Run("7zz t '" + archive + "' 2>&1", &listing), 0) << listing;
}

}  // namespace
