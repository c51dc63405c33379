// Finding an archive inside another file: crafted files cost work in
// proportion to their size (counted in bytes read, calls made and extended
// headers stepped over), and the scan finds what a full parse of every
// position would find.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/decoder.h"
#include "archiver/lzh/header_reader.h"
#include "archiver/lzh/header_scan.h"
#include "archiver/lzh/header_writer.h"
#include "read_support.h"

namespace {

// Counts the work asked of it and fails every read once over its budget, so
// that a scan doing far too much stops instead of running for hours.
class CountingSource : public lzh::ByteSource {
 public:
  CountingSource(const std::string& bytes, uint64_t byte_budget, uint64_t call_budget)
      : inner_(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
        byte_budget_(byte_budget),
        call_budget_(call_budget) {}
  uint64_t Size() const override { return inner_.Size(); }
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override {
    bytes += size;
    ++calls;
    if (bytes > byte_budget_ || calls > call_budget_) failed_ = true;
    return failed_ ? 0 : inner_.ReadAt(offset, buffer, size);
  }
  bool Failed() const override { return failed_; }
  uint64_t bytes = 0, calls = 0;

 private:
  lzh::MemorySource inner_;
  uint64_t byte_budget_, call_budget_;
  bool failed_ = false;
};

void Put16(std::string* s, size_t at, uint32_t v) {
  (*s)[at] = static_cast<char>(v);
  (*s)[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string* s, size_t at, uint32_t v) {
  Put16(s, at, v & 0xFFFF);
  Put16(s, at + 2, v >> 16);
}

std::string OneEntryArchive(int level) {
  lzh::Header h;
  h.level = static_cast<uint8_t>(level);
  memcpy(h.method, "-lh0-", 6);
  h.path = "dir/found.txt";
  h.compressed_size = h.original_size = 5;
  h.crc = lzh::Crc16(reinterpret_cast<const uint8_t*>("hello"), 5);
  h.has_crc = true;
  h.dos_time = 0x5A2B0000;
  std::string out;
  lzh::SerializeHeader(h, &out);
  return out + "hello" + std::string(1, '\0');
}

// Level 3 headers claiming 1 MiB, one every 32 bytes, whose chain is broken.
std::string LevelThreeClaims(size_t size) {
  std::string unit(32, '\0');
  Put16(&unit, 0, 4);
  unit.replace(2, 5, "-lh5-");
  unit[20] = 3;
  Put32(&unit, 24, 1 << 20);
  Put32(&unit, 28, 0xFFFFFFFF);
  std::string out;
  while (out.size() < size) out += unit;
  return out;
}

// Level 2 headers claiming 64 KiB, one every 32 bytes, each with a valid
// chain whose header CRC is wrong (all see the same bytes, so all fail).
std::string LevelTwoWrongCrcs(size_t size) {
  std::string unit(32, 'x');
  Put16(&unit, 0, 0xFFFF);
  unit.replace(2, 5, "-lh5-");
  Put32(&unit, 7, 0);
  unit[20] = 2;
  Put16(&unit, 24, 5);
  unit[26] = 0;  // CRC extended header, then the end of the chain
  Put16(&unit, 27, 0);
  Put16(&unit, 29, 0);
  std::string region;
  while (region.size() < 0xFFFF) region += unit;
  region.resize(0xFFFF);
  uint16_t crc = lzh::Crc16(reinterpret_cast<const uint8_t*>(region.data()), region.size());
  Put16(&unit, 27, crc ^ 1);
  std::string out;
  while (out.size() < size) out += unit;
  return out;
}

// Level 1 base headers whose first extended headers all lead into one long
// shared chain of three-byte extended headers that ends in a broken size.
std::string LevelOneSharedChain(size_t chain_links, size_t size_after) {
  const size_t kBase = 27, kCount = 2000;
  size_t chain = kBase * kCount + 2;
  std::string out(chain, '\0');
  for (size_t i = 0; i < chain_links; ++i) out += std::string("\x7F\x03\x00", 3);
  out += std::string("\x7F\x01\x00", 3);
  size_t total = out.size() + size_after;
  for (size_t i = 0; i < kCount; ++i) {
    size_t o = i * kBase;
    out[o] = static_cast<char>(kBase - 2);
    out.replace(o + 2, 5, "-lh5-");
    Put32(&out, o + 7, static_cast<uint32_t>(total - o - kBase));
    out[o + 20] = 1;
    out[o + 24] = 'U';
    Put16(&out, o + 25, static_cast<uint32_t>(chain - (o + kBase)));
    uint8_t sum = 0;
    for (size_t k = 2; k < kBase; ++k) sum = static_cast<uint8_t>(sum + out[o + k]);
    out[o + 1] = static_cast<char>(sum);
  }
  Put16(&out, chain - 2, 3);
  return out;
}

TEST(HeaderScan, CraftedShapesCostWorkInProportionToTheirSize) {
  struct Shape {
    const char* name;
    std::string prefix;
  } shapes[] = {
      {"level 3 claims", LevelThreeClaims(1 << 20)},
      {"level 2 wrong CRCs", LevelTwoWrongCrcs(1 << 20)},
      {"level 1 shared chain", LevelOneSharedChain(300000, 0)},
  };
  for (const Shape& shape : shapes) {
    for (bool with_archive : {false, true}) {
      SCOPED_TRACE(std::string(shape.name) + (with_archive ? " + archive" : ""));
      // The file does not start like a header: a program, say.
      std::string program(37, 'P');
      std::string bytes = program + shape.prefix + (with_archive ? OneEntryArchive(2) : std::string());
      CountingSource source(bytes, 3 * bytes.size() + (1 << 18), bytes.size() / 4096 + 64);
      lzh::ScanStats stats;
      uint64_t at = 0;
      bool found = lzh::ScanForHeader(&source, 1, &at, &stats);
      EXPECT_FALSE(source.Failed()) << "read " << source.bytes << " bytes in " << source.calls << " calls";
      EXPECT_EQ(with_archive, found);
      if (found) {
        EXPECT_EQ(program.size() + shape.prefix.size(), at);
      }
      EXPECT_LE(stats.chain_steps, bytes.size());
      EXPECT_LE(stats.headers_parsed, 1u);
      // Through the reader as the library opens a file.
      lzh::MemorySource plain(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      lzh::ArchiveReader reader(&plain);
      lzh::Header h;
      EXPECT_EQ(with_archive ? lzh::Error::kOk : lzh::Error::kNotArchive, reader.Next(&h));
      if (with_archive) {
        EXPECT_EQ("dir/found.txt", h.path);
      }
    }
  }
}

// What the scan must find: the first position where a full parse succeeds
// and the data fits (quadratic, for small inputs only).
bool FirstByFullParse(const std::string& bytes, uint64_t from, uint64_t* offset) {
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  for (uint64_t o = from; o + 7 <= bytes.size(); ++o) {
    const char* p = bytes.data() + o;
    if (p[2] != '-' || p[6] != '-') continue;
    lzh::Header h;
    if (lzh::ReadHeader(&source, o, &h) != lzh::Error::kOk) continue;
    if (h.data_offset > bytes.size() || h.compressed_size > bytes.size() - h.data_offset) continue;
    if (!lzh::IsSupportedMethod(h.method) && !(h.method[1] == 'p' && h.method[2] == 'm')) continue;
    *offset = o;
    return true;
  }
  return false;
}

TEST(HeaderScan, FindsWhatAFullParseOfEveryPositionFinds) {
  // Real headers of every level (level 3 made by hand, with a CRC and a
  // 64-bit sizes header), behind junk and cut, shifted or damaged at random.
  std::string level3(32, '\0');
  Put16(&level3, 0, 4);
  level3.replace(2, 5, "-lh0-");
  level3[20] = 3;
  Put32(&level3, 28, 7);
  level3 += std::string("\x00\x00\x00", 3) + std::string(4, '\0');  // CRC header
  Put32(&level3, 28 + 7, 21);
  level3 += std::string(1, '\x42') + std::string(16, '\0') + std::string(4, '\0');
  Put32(&level3, 32 + 7 + 1, 5);  // compressed size in the sizes header
  Put32(&level3, 24, static_cast<uint32_t>(level3.size()));
  uint16_t crc = lzh::Crc16(reinterpret_cast<const uint8_t*>(level3.data()), level3.size());
  Put16(&level3, 33, crc);
  level3 += "hello";
  std::string archives[] = {OneEntryArchive(0), OneEntryArchive(1), OneEntryArchive(2), level3};
  uint32_t x = 12345;
  auto next = [&x]() { return x = x * 1103515245u + 12345u, x >> 8; };
  int found_count = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = lzhtest::MakeBinary(next() % 200, round, 0);
    for (int k = next() % 3; k >= 0; --k) {
      const std::string& a = archives[next() % 4];
      bytes += a.substr(0, next() % 4 ? a.size() : next() % a.size());
      bytes += std::string(next() % 8, '-');
    }
    for (int flips = bytes.empty() ? 0 : next() % 4; flips > 0; --flips) bytes[next() % bytes.size()] ^= static_cast<char>(1 << (next() % 8));
    uint64_t expected = 0, got = 0;
    bool expect_found = FirstByFullParse(bytes, 1, &expected);
    lzh::MemorySource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ASSERT_EQ(expect_found, lzh::ScanForHeader(&source, 1, &got)) << "round " << round;
    if (expect_found) {
      ASSERT_EQ(expected, got) << "round " << round;
    }
    found_count += expect_found;
  }
  EXPECT_GT(found_count, 1000);  // the comparison saw both outcomes often
  EXPECT_LT(found_count, 2900);
}

}  // namespace
