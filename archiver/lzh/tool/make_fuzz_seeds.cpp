// Writes the small seed inputs of the fuzz targets (scripts/fuzz.sh) with the
// library's own writer:  make_fuzz_seeds DIR  fills DIR/reader, DIR/roundtrip,
// DIR/names and DIR/command_line.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "archiver/lzh/archive_writer.h"
#include "archiver/lzh/header_reader.h"
#include "archiver/lzh/reader.h"

namespace {

bool Save(const std::string& path, const std::string& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

std::string Text(size_t size) {
  static const char* const kWords[] = {"the ", "archive ", "header ", "window\n", "data ", "LZH ", "\x95\x5c "};
  std::string out;
  for (uint32_t x = 7; out.size() < size;) out += kWords[((x = x * 1103515245u + 12345u) >> 16) % 7];
  out.resize(size);
  return out;
}

std::string Archive(const char* method, int level) {
  lzh::MemoryArchiveSink sink;
  lzh::WriterOptions options;
  options.method = method;
  options.header_level = static_cast<uint8_t>(level);
  lzh::ArchiveWriter writer(sink, options);
  const std::string names[] = {"a.txt", "dir/b.txt", "dir/sub/c.bin"};
  const std::string contents[] = {Text(1500), Text(300) + Text(300), std::string(200, '\x01')};
  for (int i = 0; i < 3; ++i) {
    lzh::Header info;
    info.path = names[i];
    info.unix_time = 1600000000 + i;
    info.has_unix_time = true;
    info.dos_time = lzh::UnixToDosTime(info.unix_time);
    lzh::MemorySource source(reinterpret_cast<const uint8_t*>(contents[i].data()), contents[i].size());
    writer.AddFile(info, source);
  }
  lzh::Header dir;
  dir.path = "empty/";
  writer.AddDirectory(dir);
  writer.Finish();
  return sink.bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
    return 2;
  }
  std::string dir = argv[1];
  for (const char* sub : {"", "/reader", "/roundtrip", "/names", "/command_line"}) mkdir((dir + sub).c_str(), 0777);
  bool ok = true;
  // Reader: archives of every level and written method, one behind a program,
  // and the raw stream of one entry per method for the decoders (first byte:
  // the method's index in the reader target, then the size in 4-byte units).
  const char* methods[] = {"-lh0-", "-lh5-", "-lh6-", "-lh7-"};
  const int decoder_index[] = {0, 3, 4, 5};
  for (int m = 0; m < 4; ++m) {
    for (int level = 0; level < 3; ++level) {
      std::string a = Archive(methods[m], level);
      ok &= Save(dir + "/reader/" + (methods[m] + 1) + std::string(1, '0' + level), a);
      if (level != 2) continue;
      lzh::MemorySource source(reinterpret_cast<const uint8_t*>(a.data()), a.size());
      lzh::ArchiveReader reader(&source);
      lzh::Header h;
      if (reader.Next(&h) != lzh::Error::kOk) return 1;
      std::string raw(1, static_cast<char>(decoder_index[m]));
      raw.push_back(static_cast<char>((h.original_size / 4) & 0xFF));
      raw.push_back(static_cast<char>((h.original_size / 4) >> 8));
      raw += a.substr(h.data_offset, h.compressed_size);
      ok &= Save(dir + "/reader/raw-" + (methods[m] + 1), raw);
    }
  }
  ok &= Save(dir + "/reader/behind-program", std::string(300, 'P') + Archive("-lh5-", 2));
  // Round trip: method and level byte, edit byte, files cut by 0xFF.
  for (int choice = 0; choice < 12; ++choice) {
    std::string input(1, static_cast<char>(choice));
    input.push_back(static_cast<char>(choice * 7));
    input += Text(200 + choice * 50) + "\xFF" + std::string(choice * 20, 'z') + "\xFF" + Text(40);
    ok &= Save(dir + "/roundtrip/" + std::to_string(choice), input);
  }
  // Names.
  const char* names[] = {"a/b/c.txt", "../up", "C:\\abs\\x", "\\\\server\\share\\y", "\x95\x5c\\\x95\x5c.txt",
                         "CON.txt", "dir/./a. ", "a:stream", "\xFF" "dir" "\xFF" "f", "./"};
  for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i)
    ok &= Save(dir + "/names/" + std::to_string(i), names[i]);
  // Command lines, with the paths that exist after a NUL.
  const std::string lines[] = {
      std::string("x -r -x1 C:\\My Files\\a.lzh C:\\out\\ *.txt dir\\*.*") + '\0' + "C:\\My Files\\a.lzh\nC:\\out\\\n",
      std::string("u -r2 -w\"C:\\work dir\" a.lzh C:\\src\\ \"b c.txt\"") + '\0' + "a.lzh\nC:\\src\\\n",
      std::string("s -gw1 C:\\a b\\x.lzh C:\\dest dir\\") + '\0' + "C:\\a b\\x.lzh\nC:\\dest dir\\\n",
      "n a.lzh \x95\x5c.txt", "l -n \"quoted name.lzh\"", "d a.lzh ?x*.c", "m -p -jw0 a.lzh -- file"};
  for (size_t i = 0; i < sizeof lines / sizeof lines[0]; ++i)
    ok &= Save(dir + "/command_line/" + std::to_string(i), lines[i]);
  return ok ? 0 : 1;
}
