// Helpers of the reading tests: scratch folders, peer tools, whole-archive reads.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "archiver/lzh/header.h"
#include "archiver/lzh/io.h"
#include "archiver/lzh/reader.h"

namespace lzhtest {

// A temporary folder removed with its contents at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    char name[] = "/tmp/lzhread-XXXXXX";
    path_ = mkdtemp(name) ? name : "";
  }
  ~ScratchDir() {
    if (!path_.empty()) system(("rm -rf '" + path_ + "'").c_str());
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline bool HaveTool(const std::string& name) {
  return system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command, collecting standard output; returns its exit status.
inline int Run(const std::string& command, std::string* output = nullptr) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  char buf[4096];
  size_t n;
  std::string out;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  int status = pclose(pipe);
  if (output) *output = out;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string ReadFile(const std::string& path) {
  std::string out;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return out;
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  fclose(f);
  return out;
}

inline bool WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

// Deterministic test data: English-like text, or bytes with a given share of
// repetition (0 = random, 1 = very repetitive).
inline std::string MakeText(size_t size, uint32_t seed) {
  static const char* const kWords[] = {"the ", "archive ", "header ", "of ", "window ", "data ", "and ",
                                       "file\n", "compressed ", "LZH ", "to ", "a ", "decoder ", "bytes, "};
  std::string out;
  uint32_t x = seed * 2654435761u + 1;
  while (out.size() < size) {
    x = x * 1103515245u + 12345u;
    out += kWords[(x >> 16) % 14];
  }
  out.resize(size);
  return out;
}

inline std::string MakeBinary(size_t size, uint32_t seed, int repeat_percent) {
  std::string out;
  uint64_t x = seed + 0x9E3779B97F4A7C15ull;
  while (out.size() < size) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    if (out.size() > 16 && static_cast<int>(x % 100) < repeat_percent) {
      size_t back = 1 + (x >> 8) % std::min<size_t>(out.size(), 30000);
      size_t len = 3 + (x >> 24) % 40;
      for (size_t i = 0; i < len && out.size() < size; ++i) out.push_back(out[out.size() - back]);
    } else {
      out.push_back(static_cast<char>(x >> 32));
    }
  }
  return out;
}

// One entry as read by ArchiveReader.
struct ReadEntry {
  lzh::Header header;
  std::string data;
  lzh::Error error = lzh::Error::kOk;  // of Extract
};

// Reads every entry of `bytes`; *end receives what ended the walk.
inline std::vector<ReadEntry> ReadAll(const std::string& bytes, lzh::Error* end) {
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  lzh::ArchiveReader reader(&source);
  std::vector<ReadEntry> entries;
  ReadEntry e;
  lzh::Error r;
  while ((r = reader.Next(&e.header)) == lzh::Error::kOk) {
    lzh::StringSink sink;
    e.error = reader.Extract(e.header, &sink);
    e.data = sink.bytes;
    entries.push_back(e);
  }
  *end = r;
  return entries;
}

}  // namespace lzhtest

namespace lzhtest {

// A level 2 archive (with header CRC) of entries whose compressed data the
// caller provides.
struct RawEntry {
  std::string name;
  std::string method;  // five characters
  std::string packed;
  std::string original;
};

inline std::string MakeLevel2Archive(const std::vector<RawEntry>& entries);

}  // namespace lzhtest

#include "archiver/lzh/crc16.h"

namespace lzhtest {

inline std::string MakeLevel2Archive(const std::vector<RawEntry>& entries) {
  auto put16 = [](std::string* s, uint32_t v) {
    s->push_back(static_cast<char>(v));
    s->push_back(static_cast<char>(v >> 8));
  };
  auto put32 = [&](std::string* s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
  };
  std::string out;
  for (const RawEntry& e : entries) {
    std::string h;
    put16(&h, 0);
    h += e.method;
    put32(&h, static_cast<uint32_t>(e.packed.size()));
    put32(&h, static_cast<uint32_t>(e.original.size()));
    put32(&h, 1600000000);
    h.push_back(0x20);
    h.push_back(2);
    put16(&h, lzh::Crc16(reinterpret_cast<const uint8_t*>(e.original.data()), e.original.size()));
    h.push_back('U');
    put16(&h, 5);
    size_t crc_at = h.size() + 1;
    h.push_back(0x00);
    put16(&h, 0);
    put16(&h, static_cast<uint32_t>(e.name.size() + 3));
    h.push_back(0x01);
    h += e.name;
    put16(&h, 0);
    h[0] = static_cast<char>(h.size());
    h[1] = static_cast<char>(h.size() >> 8);
    uint16_t crc = lzh::Crc16(reinterpret_cast<const uint8_t*>(h.data()), h.size());
    h[crc_at] = static_cast<char>(crc);
    h[crc_at + 1] = static_cast<char>(crc >> 8);
    out += h + e.packed;
  }
  out.push_back('\0');
  return out;
}

}  // namespace lzhtest
