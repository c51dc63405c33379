// Hand-built headers of every level: names (CP932, separators), extended
// headers, checksums and CRCs, and the lengths that must be checked.
#include <gtest/gtest.h>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/header_reader.h"
#include "archiver/lzh/header_writer.h"
#include "archiver/lzh/stored_name.h"
#include "read_support.h"

namespace {

using lzhtest::ReadAll;
using lzhtest::ReadEntry;

void Put16(std::string* s, uint32_t v) {
  s->push_back(static_cast<char>(v));
  s->push_back(static_cast<char>(v >> 8));
}
void Put32(std::string* s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

struct Ext {
  uint8_t type;
  std::string body;
};

const std::string kData = "stored entry data\n";
constexpr uint32_t kDosTime = (41u << 25) | (3u << 21) | (4u << 16) | (5u << 11) | (6u << 5) | 4u;  // 2021-03-04 05:06:08
constexpr uint32_t kUnixTime = 1614834368;  // the same instant in UTC

// Level 0 or 1 header for `name` (already in stored form) with stored data.
std::string Level01(int level, const std::string& name, const std::vector<Ext>& exts = {},
                    const std::string& data = kData, const char* method = "-lh0-") {
  std::string ext_bytes;
  for (size_t i = 0; i < exts.size(); ++i) {
    ext_bytes.push_back(static_cast<char>(exts[i].type));
    ext_bytes += exts[i].body;
    Put16(&ext_bytes, i + 1 < exts.size() ? static_cast<uint32_t>(exts[i + 1].body.size() + 3) : 0);
  }
  std::string h = method;
  Put32(&h, static_cast<uint32_t>(data.size() + ext_bytes.size()));
  Put32(&h, static_cast<uint32_t>(data.size()));
  Put32(&h, kDosTime);
  h.push_back(level == 0 ? 0x21 : 0x20);
  h.push_back(static_cast<char>(level));
  h.push_back(static_cast<char>(name.size()));
  h += name;
  Put16(&h, lzh::Crc16(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
  if (level == 1) {
    h.push_back('M');
    Put16(&h, exts.empty() ? 0 : static_cast<uint32_t>(exts[0].body.size() + 3));
  }
  uint8_t sum = 0;
  for (char c : h) sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
  std::string out;
  out.push_back(static_cast<char>(h.size()));
  out.push_back(static_cast<char>(sum));
  return out + h + ext_bytes + data;
}

// Level 2 or 3 header with a header-CRC extended header first.
std::string Level23(int level, const std::vector<Ext>& exts_in, const std::string& data = kData,
                    const char* method = "-lh0-") {
  const size_t width = level == 2 ? 2 : 4;
  std::vector<Ext> exts = exts_in;
  exts.insert(exts.begin(), Ext{0x00, std::string(2, '\0')});
  auto put_size = [&](std::string* s, uint32_t v) { width == 2 ? Put16(s, v) : Put32(s, v); };
  std::string ext_bytes;
  for (size_t i = 0; i < exts.size(); ++i) {
    ext_bytes.push_back(static_cast<char>(exts[i].type));
    ext_bytes += exts[i].body;
    put_size(&ext_bytes, i + 1 < exts.size() ? static_cast<uint32_t>(exts[i + 1].body.size() + 1 + width) : 0);
  }
  std::string h;
  Put16(&h, level == 2 ? 0 : 4);  // level 2: total size, patched below
  h += method;
  Put32(&h, static_cast<uint32_t>(data.size()));
  Put32(&h, static_cast<uint32_t>(data.size()));
  Put32(&h, kUnixTime);
  h.push_back(0x20);
  h.push_back(static_cast<char>(level));
  Put16(&h, lzh::Crc16(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
  h.push_back('U');
  if (level == 3) Put32(&h, 0);  // total size, patched below
  put_size(&h, static_cast<uint32_t>(exts[0].body.size() + 1 + width));
  size_t crc_at = h.size() + 1;
  h += ext_bytes;
  if (level == 2) {
    h[0] = static_cast<char>(h.size());
    h[1] = static_cast<char>(h.size() >> 8);
  } else {
    for (int i = 0; i < 4; ++i) h[24 + i] = static_cast<char>(h.size() >> (8 * i));
  }
  uint16_t crc = lzh::Crc16(reinterpret_cast<const uint8_t*>(h.data()), h.size());
  h[crc_at] = static_cast<char>(crc);
  h[crc_at + 1] = static_cast<char>(crc >> 8);
  return h + data;
}

std::string Le16(uint32_t v) {
  std::string s;
  Put16(&s, v);
  return s;
}
std::string Le32(uint32_t v) {
  std::string s;
  Put32(&s, v);
  return s;
}

// "表" in CP932 ends in 0x5C, which must not split the name.
const std::string kHyo = "\x95\x5C";

TEST(HeaderLevels, EveryLevelGivesTheSamePathDataAndTime) {
  const std::string expect_path = "dir/sub/" + kHyo + ".txt";
  std::vector<std::string> archives = {
      Level01(0, "dir\\sub\\" + kHyo + ".txt") + '\0',
      Level01(1, "", {{0x02, "dir\xFFsub\xFF"}, {0x01, kHyo + ".txt"}}) + '\0',
      Level23(2, {{0x01, kHyo + ".txt"}, {0x02, "dir\xFFsub\xFF"}}) + '\0',
      Level23(3, {{0x01, kHyo + ".txt"}, {0x02, "dir\xFFsub"}}) + '\0',
  };
  for (size_t level = 0; level < archives.size(); ++level) {
    SCOPED_TRACE(level);
    lzh::Error end;
    std::vector<ReadEntry> entries = ReadAll(archives[level], &end);
    EXPECT_EQ(end, lzh::Error::kEndOfArchive);
    ASSERT_EQ(entries.size(), 1u);
    const lzh::Header& h = entries[0].header;
    EXPECT_EQ(h.level, level);
    EXPECT_EQ(h.path, expect_path);
    EXPECT_EQ(entries[0].error, lzh::Error::kOk);
    EXPECT_EQ(entries[0].data, kData);
    EXPECT_EQ(h.dos_time, kDosTime);
    EXPECT_EQ(h.unix_time, kUnixTime);
    EXPECT_EQ(h.compressed_size, kData.size());
    EXPECT_EQ(h.data_offset + h.compressed_size + 1, archives[level].size());
  }
}

TEST(HeaderLevels, ExtendedHeadersFillTheirFields) {
  std::string win_times = std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8) + std::string(8, '\x11') +
                          std::string(8, '\x22');
  std::string archive = Level23(2, {{0x01, "a.txt"},
                                    {0x40, Le16(0x23)},
                                    {0x41, win_times},
                                    {0x50, Le16(0100644)},
                                    {0x51, Le16(100) + Le16(1000)},
                                    {0x52, "staff"},
                                    {0x53, "alice"},
                                    {0x3F, "a comment nobody reads"},
                                    {0x7E, "an unknown kind"},
                                    {0x54, Le32(12345678)}});
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  lzh::Header h;
  ASSERT_EQ(lzh::ReadHeader(&source, 0, &h), lzh::Error::kOk);
  EXPECT_EQ(h.path, "a.txt");
  EXPECT_EQ(h.dos_attributes, 0x23);
  EXPECT_EQ(h.win_create, 0x0807060504030201ull);
  EXPECT_EQ(h.win_modify, 0x1111111111111111ull);
  EXPECT_EQ(h.win_access, 0x2222222222222222ull);
  EXPECT_TRUE(h.has_unix_mode);
  EXPECT_EQ(h.unix_mode, 0100644);
  EXPECT_EQ(h.unix_gid, 100);
  EXPECT_EQ(h.unix_uid, 1000);
  EXPECT_EQ(h.unix_group, "staff");
  EXPECT_EQ(h.unix_user, "alice");
  EXPECT_EQ(h.unix_time, 12345678);
  EXPECT_EQ(h.os_id, 'U');
}

// Exact names beside the CP932 ones: written by levels 1 and 2 and read back
// (an emoji needs a surrogate pair), read from another writer's 0x45 with
// its own separators, and UTF-8 name fields where header 0x46 says 65001.
TEST(HeaderLevels, UnicodeNamesAndCodePageHeaders) {
  for (uint8_t level : {1, 2}) {
    lzh::Header h;
    h.level = level;
    h.path = "_/cafe \x3F.txt";
    h.unicode_dir = "\xE7\xAE\x80/";
    h.unicode_name = "caf\xC3\xA9 \xF0\x9F\x98\x80.txt";
    std::string bytes;
    ASSERT_EQ(lzh::SerializeHeader(h, &bytes), lzh::WriteStatus::kOk);
    lzh::MemorySource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    lzh::Header back;
    ASSERT_EQ(lzh::ReadHeader(&source, 0, &back), lzh::Error::kOk) << int(level);
    EXPECT_EQ(back.path, h.path);
    EXPECT_EQ(back.unicode_dir, h.unicode_dir);
    EXPECT_EQ(back.unicode_name, h.unicode_name);
    // The same CP932 name without the exact one is another entry.
    lzh::Header plain = back;
    plain.unicode_name.clear();
    plain.unicode_dir.clear();
    EXPECT_NE(lzh::EntryNameKey(back), lzh::EntryNameKey(plain));
  }
  std::string archive = Level23(2, {{0x01, "x.txt"},
                                    {0x45, std::string("a\0\xFF\xFF" "b\0\\\0", 8)},
                                    {0x44, std::string("\xE9\0.\0t\0\0\0", 8)}});
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  lzh::Header h;
  ASSERT_EQ(lzh::ReadHeader(&source, 0, &h), lzh::Error::kOk);
  EXPECT_EQ(h.unicode_dir, "a/b/");
  EXPECT_EQ(h.unicode_name, "\xC3\xA9.t");
  EXPECT_FALSE(h.utf8_path);
  archive = Level23(2, {{0x01, "\xE7\xAE\x80.txt"}, {0x46, Le32(65001)}});
  lzh::MemorySource utf8(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  ASSERT_EQ(lzh::ReadHeader(&utf8, 0, &h), lzh::Error::kOk);
  EXPECT_TRUE(h.utf8_path);
  EXPECT_EQ(h.path, "\xE7\xAE\x80.txt");
}

TEST(HeaderLevels, LevelOneExtendedHeadersCountInTheCompressedSize) {
  std::string archive = Level01(1, "x.txt", {{0x54, Le32(999)}, {0x7E, std::string(300, 'z')}});
  lzh::Error end;
  std::vector<ReadEntry> entries = ReadAll(archive, &end);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].header.compressed_size, kData.size());
  EXPECT_EQ(entries[0].data, kData);
  EXPECT_EQ(entries[0].header.unix_time, 999);
  EXPECT_EQ(end, lzh::Error::kEndOfArchive);  // the end of the source ends the archive too
}

TEST(HeaderLevels, LevelOneHeaderCrcCoversItsExtendedHeaders) {
  std::string archive = Level01(1, "x.txt", {{0x00, std::string(2, '\0')}, {0x54, Le32(999)}});
  size_t header_end = archive.size() - kData.size();
  size_t crc_at = static_cast<uint8_t>(archive[0]) + 2 + 1;  // after the type byte of the first extension
  uint16_t crc = lzh::Crc16(reinterpret_cast<const uint8_t*>(archive.data()), header_end);
  archive[crc_at] = static_cast<char>(crc);
  archive[crc_at + 1] = static_cast<char>(crc >> 8);
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  lzh::Header h;
  ASSERT_EQ(lzh::ReadHeader(&source, 0, &h), lzh::Error::kOk);
  EXPECT_EQ(h.unix_time, 999);
  // The base checksum does not cover the extensions; the CRC does.
  archive[header_end - 4] ^= 1;
  EXPECT_EQ(lzh::ReadHeader(&source, 0, &h), lzh::Error::kBadHeader);
}

TEST(HeaderLevels, LevelTwoSizeWithZeroLowByteIsNotTheEnd) {
  // Pad the name until the header is exactly 256 bytes long.
  std::string probe = Level23(2, {{0x01, "n"}});
  size_t pad = 256 - (probe.size() - kData.size());
  std::string archive = Level23(2, {{0x01, "n" + std::string(pad, 'n')}}) + '\0';
  ASSERT_EQ(archive[0], '\0');
  lzh::Error end;
  std::vector<ReadEntry> entries = ReadAll(archive, &end);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].data, kData);
}

TEST(HeaderDamage, ChecksumsAndCrcsAreChecked) {
  for (int level = 0; level < 4; ++level) {
    SCOPED_TRACE(level);
    std::string archive = level < 2 ? Level01(level, "name.txt") : Level23(level, {{0x01, "name.txt"}});
    size_t name_at = archive.find("name");
    ASSERT_NE(name_at, std::string::npos);
    archive[name_at] = 'N';
    lzh::MemorySource source(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
    lzh::Header h;
    EXPECT_EQ(lzh::ReadHeader(&source, 0, &h), lzh::Error::kBadHeader);
  }
  // Data CRC: a changed data byte is a CRC error on extraction.
  std::string archive = Level01(0, "a");
  archive[archive.size() - 2] ^= 1;
  lzh::Error end;
  std::vector<ReadEntry> entries = ReadAll(archive, &end);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].error, lzh::Error::kCrcError);
}

TEST(HeaderDamage, LengthsThatDoNotFitAreRefused) {
  // Extended header longer than the header holding it.
  std::string archive = Level23(2, {{0x01, "abc"}});
  archive[24] = 100;  // first extended size
  lzh::MemorySource s1(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  lzh::Header h;
  EXPECT_EQ(lzh::ReadHeader(&s1, 0, &h), lzh::Error::kBadHeader);
  // Extended size too small to hold its own size field (would never advance).
  archive[24] = 1;
  EXPECT_EQ(lzh::ReadHeader(&s1, 0, &h), lzh::Error::kBadHeader);
  // Level 2 total size below the fixed part.
  archive = Level23(2, {});
  archive[0] = 5;
  archive[1] = 0;
  lzh::MemorySource s2(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  EXPECT_EQ(lzh::ReadHeader(&s2, 0, &h), lzh::Error::kBadHeader);
  // Level 3 with a wrong word size, and one declaring a gigantic header.
  archive = Level23(3, {{0x01, "abc"}});
  archive[0] = 2;
  lzh::MemorySource s3(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  EXPECT_EQ(lzh::ReadHeader(&s3, 0, &h), lzh::Error::kBadHeader);
  archive[0] = 4;
  archive[27] = 0x7F;
  EXPECT_EQ(lzh::ReadHeader(&s3, 0, &h), lzh::Error::kBadHeader);
  // Level 1 extended headers that claim more than the compressed size.
  archive = Level01(1, "x", {{0x7E, std::string(100, 'z')}}, "");
  lzh::MemorySource s4(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  archive[7] = 3;  // compressed size 3 < 103 bytes of extended headers; checksum fixed below
  uint8_t sum = 0;
  for (size_t i = 2; i < 2u + static_cast<uint8_t>(archive[0]); ++i) sum = static_cast<uint8_t>(sum + archive[i]);
  archive[1] = static_cast<char>(sum);
  EXPECT_EQ(lzh::ReadHeader(&s4, 0, &h), lzh::Error::kBadHeader);
  // A header cut short.
  archive = Level23(2, {{0x01, "abc"}});
  lzh::MemorySource s5(reinterpret_cast<const uint8_t*>(archive.data()), 30);
  EXPECT_EQ(lzh::ReadHeader(&s5, 0, &h), lzh::Error::kTruncated);
}

TEST(HeaderNames, SeparatorsAndDoubleByteCharacters) {
  EXPECT_EQ(lzh::NormalizeStoredPath("a\\b\xFF" "c/d"), "a/b/c/d");
  // 0x5C after a lead byte belongs to the character; after a non-lead byte
  // (half-width katakana 0xB6) it separates.
  EXPECT_EQ(lzh::NormalizeStoredPath("\x95\x5C\\\xB6\\x"), "\x95\x5C/\xB6/x");
  // A lead byte at the very end has no trail to take.
  EXPECT_EQ(lzh::NormalizeStoredPath("a\\\x95"), "a/\x95");
  // A directory entry gets its trailing '/'.
  std::string dir = Level01(1, "", {{0x02, "top\xFF" + kHyo + "\xFF"}}, "");
  memcpy(&dir[2], "-lhd-", 5);
  uint8_t sum = 0;
  for (size_t i = 2; i < 2u + static_cast<uint8_t>(dir[0]); ++i) sum = static_cast<uint8_t>(sum + dir[i]);
  dir[1] = static_cast<char>(sum);
  lzh::Error end;
  std::vector<ReadEntry> entries = ReadAll(dir, &end);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries[0].header.IsDirectory());
  EXPECT_EQ(entries[0].header.path, "top/" + kHyo + "/");
  EXPECT_EQ(entries[0].error, lzh::Error::kOk);
  // A directory name ending in a character whose trail byte is 0x5C still
  // needs its separator before the file name.
  entries = ReadAll(Level23(2, {{0x02, kHyo}, {0x01, "f"}}), &end);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].header.path, kHyo + "/f");
}

TEST(HeaderTimes, DosAndUnixTimesConvertBothWays) {
  EXPECT_EQ(lzh::DosTimeToUnix(kDosTime), kUnixTime);
  EXPECT_EQ(lzh::UnixToDosTime(kUnixTime), kDosTime);
  // Leap day, and the limits of the DOS range.
  uint32_t leap = (20u << 25) | (2u << 21) | (29u << 16) | (23u << 11) | (59u << 5) | 29u;  // 2000-02-29 23:59:58
  EXPECT_EQ(lzh::DosTimeToUnix(leap), 951868798);
  EXPECT_EQ(lzh::UnixToDosTime(951868798), leap);
  EXPECT_EQ(lzh::UnixToDosTime(0), (1u << 21) | (1u << 16));  // clamped to 1980-01-01
}

TEST(Methods, UnknownMethodIsReportedAndTheWalkGoesOn) {
  std::string first = Level23(2, {{0x01, "odd"}}, "xyz", "-lh9-");
  std::string archive = first + Level23(2, {{0x01, "next"}}) + '\0';
  lzh::Error end;
  std::vector<ReadEntry> entries = ReadAll(archive, &end);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].error, lzh::Error::kUnknownMethod);
  EXPECT_EQ(entries[1].error, lzh::Error::kOk);
  EXPECT_EQ(entries[1].data, kData);
  EXPECT_EQ(end, lzh::Error::kEndOfArchive);
}

}  // namespace

