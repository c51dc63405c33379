// Edit plans written with several compressing threads: the archive is byte
// for byte the one a single thread writes, whatever the thread count, the
// memory limit or the scratch files; failures, Cancel and progress behave
// as on one thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "archiver/lzh/archive_edit.h"
#include "archiver/lzh/header_reader.h"
#include "tests/lzh/read_support.h"

namespace {

using lzh::WriteStatus;

// A source that counts what is read from it and can fail partway.
class TestSource : public lzh::ByteSource {
 public:
  TestSource(const std::string& data, std::atomic<uint64_t>* read, uint64_t fail_at)
      : data_(data), read_(read), fail_at_(fail_at) {}
  uint64_t Size() const override { return data_.size(); }
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override {
    if (offset + size > fail_at_) {
      failed_ = true;
      return 0;
    }
    size_t n = offset < data_.size() ? std::min(size, data_.size() - static_cast<size_t>(offset)) : 0;
    memcpy(buffer, data_.data() + offset, n);
    *read_ += n;
    return n;
  }
  bool Failed() const override { return failed_; }

 private:
  const std::string& data_;
  std::atomic<uint64_t>* read_;
  uint64_t fail_at_;
  bool failed_ = false;
};

// A few hundred files: empty, tiny, text, incompressible (stored), and
// larger ones that pass the memory limit the tests set.
struct Folder {
  std::vector<lzh::NewItem> items;
  std::vector<std::string> data;
  uint64_t total = 0;

