// Writes the crafted inputs of bench/scan_bench.sh:
//   crafted_inputs SHAPE MEGABYTES OUT
// claims  level 3 headers claiming 1 MiB, one every 32 bytes, chains broken
// chain   runs of 2,000 level 1 base headers whose first extended headers
//         lead into one shared chain of 350,000 three-byte extended headers
// crc     level 2 headers claiming 64 KiB with valid chains and wrong CRCs
// random  random bytes
// sfx     a 100 KB program followed by a stored archive of the rest
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "archiver/lzh/archive_writer.h"
#include "archiver/lzh/crc16.h"

namespace {

void Put16(std::string* s, size_t at, uint32_t v) {
  (*s)[at] = static_cast<char>(v);
  (*s)[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string* s, size_t at, uint32_t v) {
  Put16(s, at, v & 0xFFFF);
  Put16(s, at + 2, v >> 16);
}

std::string Random(size_t size, uint64_t seed) {
  std::string out(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    seed ^= seed << 13, seed ^= seed >> 7, seed ^= seed << 17;
    out[i] = static_cast<char>(seed >> 32);
  }
  return out;
}

std::string Repeat(const std::string& unit, size_t size) {
  std::string out;
  while (out.size() < size) out += unit;
  out.resize(size);
  return out;
}

std::string Claims(size_t size) {
  std::string unit(32, '\0');
  Put16(&unit, 0, 4);
  unit.replace(2, 5, "-lh5-");
  unit[20] = 3;
  Put32(&unit, 24, 1 << 20);
  Put32(&unit, 28, 0xFFFFFFFF);
  return Repeat(unit, size);
}

std::string WrongCrcs(size_t size) {
  std::string unit(32, 'x');
  Put16(&unit, 0, 0xFFFF);
  unit.replace(2, 5, "-lh5-");
  Put32(&unit, 7, 0);
  unit[20] = 2;
  Put16(&unit, 24, 5);
  unit[26] = 0;
  Put16(&unit, 27, 0);
  Put16(&unit, 29, 0);
  std::string region = Repeat(unit, 0xFFFF);
  Put16(&unit, 27, lzh::Crc16(reinterpret_cast<const uint8_t*>(region.data()), region.size()) ^ 1);
  return Repeat(unit, size);
}

// One run: base headers, then the chain they share; `total` is the file size
// from the run's start on (their compressed sizes reach the end of the file).
std::string ChainRun(size_t total) {
  const size_t kBase = 27, kCount = 2000, kLinks = 350000;
  size_t chain = kBase * kCount + 2;
  std::string out(chain, '\0');
  for (size_t i = 0; i < kLinks; ++i) out += std::string("\x7F\x03\x00", 3);
  out += std::string("\x7F\x01\x00", 3);
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

std::string Chains(size_t size) {
  std::string out;
  while (out.size() + ChainRun(1 << 21).size() <= size) out += ChainRun(size - out.size());
  return out + std::string(size - out.size(), '\0');
}

std::string SelfExtractor(size_t size) {
  std::string program = Random(100000, 7);
  lzh::MemoryArchiveSink sink;
  lzh::WriterOptions options;
  options.method = "-lh0-";
  lzh::ArchiveWriter writer(sink, options);
  const size_t kFile = 1 << 20;
  for (size_t i = 0; program.size() + sink.bytes.size() + kFile < size; ++i) {
    std::string data = Random(kFile, i + 11);
    lzh::Header info;
    info.path = "data/" + std::to_string(i);
    info.unix_time = 1600000000;
    info.has_unix_time = true;
    lzh::MemorySource source(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    writer.AddFile(info, source);
  }
  writer.Finish();
  return program + sink.bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: crafted_inputs claims|chain|crc|random|sfx MEGABYTES OUT\n");
    return 2;
  }
  std::string shape = argv[1];
  size_t size = static_cast<size_t>(atoi(argv[2])) << 20;
  std::string bytes = "MZ" + std::string(98, 'P');  // starts like a program, not a header
  if (shape == "claims") bytes += Claims(size - bytes.size());
  else if (shape == "chain") bytes += Chains(size - bytes.size());
  else if (shape == "crc") bytes += WrongCrcs(size - bytes.size());
  else if (shape == "random") bytes = Random(size, 3);
  else if (shape == "sfx") bytes = SelfExtractor(size);
  else return 2;
  FILE* f = fopen(argv[3], "wb");
  if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) return 1;
  return 0;
}