namespace {

// Level 2 entry from system `os`, whose size field counts `shortfall` bytes
// less than the header holds (the OS-9 archiver's way: 2).
std::string Level2From(char os, const std::string& name, size_t shortfall, const std::string& data = kData) {
  std::string e = Level23(2, {{0x01, name}}, data);
  size_t size = e.size() - data.size();
  e[23] = os;
  e[0] = static_cast<char>(size - shortfall);
  e[1] = static_cast<char>((size - shortfall) >> 8);
  e[27] = e[28] = 0;
  uint16_t crc = lzh::Crc16(reinterpret_cast<const uint8_t*>(e.data()), size);
  e[27] = static_cast<char>(crc);
  e[28] = static_cast<char>(crc >> 8);
  return e;
}

std::string ExtractedByLhasa(const std::string& archive, const std::string& name) {
  if (!lzhtest::HaveTool("lhasa")) return kData;
  lzhtest::ScratchDir dir;
  lzhtest::WriteFile(dir / "a.lzh", archive);
  lzhtest::Run("cd '" + dir.path() + "' && lhasa xq a.lzh 2>&1");
  return lzhtest::ReadFile(dir / name);
}

}  // namespace

TEST(HeaderShapes, OtherSystemsQuirksReadAsTheirArchiversMeantThem) {
  lzh::Error end;
  // OS-9: two bytes short, and only exactly two.
  std::string os9 = Level2From('K', "os9.txt", 2) + Level23(2, {{0x01, "next.txt"}}) + '\0';
  std::vector<ReadEntry> entries = ReadAll(os9, &end);
  EXPECT_EQ(end, lzh::Error::kEndOfArchive);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].header.path, "os9.txt");
  EXPECT_EQ(entries[0].data, kData);
  EXPECT_EQ(entries[1].header.path, "next.txt");
  EXPECT_EQ(ExtractedByLhasa(os9, "os9.txt"), kData);
  // The same behind a program: the scan finds it as the reader reads it.
  entries = ReadAll("MZ" + std::string(3000, 'x') + os9, &end);
  EXPECT_EQ(end, lzh::Error::kEndOfArchive);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].header.path, "os9.txt");
  EXPECT_EQ(entries[0].data, kData);
  for (size_t shortfall : {1, 3, 4}) {
    std::string bad = Level2From('K', "os9.txt", shortfall);
    lzh::MemorySource source(reinterpret_cast<const uint8_t*>(bad.data()), bad.size());
    lzh::Header h;
    EXPECT_EQ(lzh::ReadHeader(&source, 0, &h), lzh::Error::kBadHeader) << shortfall;
  }

  // Amiga: a comment after a zero byte in the name field of levels 0 and 1.
  const std::string commented("a.txt\0Picture of the cat", 24);
  for (int level = 0; level < 2; ++level) {
    std::string archive = Level01(level, commented) + '\0';
    entries = ReadAll(archive, &end);
    ASSERT_EQ(entries.size(), 1u) << level;
    EXPECT_EQ(entries[0].header.path, "a.txt");
    EXPECT_EQ(entries[0].data, kData);
    EXPECT_EQ(ExtractedByLhasa(archive, "a.txt"), kData);
  }

  // Amiga folders: empty stored entries whose names end in a separator.
  entries = ReadAll(Level01(0, "docs/", {}, "") + Level01(1, "pics\\", {}, "") + Level01(0, "full/") +
                        Level01(0, "empty.txt", {}, "") + '\0',
                    &end);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_TRUE(entries[0].header.IsDirectory());
  EXPECT_EQ(entries[0].header.path, "docs/");
  EXPECT_TRUE(entries[1].header.IsDirectory());
  EXPECT_FALSE(entries[2].header.IsDirectory());  // has data: not a folder
  EXPECT_FALSE(entries[3].header.IsDirectory());
}

