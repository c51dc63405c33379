// libFuzzer target over the archive reader and every decoder (scripts/fuzz.sh).
// The first input byte chooses: below 16 a raw stream for one decoder (the
// next two bytes give the output size in 4-byte units), otherwise the whole
// input is an archive to list and test. Output is capped at 256 KiB per
// input: decoding costs time in proportion to it (a few bits can stand for
// much output), and only time beyond that proportion is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "archiver/lzh/decoder.h"
#include "archiver/lzh/reader.h"

namespace {

const char* const kMethods[] = {"-lh0-", "-lh1-", "-lh4-", "-lh5-", "-lh6-", "-lh7-", "-lhx-",
                                "-lk7-", "-lzs-", "-lz5-", "-lz4-", "-pm0-", "-lhd-", "-pm2-", "-pm1-", "-lh3-"};
constexpr size_t kMethodCount = sizeof kMethods / sizeof kMethods[0];

void FuzzDecoder(const uint8_t* data, size_t size) {
  if (size < 3) return;
  const char* method = kMethods[data[0]];
  size_t out_size = (data[1] | (data[2] << 8)) * size_t{4};
  lzh::MemorySource source(data + 3, size - 3);
  lzh::Error e;
  std::unique_ptr<lzh::Decoder> decoder = lzh::CreateDecoder(method, &source, 0, size - 3, &e);
  if (!decoder) return;
  std::vector<uint8_t> out(4096);
  while (out_size > 0) {
    size_t n = out_size < out.size() ? out_size : out.size();
    if (decoder->Decode(out.data(), n) != lzh::Error::kOk) return;
    out_size -= n;
  }
}

void FuzzArchive(const uint8_t* data, size_t size) {
  lzh::MemorySource source(data, size);
  lzh::ArchiveReader reader(&source);
  lzh::Header h;
  uint64_t budget = 256 << 10;
  for (int entries = 0; entries < 64 && reader.Next(&h) == lzh::Error::kOk; ++entries) {
    if (h.original_size > budget) continue;
    budget -= h.original_size;
    reader.Extract(h, nullptr);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] < kMethodCount) {
    FuzzDecoder(data, size);
  } else {
    FuzzArchive(data, size);
  }
  return 0;
}
