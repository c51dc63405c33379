// Methods no installed tool writes (-lh4-, -lhx-, -lk7-, -lzs-, -lz5-, -lh1-,
// -lz4-, -pm0-): small test-side encoders make valid streams, our reader must
// restore them, and unar (which reads them too) must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/decoder.h"
#include "read_support.h"
#include "test_encoders.h"

namespace {

using lzhtest::BitWriter;
using lzhtest::CompleteLengths;
using lzhtest::EncodeLh;
using lzhtest::EncodeLhBlocks;
using lzhtest::RawEntry;
using lzhtest::Token;

// lhasa reads -lz5- (and most others) as well: a second independent reader.
void ExpectLhasa(const std::string& archive, const std::vector<RawEntry>& entries) {
  if (!lzhtest::HaveTool("lhasa")) return;
  lzhtest::ScratchDir dir;
  ASSERT_TRUE(lzhtest::WriteFile(dir / "m.lzh", archive));
  std::string log;
  lzhtest::Run("cd '" + dir.path() + "' && lhasa xq m.lzh 2>&1", &log);
  for (const RawEntry& e : entries)
    EXPECT_TRUE(lzhtest::ReadFile(dir / e.name) == e.original) << e.method << " by lhasa\n" << log;
}

std::string TestData(size_t size, uint32_t seed) {
  return lzhtest::MakeText(size / 2, seed) + lzhtest::MakeBinary(size - size / 2, seed + 1, 80);
}

// Reads `archive` and expects every entry to come back as its original.
void ExpectOurs(const std::string& archive, const std::vector<RawEntry>& entries) {
  lzh::Error end;
  std::vector<lzhtest::ReadEntry> read = lzhtest::ReadAll(archive, &end);
  EXPECT_EQ(end, lzh::Error::kEndOfArchive);
  ASSERT_EQ(read.size(), entries.size());
  for (size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].error, lzh::Error::kOk) << entries[i].method << " " << entries[i].name;
    EXPECT_TRUE(read[i].data == entries[i].original) << entries[i].method;
  }
}

// unar extracts the entries of the methods it knows; their contents must
// match too (this checks the test encoders against an independent reader).
void ExpectUnar(const std::string& archive, const std::vector<RawEntry>& entries) {
  if (!lzhtest::HaveTool("unar")) {
    std::printf("unar is not installed: encoders not cross-checked\n");
    return;
  }
  lzhtest::ScratchDir dir;
  ASSERT_TRUE(lzhtest::WriteFile(dir / "m.lzh", archive));
  std::string log;
  lzhtest::Run("cd '" + dir.path() + "' && unar -f -D -o out m.lzh 2>&1", &log);
  for (const RawEntry& e : entries) {
    std::string got = lzhtest::ReadFile(dir / ("out/" + e.name));
    EXPECT_TRUE(got == e.original) << e.method << " by unar (" << got.size() << " bytes)\n" << log;
  }
}

TEST(Methods, StaticHuffmanFamilyWithEveryWindowSize) {
  std::string data = TestData(300000, 11);
  // Repeat far back so that distances beyond 64 KiB occur (-lhx-).
  data += data.substr(1000, 50000);
  std::vector<RawEntry> entries = {
      {"lh4", "-lh4-", EncodeLh(data, 12, 14, 4), data},
      {"lh5", "-lh5-", EncodeLh(data, 13, 14, 4), data},
      {"lh6", "-lh6-", EncodeLh(data, 15, 16, 5), data},
      {"lh7", "-lh7-", EncodeLh(data, 16, 17, 5), data},
      {"lhx", "-lhx-", EncodeLh(data, 19, 20, 5), data},
      {"lh3", "-lh3-", lzhtest::EncodeLh3(data), data},
  };
  std::string archive = lzhtest::MakeLevel2Archive(entries);
  ExpectOurs(archive, entries);
  // -lk7- is -lh7- by another name.
  std::vector<RawEntry> lk7 = {{"lk7", "-lk7-", entries[3].packed, data}};
  ExpectOurs(lzhtest::MakeLevel2Archive(lk7), lk7);
  // unar's -lhx- support is not certain, and it aborts on any -lh3- stream;
  // no other peer reads -lh3-, so that one is checked by our reader alone.
  entries.erase(entries.begin() + 4, entries.end());
  ExpectUnar(lzhtest::MakeLevel2Archive(entries), entries);
}

