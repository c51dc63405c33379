// Compresses the files named on standard input (one path a line) into one
// archive and prints "<archive bytes> <seconds>". Used by encode_bench.sh.
//   encode_bench OUT.lzh METHOD [THREADS] [optimal] < list
// THREADS (default 1) files are compressed at once, as the library does for
// u and m; 0 means one per core. "optimal" chooses the slow, thorough parse.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "archiver/lzh/archive_edit.h"

int main(int argc, char** argv) {
  bool optimal = strcmp(argv[argc - 1], "optimal") == 0;
  if (optimal) argc--;
  if (argc != 3 && argc != 4) {
    fprintf(stderr, "usage: encode_bench OUT.lzh METHOD [THREADS] [optimal] < file-list\n");
    return 2;
  }
  std::unique_ptr<lzh::FileArchiveSink> sink(lzh::FileArchiveSink::Create(argv[1]));
  if (!sink) {
    fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  auto start = std::chrono::steady_clock::now();
  std::vector<std::string> paths;
  std::vector<lzh::NewItem> items;
  lzh::EditPlan plan;
  std::string path;
  while (std::getline(std::cin, path)) {
    if (path.empty()) continue;
    lzh::NewItem item;
    item.info.path = path.compare(0, 2, "./") == 0 ? path.substr(2) : path;
    lzh::EditItem add;
    add.kind = lzh::EditItem::kAddFile;
    add.new_index = items.size();
    plan.push_back(add);
    items.push_back(item);
    paths.push_back(path);
  }
  size_t failed = SIZE_MAX;
  lzh::OpenItemFn open = [&](size_t index) {
    return std::unique_ptr<lzh::ByteSource>(lzh::StdioSource::Open(paths[index].c_str()));
  };
  lzh::EditOptions options;
  options.writer.method = argv[2];
  if (optimal) options.writer.parse = lzh::ParseMode::kOptimal;
  options.threads = argc == 4 ? static_cast<unsigned>(atoi(argv[3])) : 1;
  lzh::WriteStatus status = lzh::RunEditPlan(plan, nullptr, {}, items, open, *sink, options, &failed);
  if (status != lzh::WriteStatus::kOk) {
    fprintf(stderr, "%s: %s\n", failed < paths.size() ? paths[failed].c_str() : argv[1], lzh::WriteStatusText(status));
    return 1;
  }
  if (!sink->Close()) return 1;
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  printf("%llu %.3f\n", static_cast<unsigned long long>(sink->Position()), seconds);
  return 0;
}