  Folder() {
    for (uint32_t i = 0; i < 300; i++) {
      lzh::NewItem item;
      item.info.path = "dir" + std::to_string(i % 7) + "/file" + std::to_string(i) + ".dat";
      item.info.has_unix_time = true;
      item.info.unix_time = 1600000000 + i;
      std::string content;
      switch (i % 6) {
        case 0: break;  // empty
        case 1: content = lzhtest::MakeText(1 + i % 40, i); break;
        case 2: content = lzhtest::MakeText(3000 + 97 * i, i); break;
        case 3: content = lzhtest::MakeBinary(2000 + 13 * i, i, 0); break;
        case 4: content = lzhtest::MakeBinary(20000 + 11 * i, i, 60); break;
        case 5: content = lzhtest::MakeText(i % 30 == 5 ? 600000 : 9000, i); break;
      }
      if (i % 50 == 10) {
        item.is_directory = true;
        content.clear();
      }
      item.info.original_size = content.size();
      total += item.is_directory ? 0 : content.size();
      items.push_back(item);
      data.push_back(content);
    }
  }
};

struct Outcome {
  std::string bytes;
  WriteStatus status = WriteStatus::kOk;
  size_t failed_item = 0;
  std::vector<uint64_t> progress;
  std::vector<size_t> started;
  int scratch_files = 0;
  uint64_t read = 0;
};

struct RunSetup {
  unsigned threads = 1;
  const char* method = "-lh5-";
  lzh::ParseMode parse = lzh::ParseMode::kLazy;
  size_t held_in_memory = 64 * 1024;
  size_t fail_item = SIZE_MAX;      // its file fails halfway through
  size_t missing_item = SIZE_MAX;   // its file cannot be opened
  bool no_scratch = false;          // scratch files cannot be had
  size_t cancel_after_calls = SIZE_MAX;
};

// Updates an archive of three entries (one replaced) with the folder.
Outcome Write(const Folder& folder, const RunSetup& setup) {
  std::vector<lzh::Header> old_entries(3);
  old_entries[0].path = "dir3/file3.dat";  // replaced by item 3 (newer)
  old_entries[1].path = "kept-a.txt";
  old_entries[2].path = "kept-b.txt";
  std::string old_bytes;
  {
    lzh::MemoryArchiveSink sink;
    lzh::ArchiveWriter writer(sink, lzh::WriterOptions());
    for (lzh::Header& h : old_entries) {
      std::string text = lzhtest::MakeText(5000, 3);
      lzh::MemorySource content(reinterpret_cast<const uint8_t*>(text.data()), text.size());
      EXPECT_EQ(writer.AddFile(h, content, &h), WriteStatus::kOk);
    }
    writer.Finish();
    old_bytes = sink.bytes;
  }
  lzh::MemorySource old_archive(reinterpret_cast<const uint8_t*>(old_bytes.data()), old_bytes.size());

  Outcome run;
  std::atomic<uint64_t> read{0};
  std::atomic<int> scratch_files{0};
  lzh::EditOptions options;
  options.threads = setup.threads;
  options.writer.method = setup.method;
  options.writer.parse = setup.parse;
  options.held_in_memory = setup.held_in_memory;
  options.scratch = [&]() -> std::unique_ptr<lzh::ScratchFile> {
    scratch_files++;
    return setup.no_scratch ? nullptr : lzh::CreateTmpfileScratch();
  };
  options.item_started = [&](size_t index) { run.started.push_back(index); };
  options.writer.progress = [&](uint64_t done) {
    run.progress.push_back(done);
    return run.progress.size() < setup.cancel_after_calls;
  };
  lzh::OpenItemFn open = [&](size_t i) -> std::unique_ptr<lzh::ByteSource> {
    if (i == setup.missing_item) return nullptr;
    uint64_t fail_at = i == setup.fail_item ? folder.data[i].size() / 2 : UINT64_MAX;
    return std::unique_ptr<lzh::ByteSource>(new TestSource(folder.data[i], &read, fail_at));
  };
  lzh::EditPlan plan = lzh::PlanUpdate(old_entries, folder.items, false);
  lzh::MemoryArchiveSink sink;
  run.status = lzh::RunEditPlan(plan, &old_archive, old_entries, folder.items, open, sink, options, &run.failed_item);
  run.bytes = sink.bytes;
  run.scratch_files = scratch_files;
  run.read = read;
  return run;
}

TEST(WriteParallel, ArchivesAreTheSameForAnyThreadCountAndReadBack) {
  Folder folder;
  struct Variant {
    const char* method;
    lzh::ParseMode parse;
  };
  for (Variant v : {Variant{"-lh5-", lzh::ParseMode::kLazy}, Variant{"-lh7-", lzh::ParseMode::kLazy},
                    Variant{"-lh6-", lzh::ParseMode::kOptimal}}) {
    SCOPED_TRACE(testing::Message() << v.method << (v.parse == lzh::ParseMode::kOptimal ? " optimal" : ""));
    RunSetup setup;
    setup.method = v.method;
    setup.parse = v.parse;
    Outcome one = Write(folder, setup);
    ASSERT_EQ(one.status, WriteStatus::kOk);
    EXPECT_EQ(one.progress.back(), folder.total);

    lzh::Error end;
    std::vector<lzhtest::ReadEntry> entries = lzhtest::ReadAll(one.bytes, &end);
    ASSERT_EQ(end, lzh::Error::kEndOfArchive);
    ASSERT_EQ(entries.size(), 2 + folder.items.size());  // two kept, one replaced
    size_t stored = 0, compressed = 0;
    for (const lzhtest::ReadEntry& e : entries) {
      EXPECT_EQ(e.error, lzh::Error::kOk) << e.header.path;
      if (e.header.path.compare(0, 4, "kept") == 0) continue;
      size_t index = std::stoul(e.header.path.substr(e.header.path.find("file") + 4));
      if (folder.items[index].is_directory) continue;
      EXPECT_EQ(e.data, folder.data[index]) << e.header.path;
      std::string m(e.header.method, 5);
      (m == "-lh0-" ? stored : compressed)++;
    }
    EXPECT_GT(stored, 50u);
    EXPECT_GT(compressed, 100u);

    for (unsigned threads : {2u, 8u}) {
      for (size_t memory : {size_t{64} << 10, size_t{8} << 20}) {
        SCOPED_TRACE(testing::Message() << threads << " threads, " << memory << " bytes in memory");
        setup.threads = threads;
        setup.held_in_memory = memory;
        Outcome many = Write(folder, setup);
        ASSERT_EQ(many.status, WriteStatus::kOk);
        EXPECT_TRUE(many.bytes == one.bytes);
        // Larger files waited in scratch files only under the small limit.
        EXPECT_EQ(many.scratch_files > 0, memory < (size_t{1} << 20));
        EXPECT_EQ(many.started, one.started);
        for (size_t k = 1; k < many.progress.size(); k++) ASSERT_LE(many.progress[k - 1], many.progress[k]);
        EXPECT_EQ(many.progress.back(), folder.total);
      }
    }
  }
}

TEST(WriteParallel, AFailingFileStopsTheRestAndIsNamed) {
  Folder folder;
  for (unsigned threads : {1u, 8u}) {
    SCOPED_TRACE(threads);
    RunSetup setup;
    setup.threads = threads;
    setup.fail_item = 152;  // a text file halfway through the folder
    Outcome run = Write(folder, setup);
    EXPECT_EQ(run.status, WriteStatus::kReadFailed);
    EXPECT_EQ(run.failed_item, 152u);
    // Nothing much past the failing file was compressed.
    EXPECT_LT(run.read, folder.total);

    setup.fail_item = SIZE_MAX;
    setup.missing_item = 200;
    run = Write(folder, setup);
    EXPECT_EQ(run.status, WriteStatus::kReadFailed);
    EXPECT_EQ(run.failed_item, 200u);

    // A scratch file is needed for the larger files but cannot be had.
    setup.missing_item = SIZE_MAX;
    setup.no_scratch = true;
    run = Write(folder, setup);
    if (threads == 1) {
      EXPECT_EQ(run.status, WriteStatus::kOk);  // one thread writes straight to the archive
    } else {
      EXPECT_EQ(run.status, WriteStatus::kWriteFailed);
      EXPECT_EQ(run.failed_item, SIZE_MAX);
    }
  }
}

TEST(WriteParallel, CancelStopsEveryWorker) {
  Folder folder;
  for (unsigned threads : {1u, 2u, 8u}) {
    SCOPED_TRACE(threads);
    RunSetup setup;
    setup.threads = threads;
    setup.cancel_after_calls = 3;
    Outcome run = Write(folder, setup);
    EXPECT_EQ(run.status, WriteStatus::kCancelled);
    EXPECT_EQ(run.progress.size(), 3u);  // no progress once cancelled
    EXPECT_LT(run.read, folder.total / 2);
  }
}

}  // namespace