// What tokens expand to: history before the first byte reads as spaces.
std::string Expand(const std::vector<Token>& tokens) {
  std::string out;
  for (const Token& t : tokens) {
    if (!t.length) out += static_cast<char>(t.literal);
    for (int i = 0; i < t.length; ++i) out += out.size() >= t.distance ? out[out.size() - t.distance] : ' ';
  }
  return out;
}

// Decodes `stream` in pieces of `piece` bytes; returns the first error.
lzh::Error DecodeInPieces(const char* method, const std::string& stream, size_t size, size_t piece,
                          std::string* out) {
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
  lzh::Error e;
  std::unique_ptr<lzh::Decoder> decoder = lzh::CreateDecoder(method, &source, 0, stream.size(), &e);
  out->assign(size, '\0');
  for (size_t done = 0; done < size && e == lzh::Error::kOk; done += piece)
    e = decoder->Decode(reinterpret_cast<uint8_t*>(&(*out)[done]), std::min(piece, size - done));
  return e;
}

// The decoder's fast loop and its careful edges: overlapping copies at every
// short distance, copies reaching before the start (spaces) after the window
// has held other bytes, matches across the ring's end, codes longer than the
// primary table and incomplete codes, tiny blocks, output asked for in
// pieces that cut matches, an unused code and a cut stream.
TEST(Methods, StaticHuffmanDecoderEdges) {
  struct Method {
    const char* name;
    int dict_bits, position_codes, position_bits;
    size_t ring;
  };
  for (const Method& m : {Method{"-lh5-", 13, 14, 4, 1 << 17}, Method{"-lh7-", 16, 17, 5, 1 << 17}}) {
    const size_t dict = size_t{1} << m.dict_bits;
    std::vector<Token> tokens;
    for (int i = 0; i < 40; ++i) tokens.push_back({0, static_cast<uint8_t>('a' + i % 26), 0});
    tokens.push_back({200, 0, 17});       // copied 16 bytes at a time, past its own end
    tokens.push_back({30, 0, dict});      // first look before the start
    tokens.push_back({256, 0, dict - 5}); // partly before the start
    uint64_t x = 0x9E3779B97F4A7C15ull + m.dict_bits;
    size_t size = 0;
    while (size < 3 * m.ring + 1000) {
      x ^= x << 13;
      x ^= x >> 7;
      x ^= x << 17;
      int kind = static_cast<int>(x % 10);
      if (kind < 4) {
        tokens.push_back({0, static_cast<uint8_t>(kind < 3 ? "etaoin "[(x >> 8) % 7] : x >> 16), 0});
        ++size;
        continue;
      }
      int length = kind == 9 ? 256 : 3 + static_cast<int>((x >> 20) % (kind < 7 ? 20 : 254));
      size_t distance = kind < 6 ? 1 + (x >> 32) % 20 : 1 + (x >> 32) % dict;
      tokens.push_back({length, 0, distance});
      size += static_cast<size_t>(length);
    }
    const std::string expected = Expand(tokens);

    // Lengths 9..16 for most symbols and a few short ones: sub tables of every
    // width, and codes with room to spare (sixteen one bits are no code).
    std::vector<int> skewed(510), positions(static_cast<size_t>(m.position_codes));
    double kraft = 0, position_kraft = 0;
    for (int c = 0; c < 510; ++c) {
      bool common = c < 256 && std::string("etaoin ").find(static_cast<char>(c)) != std::string::npos;
      skewed[c] = common ? 4 : 9 + (c * 7) % 8;
      kraft += 1.0 / (1 << skewed[c]);
    }
    for (int j = 0; j < m.position_codes; ++j) {
      positions[j] = j < 3 ? 2 : j < 8 ? 5 : 9 + j % 8;
      position_kraft += 1.0 / (1 << positions[j]);
    }
    ASSERT_LT(kraft, 1.0);
    ASSERT_LT(position_kraft, 1.0);
    struct Variant {
      std::vector<int> c_len, p_len;
      std::vector<size_t> blocks;
    };
    std::vector<Variant> variants = {
        {CompleteLengths(510), CompleteLengths(m.position_codes), {}},
        {skewed, positions, {1, 2, 300, 7000}},
    };
    for (const Variant& v : variants) {
      std::string stream = EncodeLhBlocks(tokens, v.c_len, v.p_len, m.position_bits, v.blocks);
      for (size_t piece : {size_t{65536}, size_t{1}, size_t{7}, size_t{256}, size_t{257}, size_t{4093}}) {
        std::string got;
        ASSERT_EQ(DecodeInPieces(m.name, stream, expected.size(), piece, &got), lzh::Error::kOk) << m.name << piece;
        ASSERT_TRUE(got == expected) << m.name << " in pieces of " << piece;
      }
      // Cut short: reported, never read past.
      std::string got;
      EXPECT_NE(DecodeInPieces(m.name, stream.substr(0, stream.size() / 2), expected.size(), 65536, &got),
                lzh::Error::kOk);
    }
    // No code, in the middle of the stream (fast loop) and at its end.
    for (size_t at : {tokens.size() / 2, tokens.size()}) {
      std::vector<Token> damaged(tokens.begin(), tokens.begin() + static_cast<long>(at));
      damaged.push_back({-1, 0, 0});
      damaged.insert(damaged.end(), tokens.begin() + static_cast<long>(at), tokens.end());
      std::string stream = EncodeLhBlocks(damaged, skewed, positions, m.position_bits);
      std::string got;
      EXPECT_EQ(DecodeInPieces(m.name, stream, expected.size() + 1, 65536, &got), lzh::Error::kDamagedData)
          << m.name << " at " << at;
    }
  }
}

