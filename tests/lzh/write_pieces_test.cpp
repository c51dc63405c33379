// One large file compressed in pieces: the same bytes for 1, 2 and 8 threads
// at every size around the cut and with every method, read back whole, no
// more than 0.3 % larger than one piece would be, extracted byte-exact by the
// other LZH tools, and stopped by Cancel.
#include <gtest/gtest.h>

#include <string>

#include "archiver/lzh/archive_sink.h"
#include "archiver/lzh/archive_writer.h"
#include "archiver/lzh/piece_compressor.h"
#include "tests/lzh/read_support.h"

namespace {

const size_t kPiece = static_cast<size_t>(lzh::kPieceSize);

// Text and binary in stretches, so that matches cross every cut.
std::string Mixed(size_t size) {
  std::string data;
  for (uint32_t seed = 1; data.size() < size; seed++)
    data += seed % 3 ? lzhtest::MakeText(90000, seed) : lzhtest::MakeBinary(70000, seed, 70);
  data.resize(size);
  return data;
}

// An archive of the one file, as the library writes it.
std::string Archive(const std::string& data, const char* method, lzh::ParseMode parse, unsigned threads) {
  lzh::MemoryArchiveSink sink;
  lzh::WriterOptions options;
  options.method = method;
  options.parse = parse;
  options.threads = threads;
  lzh::ArchiveWriter writer(sink, options);
  lzh::Header header;
  header.path = "large.bin";
  header.has_unix_time = true;
  header.unix_time = 1600000000;
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(data.data()), data.size());
  if (writer.AddFile(header, source) != lzh::WriteStatus::kOk || writer.Finish() != lzh::WriteStatus::kOk) return "";
  return sink.bytes;
}

TEST(WritePieces, SameBytesForAnyThreadCountAroundTheCut) {
  std::string all = Mixed(2 * kPiece + 12345);
  struct Mode {
    const char* method;
    lzh::ParseMode parse;
    std::vector<size_t> sizes;
  };
  const std::vector<size_t> sizes = {0, 1, kPiece - 1, kPiece, kPiece + 1, all.size()};
  const Mode modes[] = {{"-lh5-", lzh::ParseMode::kLazy, sizes},
                        {"-lh6-", lzh::ParseMode::kLazy, sizes},
                        {"-lh7-", lzh::ParseMode::kLazy, sizes},
                        {"-lh7-", lzh::ParseMode::kOptimal, {kPiece + 1, 2 * kPiece + 5}}};
  for (const Mode& mode : modes) {
    for (size_t size : mode.sizes) {
      SCOPED_TRACE(std::string(mode.method) + (mode.parse == lzh::ParseMode::kOptimal ? " best " : " ") +
                   std::to_string(size));
      std::string data = all.substr(0, size);
      std::string one = Archive(data, mode.method, mode.parse, 1);
      ASSERT_FALSE(one.empty());
      for (unsigned threads : {2u, 8u}) EXPECT_TRUE(Archive(data, mode.method, mode.parse, threads) == one) << threads;
      lzh::Error end;
      std::vector<lzhtest::ReadEntry> entries = lzhtest::ReadAll(one, &end);
      ASSERT_EQ(entries.size(), 1u);
      EXPECT_EQ(entries[0].error, lzh::Error::kOk);
      EXPECT_TRUE(entries[0].data == data);
      EXPECT_STREQ(entries[0].header.method, size > 1 ? mode.method : "-lh0-");
    }
  }
}

// The cuts cost next to nothing against the file compressed in one go.
TEST(WritePieces, WithinAFractionOfOneGo) {
  std::string data = Mixed(4 * kPiece + 999);
  for (const char* method : {"-lh5-", "-lh7-"}) {
    lzh::Encoder encoder;
    lzh::MemorySource source(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    lzh::StringSink whole, pieces;
    int bits = lzh::DictBitsForMethod(method);
    ASSERT_EQ(encoder.Encode(bits, source, 0, data.size(), whole).status, lzh::WriteStatus::kOk);
    ASSERT_EQ(lzh::CompressInPieces(encoder, bits, source, pieces, nullptr, UINT64_MAX, 2).status,
              lzh::WriteStatus::kOk);
    EXPECT_LE(pieces.bytes.size(), whole.bytes.size() * 1.003) << method << " " << whole.bytes.size();
  }
}

TEST(WritePieces, CancelStopsTheThreads) {
  std::string data = Mixed(8 * kPiece);
  for (unsigned threads : {1u, 8u}) {
    lzh::Encoder encoder;
    lzh::MemorySource source(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    lzh::StringSink out;
    uint64_t seen = 0;
    auto progress = [&](uint64_t done) {
      seen = done;
      return done < 2 * kPiece;
    };
    EXPECT_EQ(lzh::CompressInPieces(encoder, 16, source, out, progress, UINT64_MAX, threads).status,
              lzh::WriteStatus::kCancelled);
    EXPECT_LT(seen, 4 * kPiece) << threads;
  }
}

// Every tool reads the joined bit streams, for a cut at every bit offset the
// pieces happen to end on.
TEST(WritePieces, PeersExtractByteExact) {
  lzhtest::ScratchDir dir;
  std::string data = Mixed(2 * kPiece + 777);
  ASSERT_TRUE(lzhtest::WriteFile(dir / "a.lzh", Archive(data, "-lh7-", lzh::ParseMode::kLazy, 2)));
  const char* const tools[][2] = {{"lhasa", "lhasa xq ../a.lzh"},
                                  {"7zz", "7zz x -y ../a.lzh >/dev/null"},
                                  {"unar", "unar -q ../a.lzh"},
                                  {"jlha", "jlha xqy ../a.lzh"}};
  for (const auto& tool : tools) {
    if (!lzhtest::HaveTool(tool[0])) continue;
    std::string out = dir / tool[0];
    std::string log;
    ASSERT_EQ(lzhtest::Run("mkdir -p '" + out + "'"), 0);
    EXPECT_EQ(lzhtest::Run("cd '" + out + "' && " + tool[1] + " 2>&1", &log), 0) << tool[0] << log;
    EXPECT_TRUE(lzhtest::ReadFile(out + "/large.bin") == data) << tool[0];
  }
}

}  // namespace