TEST(HeaderShapes, UnixLinksAreNamedByThemselves) {
  lzh::Error end;
  const std::string kPo = "\x83\x7C";  // a CP932 character whose trail byte is '|'
  std::vector<ReadEntry> entries =
      ReadAll(Level01(1, "ln|../target", {{0x50, Le16(0120777)}}, "", "-lhd-") +
                  Level23(2, {{0x02, "bin\xFF"}, {0x01, "sh|bash"}}, "", "-lhd-") +
                  Level01(0, kPo + "|t", {}, "", "-lhd-") +
                  Level01(1, "a|b", {{0x50, Le16(040755)}}, "", "-lhd-") + '\0',
              &end);
  EXPECT_EQ(end, lzh::Error::kEndOfArchive);
  ASSERT_EQ(entries.size(), 4u);
  const char* paths[] = {"ln", "bin/sh", "\x83\x7C", "a|b/"};
  const char* targets[] = {"../target", "bash", "t", ""};
  for (size_t i = 0; i < 4; ++i) {
    const lzh::Header& h = entries[i].header;
    EXPECT_EQ(h.path, paths[i]) << i;
    EXPECT_EQ(h.link_target, targets[i]) << i;
    EXPECT_EQ(h.IsLink(), i < 3) << i;
    EXPECT_EQ(h.IsDirectory(), i == 3) << i;
    EXPECT_EQ(entries[i].error, lzh::Error::kOk) << i;
    EXPECT_EQ(entries[i].data, "");
  }
  // Written back (a rename or copy), a link stays a link.
  lzh::Header link = entries[1].header;
  link.level = 2;
  std::string bytes;
  ASSERT_EQ(lzh::SerializeHeader(link, &bytes), lzh::WriteStatus::kOk);
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  lzh::Header back;
  ASSERT_EQ(lzh::ReadHeader(&source, 0, &back), lzh::Error::kOk);
  EXPECT_TRUE(back.IsLink());
  EXPECT_EQ(back.path, "bin/sh");
  EXPECT_EQ(back.link_target, "bash");
}