// The folded CRC (long runs) and the tables (short ones and tails) agree
// with the bit-at-a-time definition at every length, alignment and start.
TEST(Methods, Crc16AtEveryLengthAndAlignment) {
  std::string data = lzhtest::MakeBinary(700, 5, 0);
  const uint8_t* p = reinterpret_cast<const uint8_t*>(data.data());
  for (uint16_t start : {0x0000, 0xFFFF, 0x8005})
    for (size_t offset = 0; offset < 3; ++offset)
      for (size_t size = 0; size + offset <= data.size(); size += size < 150 ? 1 : 37) {
        uint16_t crc = start;
        for (size_t i = 0; i < size; ++i) {
          crc ^= p[offset + i];
          for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
        }
        ASSERT_EQ(lzh::Crc16Update(start, p + offset, size), crc) << size << " at " << offset;
      }
  EXPECT_EQ(lzh::Crc16(reinterpret_cast<const uint8_t*>("123456789"), 9), 0xBB3D);
}

TEST(Methods, LarcAdaptiveAndStoredMethods) {
  std::string data = TestData(40000, 21);
  // unar recognises an archive by its first method: a common one goes first.
  std::vector<RawEntry> entries = {
      {"lz4", "-lz4-", data, data},
      {"lzs", "-lzs-", lzhtest::EncodeLzs(data), data},
      {"lz5", "-lz5-", lzhtest::EncodeLz5(data), data},
      {"pm0", "-pm0-", data, data},
      // Long enough for the adaptive counts to saturate and be halved.
      {"lh1", "-lh1-", lzhtest::EncodeLh1(TestData(400000, 31)), TestData(400000, 31)},
      {"pm2", "-pm2-", lzhtest::EncodePm2(data), data},
      {"pm1", "-pm1-", lzhtest::EncodePm1(data), data},
  };
  std::string archive = lzhtest::MakeLevel2Archive(entries);
  ExpectOurs(archive, entries);
  ExpectUnar(archive, entries);
}

