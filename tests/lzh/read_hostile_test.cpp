// Entries whose declared original size is far larger than their compressed
// data can hold: every decoder must stop with an error soon after its input
// runs out instead of inventing gigabytes of output from padding.
#include <gtest/gtest.h>

#include <cstring>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/header_writer.h"
#include "archiver/lzh/io.h"
#include "archiver/lzh/reader.h"

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

}  // namespace
