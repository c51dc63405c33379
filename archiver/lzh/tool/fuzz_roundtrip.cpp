// libFuzzer target over the writer and the edits (scripts/fuzz.sh): the input
// chooses the method, header level, parse and files; the archive written must read
// back byte for byte, and so must every archive after a rename, a delete and
// an update of one of its entries. A mismatch aborts.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "archiver/lzh/archive_edit.h"
#include "archiver/lzh/archive_writer.h"
#include "archiver/lzh/header_reader.h"
#include "archiver/lzh/reader.h"

namespace {

const char* const kMethods[] = {"-lh0-", "-lh5-", "-lh6-", "-lh7-"};
const char* const kNames[] = {"a.txt", "dir/b.bin", "dir/sub/C.TXT", "\x95\x5c/d", "e"};

struct File {
  std::string name, data;
};

void Check(bool ok, const char* what) {
  if (ok) return;
  fprintf(stderr, "round trip: %s\n", what);
  abort();
}

lzh::Header Info(const std::string& path, int64_t time) {
  lzh::Header h;
  h.path = path;
  h.unix_time = time;
  h.has_unix_time = true;
  h.dos_time = lzh::UnixToDosTime(time);
  return h;
}

std::unique_ptr<lzh::ByteSource> Source(const std::string& data) {
  return std::unique_ptr<lzh::ByteSource>(
      new lzh::MemorySource(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
}

// Reads every entry; each must match `files` in order.
std::vector<lzh::Header> ReadBack(const std::string& archive, const std::vector<File>& files) {
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  lzh::ArchiveReader reader(&source);
  std::vector<lzh::Header> headers;
  lzh::Header h;
  lzh::Error e;
  while ((e = reader.Next(&h)) == lzh::Error::kOk) {
    Check(headers.size() < files.size(), "more entries than written");
    Check(h.path == files[headers.size()].name, "name differs");
    lzh::StringSink sink;
    Check(reader.Extract(h, &sink) == lzh::Error::kOk, "entry does not extract");
    Check(sink.bytes == files[headers.size()].data, "data differs");
    headers.push_back(h);
  }
  Check(e == lzh::Error::kEndOfArchive && headers.size() == files.size(), "archive ends early");
  return headers;
}

std::string RunPlan(const lzh::EditPlan& plan, const std::string& old, const std::vector<lzh::Header>& entries,
                    const std::vector<lzh::NewItem>& items, const std::vector<File>& item_files,
                    const lzh::WriterOptions& options) {
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(old.data()), old.size());
  lzh::MemoryArchiveSink sink;
  auto open = [&](size_t i) { return Source(item_files[i].data); };
  Check(lzh::RunEditPlan(plan, &source, entries, items, open, sink, options) == lzh::WriteStatus::kOk, "edit fails");
  return sink.bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  lzh::WriterOptions options;
  options.method = kMethods[data[0] & 3];
  options.header_level = static_cast<uint8_t>((data[0] >> 2) % 3);
  options.parse = data[1] & 0x80 ? lzh::ParseMode::kOptimal : lzh::ParseMode::kLazy;
  int edit_target = data[1] & 0x7F;
  // The rest, cut at 0xFF bytes, gives up to five files.
  std::vector<File> files;
  std::string input(reinterpret_cast<const char*>(data) + 2, size - 2);
  for (size_t start = 0; files.size() < 5;) {
    size_t cut = input.find('\xFF', start);
    files.push_back({kNames[files.size()], input.substr(start, cut == std::string::npos ? cut : cut - start)});
    if (cut == std::string::npos) break;
    start = cut + 1;
  }
  lzh::MemoryArchiveSink sink;
  {
    lzh::ArchiveWriter writer(sink, options);
    for (size_t i = 0; i < files.size(); ++i)
      Check(writer.AddFile(Info(files[i].name, 1500000000 + static_cast<int64_t>(i)), *Source(files[i].data)) ==
                lzh::WriteStatus::kOk,
            "add fails");
    Check(writer.Finish() == lzh::WriteStatus::kOk, "finish fails");
  }
  std::string archive = sink.bytes;
  std::vector<lzh::Header> entries = ReadBack(archive, files);
  size_t target = static_cast<size_t>(edit_target) % files.size();

  // Rename.
  std::vector<File> renamed = files;
  renamed[target].name = "renamed/" + std::to_string(edit_target);
  lzh::EditPlan plan;
  Check(lzh::PlanRename(entries, target, renamed[target].name, &plan), "rename refused");
  ReadBack(RunPlan(plan, archive, entries, {}, {}, options), renamed);

  // Delete.
  std::vector<File> kept = files;
  kept.erase(kept.begin() + static_cast<long>(target));
  std::vector<bool> matched;
  plan = lzh::PlanDelete(entries, {files[target].name}, &matched);
  Check(matched.size() == 1 && matched[0], "delete matched nothing");
  ReadBack(RunPlan(plan, archive, entries, {}, {}, options), kept);

  // Update: new content for one entry (in place) and one new file (appended).
  std::vector<File> item_files = {{files[target].name, files[target].data + "updated"}, {"new/file", input}};
  std::vector<lzh::NewItem> items(2);
  for (size_t i = 0; i < 2; ++i) items[i].info = Info(item_files[i].name, 1600000000);
  std::vector<File> updated = files;
  updated[target].data = item_files[0].data;
  updated.push_back(item_files[1]);
  plan = lzh::PlanUpdate(entries, items, true);
  ReadBack(RunPlan(plan, archive, entries, items, item_files, options), updated);
  return 0;
}
