// Compresses the files named on standard input (one path a line) into one
// archive and prints "<archive bytes> <seconds>". Used by encode_bench.sh.
//   encode_bench OUT.lzh METHOD < list
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "archiver/lzh/archive_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: encode_bench OUT.lzh METHOD < file-list\n");
    return 2;
  }
  std::unique_ptr<lzh::FileArchiveSink> sink(lzh::FileArchiveSink::Create(argv[1]));
  if (!sink) {
    fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  lzh::WriterOptions options;
  options.method = argv[2];
  lzh::ArchiveWriter writer(*sink, options);
  auto start = std::chrono::steady_clock::now();
  std::string path;
  while (std::getline(std::cin, path)) {
    if (path.empty()) continue;
    std::unique_ptr<lzh::StdioSource> source(lzh::StdioSource::Open(path.c_str()));
    if (!source) {
      fprintf(stderr, "cannot open %s\n", path.c_str());
      return 1;
    }
    lzh::Header info;
    info.path = path.compare(0, 2, "./") == 0 ? path.substr(2) : path;
    lzh::WriteStatus status = writer.AddFile(info, *source);
    if (status != lzh::WriteStatus::kOk) {
      fprintf(stderr, "%s: %s\n", path.c_str(), lzh::WriteStatusText(status));
      return 1;
    }
  }
  if (writer.Finish() != lzh::WriteStatus::kOk || !sink->Close()) return 1;
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  printf("%llu %.3f\n", static_cast<unsigned long long>(sink->Position()), seconds);
  return 0;
}