namespace {

uint16_t CrcXmodem(const std::string& bytes) {
  uint16_t crc = 0;
  for (unsigned char b : bytes) {
    crc ^= static_cast<uint16_t>(b << 8);
    for (int i = 0; i < 8; ++i) crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
  }
  return crc;
}

void PutBe32(std::string* s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*s)[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

std::string Pad128(std::string s) { return s + std::string((128 - s.size() % 128) % 128, '\0'); }

// A file in MacBinary as a Macintosh archiver wraps it; version 2 adds the
// MacBinary II marks and CRC, version 0 is version 1 with the forks padded
// as one (the layout lhasa expects).
std::string MacBinary(const std::string& name, const std::string& data, const std::string& resource, int version,
                      uint32_t modified = kUnixTime + 2082844800u + 9 * 3600) {
  std::string h(128, '\0');
  h[1] = static_cast<char>(name.size());
  h.replace(2, name.size(), name);
  h.replace(65, 8, "TEXTttxt");
  PutBe32(&h, 83, static_cast<uint32_t>(data.size()));
  PutBe32(&h, 87, static_cast<uint32_t>(resource.size()));
  PutBe32(&h, 91, modified);
  PutBe32(&h, 95, modified);
  if (version == 2) {
    h[122] = h[123] = static_cast<char>(129);
    uint16_t crc = CrcXmodem(h.substr(0, 124));
    h[124] = static_cast<char>(crc >> 8);
    h[125] = static_cast<char>(crc);
  }
  return version == 0 ? Pad128(h + data + resource) : h + Pad128(data) + Pad128(resource);
}

}  // namespace

TEST(EntryShapes, MacBinaryWrappedFilesComeOutAsTheirDataFork) {
  const std::string fork = "Hello from a Macintosh\r", resource(300, 'R');
  std::string bad_crc = MacBinary("crc.txt", fork, resource, 2);
  bad_crc[124] ^= 1;
  std::string long_fork = MacBinary("long.txt", fork, "", 1);
  PutBe32(&long_fork, 83, 5000);  // more than is stored
  std::string dirty = MacBinary("dirty.txt", fork, "", 1);
  dirty[110] = 1;  // reserved in MacBinary I
  struct Case {
    char os;
    const char* name;
    std::string stored, expect;
    bool lhasa_agrees;  // lhasa knows no MacBinary II
  } cases[] = {
      {'m', "two.txt", MacBinary("two.txt", fork, resource, 2), fork, false},
      {'m', "one.txt", MacBinary("one.txt", fork, resource, 1), fork, false},
      {'m', "packed.txt", MacBinary("packed.txt", fork, resource, 0), fork, true},
      {'m', "res.txt", MacBinary("res.txt", "", resource, 1), resource, true},
      {'m', "crc.txt", bad_crc, bad_crc, false},
      {'m', "long.txt", long_fork, long_fork, true},
      {'m', "dirty.txt", dirty, dirty, true},
      {'m', "other.bin", MacBinary("other.txt", fork, "", 1), "", true},
      {'m', "old.txt", MacBinary("old.txt", fork, "", 1, kUnixTime + 2082844800u - 20 * 3600), "", true},
      {'U', "unix.txt", MacBinary("unix.txt", fork, "", 1), "", true},
      {'m', "short.txt", fork, fork, true},
  };
  std::string archive;
  for (Case& c : cases) {
    if (c.expect.empty()) c.expect = c.stored;
    archive += Level2From(c.os, c.name, 0, c.stored);
  }
  archive += '\0';
  lzh::Error end;
  std::vector<ReadEntry> entries = ReadAll(archive, &end);
  EXPECT_EQ(end, lzh::Error::kEndOfArchive);
  ASSERT_EQ(entries.size(), sizeof cases / sizeof cases[0]);
  lzhtest::ScratchDir dir;
  bool lhasa = lzhtest::HaveTool("lhasa");
  if (lhasa) {
    lzhtest::WriteFile(dir / "mac.lzh", archive);
    lzhtest::Run("cd '" + dir.path() + "' && lhasa xq mac.lzh 2>&1");
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(entries[i].error, lzh::Error::kOk) << c.name;
    EXPECT_TRUE(entries[i].data == c.expect) << c.name << ": " << entries[i].data.size() << " bytes";
    if (lhasa && c.lhasa_agrees) EXPECT_TRUE(lzhtest::ReadFile(dir / c.name) == c.expect) << c.name << " by lhasa";
  }
}