// Output asked for in pieces cuts matches, at ring ends too, and -pm2-
// changes its trees inside matches: each piece size must give the same bytes.
TEST(Methods, OlderMethodsInPieces) {
  std::string data = TestData(40000, 41);
  const std::pair<const char*, std::string> streams[] = {
      {"-lh1-", lzhtest::EncodeLh1(data)}, {"-lh2-", lzhtest::EncodeLh2(data)}, {"-lh3-", lzhtest::EncodeLh3(data)},
      {"-lzs-", lzhtest::EncodeLzs(data)}, {"-lz5-", lzhtest::EncodeLz5(data)}, {"-pm1-", lzhtest::EncodePm1(data)},
      {"-pm2-", lzhtest::EncodePm2(data)}};
  for (const auto& s : streams) {
    for (size_t piece : {size_t{1}, size_t{7}, size_t{257}, size_t{4093}}) {
      std::string got;
      ASSERT_EQ(DecodeInPieces(s.first, s.second, data.size(), piece, &got), lzh::Error::kOk) << s.first << piece;
      ASSERT_TRUE(got == data) << s.first << " in pieces of " << piece;
    }
  }
}

TEST(Methods, Lh2GrowingTreesRoundTrip) {
  // By hand from the initial trees (the 286 leaves in a heap under the
  // root, symbol s at node 570 - s, odd nodes reached by a 1): 'A' is
  // 00000101; a match of 3 is 11000100, and its position tree is still one
  // leaf of no bits, so only the six low bits follow (distance 1 into the
  // blank window).
  BitWriter letter, match;
  letter.Put(0x05, 8);
  match.Put(0xC4, 8);
  match.Put(0, 6);
  std::vector<RawEntry> entries = {{"letter", "-lh2-", letter.Finish(), "A"}, {"match", "-lh2-", match.Finish(), "   "}};
  // Long enough for the counts of both trees to be halved (over 0x8000
  // matches), with long matches (the escape) and positions across the whole
  // window.
  std::string text = TestData(400000, 41), runs = std::string(5000, 'x') + TestData(20000, 43);
  entries.push_back({"text", "-lh2-", lzhtest::EncodeLh2(text), text});
  entries.push_back({"runs", "-lh2-", lzhtest::EncodeLh2(runs), runs});
  std::string archive = lzhtest::MakeLevel2Archive(entries);
  ExpectOurs(archive, entries);
  if (getenv("LH2_DUMP")) lzhtest::WriteFile(getenv("LH2_DUMP"), archive);
}

TEST(Methods, Lz5PreparedHistoryIsAddressable) {
  // Matches into the ring before anything was written: the runs of 13
  // equal bytes start at 0 (byte 0), 13 (byte 1), ...; the ramps at 3328.
  std::string packed;
  packed.push_back(0);  // eight matches
  auto match = [&](size_t pos, int len) {
    packed.push_back(static_cast<char>(pos & 0xFF));
    packed.push_back(static_cast<char>(((pos >> 4) & 0xF0) | (len - 3)));
  };
  match(4085, 5);  // the 18 bytes where writing starts are zeros, not blanks
  match(13 * 0x41, 13);  // 13 x 'A'
  match(3328 + 0x30, 10);  // "0123456789"
  match(3584 + 255 - 'z', 3);  // "zyx"
  match(3840, 5);  // five zeros
  match(4000, 4);  // blanks
  for (int i = 0; i < 2; ++i) match(13 * 'B', 3);
  packed.push_back(0);  // one more match
  match(13 * 'B', 3);
  std::string expect = std::string(5, '\0') + std::string(13, 'A') + "0123456789zyx" + std::string(5, '\0') + "    " + "BBBBBBBBB";
  std::vector<RawEntry> entries = {{"hist", "-lz5-", packed, expect}};
  std::string archive = lzhtest::MakeLevel2Archive(entries);
  ExpectOurs(archive, entries);
  ExpectUnar(archive, entries);
  ExpectLhasa(archive, entries);
}

}  // namespace
