// Archives written by jlha (-lh5-, -lh6-, -lh7-, header levels 0, 1 and 2)
// read back byte-exact, and our listing agrees with lhasa and lsar.
#include <gtest/gtest.h>
#include <strings.h>
#include <sys/stat.h>
#include <utime.h>

#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <sstream>

#include "archiver/lzh/header_reader.h"
#include "read_support.h"

namespace {

using lzhtest::ReadAll;
using lzhtest::ReadEntry;

// File mtime of the source files: old enough for lhasa to show the year.
constexpr time_t kFileTime = 1557126490;  // 2019-05-06 07:08:10 UTC

class JlhaArchives : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!lzhtest::HaveTool("jlha")) return;
    dir_ = new lzhtest::ScratchDir;
    std::string src = *dir_ / "src";
    mkdir(src.c_str(), 0755);
    mkdir((src + "/docs").c_str(), 0755);
    mkdir((src + "/docs/deep").c_str(), 0755);
    files_ = new std::map<std::string, std::string>{
        {"text.txt", lzhtest::MakeText(300000, 1)},
        {"mixed.bin", lzhtest::MakeBinary(400000, 2, 60)},
        {"random.bin", lzhtest::MakeBinary(20000, 3, 0)},
        {"docs/small.txt", "hello\n"},
        {"docs/empty", ""},
        {"docs/deep/long.txt", lzhtest::MakeText(150000, 4) + lzhtest::MakeBinary(150000, 5, 95)},
    };
    for (const auto& f : *files_) {
      lzhtest::WriteFile(src + "/" + f.first, f.second);
      struct utimbuf t = {kFileTime, kFileTime};
      utime((src + "/" + f.first).c_str(), &t);
    }
    for (const char* method : {"5", "6", "7"}) {
      for (const char* level : {"0", "1", "2"}) {
        std::string name = std::string("o") + method + "l" + level + ".lzh";
        std::string cmd = "cd '" + src + "' && TZ=UTC jlha a" + level + "o" + method + " '" + (*dir_ / name) +
                          "' text.txt mixed.bin random.bin docs >/dev/null 2>&1";
        lzhtest::Run(cmd);
        archives_.push_back(name);
      }
    }
  }
  static void TearDownTestSuite() {
    delete dir_;
    delete files_;
    dir_ = nullptr;
    files_ = nullptr;
    archives_.clear();
  }
  void SetUp() override {
    if (!dir_) GTEST_SKIP() << "jlha is not installed";
  }

  static lzhtest::ScratchDir* dir_;
  static std::map<std::string, std::string>* files_;
  static std::vector<std::string> archives_;
};

lzhtest::ScratchDir* JlhaArchives::dir_ = nullptr;
std::map<std::string, std::string>* JlhaArchives::files_ = nullptr;
std::vector<std::string> JlhaArchives::archives_;

TEST_F(JlhaArchives, ExtractByteExact) {
  for (const std::string& name : archives_) {
    SCOPED_TRACE(name);
    std::string bytes = lzhtest::ReadFile(*dir_ / name);
    ASSERT_FALSE(bytes.empty());
    lzh::Error end;
    std::vector<ReadEntry> entries = ReadAll(bytes, &end);
    EXPECT_EQ(end, lzh::Error::kEndOfArchive);
    std::map<std::string, std::string> seen;
    bool saw_dir = false;
    for (const ReadEntry& e : entries) {
      EXPECT_EQ(e.error, lzh::Error::kOk) << e.header.path;
      if (e.header.IsDirectory()) {
        saw_dir |= e.header.path == "docs/" || e.header.path == "docs/deep/";
        continue;
      }
      seen[e.header.path] = e.data;
    }
    EXPECT_TRUE(saw_dir);
    EXPECT_EQ(seen.size(), files_->size());
    for (const auto& f : *files_) {
      auto it = seen.find(f.first);
      ASSERT_NE(it, seen.end()) << f.first;
      EXPECT_TRUE(it->second == f.second) << f.first;
    }
    // The method in the name is the one used for the compressible files.
    char level = name[3];
    char method = name[1];
    for (const ReadEntry& e : entries) {
      EXPECT_EQ(e.header.level, level - '0');
      if (e.header.path == "text.txt") {
        EXPECT_EQ(e.header.method[3], method);
      }
    }
  }
}

// Time shown by the peers: DOS time fields as they stand (they read them as
// local time, and run with TZ=UTC), or the Unix time in UTC.
struct tm PeerTime(const lzh::Header& h) {
  struct tm t = {};
  if (h.level >= 2) {
    time_t u = static_cast<time_t>(h.unix_time);
    gmtime_r(&u, &t);
  } else {
    t.tm_year = static_cast<int>((h.dos_time >> 25) & 0x7F) + 80;
    t.tm_mon = static_cast<int>((h.dos_time >> 21) & 0x0F) - 1;
    t.tm_mday = static_cast<int>((h.dos_time >> 16) & 0x1F);
    t.tm_hour = static_cast<int>((h.dos_time >> 11) & 0x1F);
    t.tm_min = static_cast<int>((h.dos_time >> 5) & 0x3F);
    t.tm_sec = static_cast<int>((h.dos_time & 0x1F) * 2);
  }
  return t;
}

