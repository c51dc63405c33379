// Writing an edit plan: old entries are copied on this thread; new files are
// compressed here one by one, or with several threads by a
// ParallelCompressor working ahead of the writer.
#include <cstdint>

#include "archiver/lzh/archive_edit.h"
#include "archiver/lzh/parallel_compressor.h"

namespace lzh {
namespace {

class PlanRun {
 public:
  PlanRun(ByteSource* old_archive, const std::vector<Header>& old_entries, const std::vector<NewItem>& items,
          const OpenItemFn& open_item, const EditOptions& options, size_t* failed_item)
      : old_archive_(old_archive), old_entries_(old_entries), items_(items), open_item_(open_item),
        options_(options), failed_item_(failed_item) {
    if (failed_item_) *failed_item_ = SIZE_MAX;
  }

  WriteStatus OneByOne(const EditPlan& plan, ArchiveSink& sink, unsigned threads);
  WriteStatus Parallel(const EditPlan& plan, ArchiveSink& sink, unsigned threads);

 private:
  WriteStatus CopyOrMakeFolder(ArchiveWriter& writer, const EditItem& item);
  std::unique_ptr<ByteSource> Open(size_t index);
  WriteStatus FailedOn(size_t index, WriteStatus status) {
    if (failed_item_ && (status == WriteStatus::kReadFailed || status == WriteStatus::kBadHeader))
      *failed_item_ = index;
    return status;
  }
  void Started(size_t index) {
    if (options_.item_started) options_.item_started(index);
  }

  ByteSource* old_archive_;
  const std::vector<Header>& old_entries_;
  const std::vector<NewItem>& items_;
  const OpenItemFn& open_item_;
  const EditOptions& options_;
  size_t* failed_item_;
};

WriteStatus PlanRun::CopyOrMakeFolder(ArchiveWriter& writer, const EditItem& item) {
  if (item.kind == EditItem::kAddDirectory) return writer.AddDirectory(items_[item.new_index].info);
  if (!old_archive_ || item.old_index >= old_entries_.size()) return WriteStatus::kReadFailed;
  const Header& entry = old_entries_[item.old_index];
  return item.kind == EditItem::kCopy ? writer.CopyEntry(*old_archive_, entry)
                                      : writer.CopyEntryWithHeader(*old_archive_, entry, item.header);
}

std::unique_ptr<ByteSource> PlanRun::Open(size_t index) { return open_item_ ? open_item_(index) : nullptr; }

// A single file (the only case with threads to spare) is compressed in
// pieces on all of them.
WriteStatus PlanRun::OneByOne(const EditPlan& plan, ArchiveSink& sink, unsigned threads) {
  WriterOptions writer_options = options_.writer;
  writer_options.threads = threads;
  ArchiveWriter writer(sink, writer_options);
  for (const EditItem& item : plan) {
    WriteStatus status;
    if (item.kind == EditItem::kAddFile) {
      Started(item.new_index);
      std::unique_ptr<ByteSource> source = Open(item.new_index);
      if (!source) return FailedOn(item.new_index, WriteStatus::kReadFailed);
      status = writer.AddFile(items_[item.new_index].info, *source);
      if (status != WriteStatus::kOk) return FailedOn(item.new_index, status);
    } else {
      status = CopyOrMakeFolder(writer, item);
      if (status != WriteStatus::kOk) return status;
    }
  }
  return writer.Finish();
}

// The files are queued in archive order as slots come free and opened by
// the workers; the writer takes each compressed file at its turn.
WriteStatus PlanRun::Parallel(const EditPlan& plan, ArchiveSink& sink, unsigned threads) {
  std::vector<size_t> files;  // new item index of every file, in archive order
  for (const EditItem& item : plan)
    if (item.kind == EditItem::kAddFile) files.push_back(item.new_index);

  ParallelCompressor::Options parallel;
  parallel.threads = threads;
  parallel.method = options_.writer.method;
  parallel.parse = options_.writer.parse;
  parallel.held_in_memory = options_.held_in_memory;
  parallel.scratch = options_.scratch;
  ParallelCompressor compressor(parallel);

  // Progress counts what the workers have read; it only ever grows.
  const ProgressCallback& progress = options_.writer.progress;
  auto tick = [&] { return !progress || progress(compressor.BytesRead()); };
  WriterOptions writer_options = options_.writer;
  writer_options.progress = [&](uint64_t) { return tick(); };
  ArchiveWriter writer(sink, writer_options);

  size_t next_queued = 0;
  for (const EditItem& item : plan) {
    while (next_queued < files.size() && compressor.HasRoom()) {
      size_t index = files[next_queued];
      compressor.Queue([this, index] { return Open(index); });
      next_queued++;
    }
    if (item.kind != EditItem::kAddFile) {
      WriteStatus status = CopyOrMakeFolder(writer, item);
      if (status != WriteStatus::kOk) return status;
      continue;
    }
    Started(item.new_index);
    ParallelCompressor::Finished done;
    size_t failed_ticket = 0;
    WriteStatus status = compressor.Next(tick, &done, &failed_ticket);
    if (status != WriteStatus::kOk) {
      if (status == WriteStatus::kCancelled) return status;
      return FailedOn(files[failed_ticket], status);
    }
    status = writer.AddCompressedFile(items_[item.new_index].info, done.size, done.source, done.result, *done.data);
    if (status != WriteStatus::kOk) return FailedOn(item.new_index, status);
    compressor.Release();
    if (!tick()) return WriteStatus::kCancelled;
  }
  return writer.Finish();
}

}  // namespace

WriteStatus RunEditPlan(const EditPlan& plan, ByteSource* old_archive, const std::vector<Header>& old_entries,
                        const std::vector<NewItem>& items, const OpenItemFn& open_item, ArchiveSink& sink,
                        const EditOptions& options, size_t* failed_item) {
  PlanRun run(old_archive, old_entries, items, open_item, options, failed_item);
  size_t files = 0;
  for (const EditItem& item : plan) files += item.kind == EditItem::kAddFile;
  unsigned threads = CompressionThreads(options.threads);
  if (threads < 2 || files < 2) return run.OneByOne(plan, sink, threads);
  // No more workers than files.
  return run.Parallel(plan, sink, files < threads ? static_cast<unsigned>(files) : threads);
}

}  // namespace lzh