std::vector<lzh::Header> Headers(const std::string& bytes) {
  lzh::Error end;
  std::vector<lzh::Header> out;
  for (const ReadEntry& e : ReadAll(bytes, &end)) out.push_back(e.header);
  return out;
}

TEST_F(JlhaArchives, ListingAgreesWithLsar) {
  if (!lzhtest::HaveTool("lsar")) GTEST_SKIP() << "lsar is not installed";
  for (const std::string& name : archives_) {
    SCOPED_TRACE(name);
    std::vector<lzh::Header> ours = Headers(lzhtest::ReadFile(*dir_ / name));
    std::string listing;
    ASSERT_EQ(lzhtest::Run("TZ=UTC lsar -L '" + (*dir_ / name) + "'", &listing), 0);
    // Blocks of "  Key: value" lines, one block per entry, in archive order.
    std::vector<std::map<std::string, std::string>> theirs;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
      if (line.size() > 2 && line[0] != ' ' && line.back() == ' ' && line[line.size() - 2] == ':') {
        theirs.emplace_back();
      } else if (!theirs.empty() && line.compare(0, 2, "  ") == 0) {
        size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        size_t v = line.find_first_not_of(' ', colon + 1);
        theirs.back()[line.substr(2, colon - 2)] = v == std::string::npos ? "" : line.substr(v);
      }
    }
    ASSERT_EQ(theirs.size(), ours.size());
    for (size_t i = 0; i < ours.size(); ++i) {
      const lzh::Header& h = ours[i];
      auto& t = theirs[i];
      std::string path = h.path;
      if (h.IsDirectory()) path.pop_back();
      EXPECT_EQ(t["Name"], path);
      EXPECT_EQ(t["Compression type"], h.method);
      if (!h.IsDirectory()) {
        std::string bytes = std::to_string(h.original_size) + " bytes";
        const std::string& size = t["Size"];
        bool match = size == bytes || (size.size() > bytes.size() + 2 &&
                                       size.compare(size.size() - bytes.size() - 2, std::string::npos,
                                                    "(" + bytes + ")") == 0);
        EXPECT_TRUE(match) << size;
        EXPECT_EQ(t["Start of data"], std::to_string(h.data_offset));
        EXPECT_EQ(t["Length of data"], std::to_string(h.compressed_size));
        char crc[16];
        snprintf(crc, sizeof crc, "0x%04x", h.crc);
        EXPECT_EQ(t["LHACRC16"], crc);
      }
      struct tm when = PeerTime(h);
      char text[64];
      strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &when);
      EXPECT_EQ(t["Last modified"], text) << path;
    }
  }
}

TEST_F(JlhaArchives, ListingAgreesWithLhasa) {
  if (!lzhtest::HaveTool("lhasa")) GTEST_SKIP() << "lhasa is not installed";
  for (const std::string& name : archives_) {
    SCOPED_TRACE(name);
    std::vector<lzh::Header> ours = Headers(lzhtest::ReadFile(*dir_ / name));
    std::string listing;
    ASSERT_EQ(lzhtest::Run("TZ=UTC lhasa -v '" + (*dir_ / name) + "'", &listing), 0);
    // Rows between the two dashed rules: perms, [uid/gid], packed, size,
    // ratio, method, crc, stamp (3 fields), name.
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(listing);
    std::string line;
    int rules = 0;
    while (std::getline(lines, line)) {
      if (line.compare(0, 10, "----------") == 0) {
        ++rules;
        continue;
      }
      if (rules != 1) continue;
      std::istringstream fields(line);
      std::vector<std::string> row;
      std::string f;
      while (fields >> f) row.push_back(f);
      rows.push_back(row);
    }
    ASSERT_EQ(rows.size(), ours.size());
    for (size_t i = 0; i < ours.size(); ++i) {
      const lzh::Header& h = ours[i];
      const std::vector<std::string>& r = rows[i];
      ASSERT_GE(r.size(), 9u);
      size_t n = r.size();
      // lhasa lower-cases names of MS-DOS-style headers.
      EXPECT_EQ(strcasecmp(r[n - 1].c_str(), h.path.c_str()), 0) << r[n - 1] << " vs " << h.path;
      EXPECT_EQ(r[n - 6], h.method);
      EXPECT_EQ(r[n - 8], std::to_string(h.original_size));
      EXPECT_EQ(r[n - 9], std::to_string(h.IsDirectory() ? 0 : h.compressed_size));
      if (!h.IsDirectory()) {
        char crc[8];
        snprintf(crc, sizeof crc, "%04x", h.crc);
        EXPECT_EQ(r[n - 5], crc);
      }
      // Old stamps show the year instead of the time.
      struct tm when = PeerTime(h);
      char month[8];
      strftime(month, sizeof month, "%b", &when);
      EXPECT_EQ(r[n - 4], month);
      EXPECT_EQ(r[n - 3], std::to_string(when.tm_mday));
      if (r[n - 2].find(':') == std::string::npos) {
        EXPECT_EQ(r[n - 2], std::to_string(when.tm_year + 1900));
      }
    }
  }
}

}  // namespace
