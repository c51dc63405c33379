// Compresses files on worker threads ahead of the archive writer, which
// takes the results one by one in the order the files were queued: the
// archive comes out the same whatever the number of threads. A fixed number
// of files are in flight at once, each with its compressed bytes held (in
// memory up to a limit, past it in a scratch file) until the writer takes
// them; each worker has one encoder of its own.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "archiver/lzh/encoder.h"
#include "archiver/lzh/held_output.h"
#include "archiver/lzh/io.h"
#include "archiver/lzh/sync.h"

namespace lzh {

// Threads to compress on: `wanted`, or one per core when 0; at least 1, at
// most 16 (each holds its own tables and in-flight files).
unsigned CompressionThreads(unsigned wanted);

class ParallelCompressor {
 public:
  struct Options {
    unsigned threads = 2;
    const char* method = "-lh5-";
    ParseMode parse = ParseMode::kLazy;
    size_t held_in_memory = size_t{4} << 20;  // per file in flight, within a total
    ScratchFactory scratch;                    // null: tmpfile()
  };

  // What became of a queued file, valid until Release().
  struct Finished {
    EncodeResult result;            // kOk or kLimitReached (store the file)
    uint64_t size = 0;              // of the file
    ByteSource* source = nullptr;   // the file, for storing it (kLimitReached only)
    HeldOutput* data = nullptr;     // the compressed bytes
  };

  explicit ParallelCompressor(const Options& options);
  // Stops the workers (a file being compressed is abandoned) and waits for them.
  ~ParallelCompressor();
  ParallelCompressor(const ParallelCompressor&) = delete;
  ParallelCompressor& operator=(const ParallelCompressor&) = delete;

  // Opens a queued file; called on a worker, so that opening (a trip to the
  // system for every file) runs beside the writer; null when it cannot be read.
  using Opener = std::function<std::unique_ptr<ByteSource>()>;

  // Whether another file may be queued now.
  bool HasRoom() const { return queued_ - released_ < slots_.size(); }
  // Queues a file (only when HasRoom()); returns its ticket: 0, 1, 2...
  size_t Queue(Opener open);

  // Waits for the oldest file not yet released, calling `tick` on this
  // thread now and then (it returns false to cancel: kCancelled). On a
  // failure of any file, returns that failure and its ticket in
  // *failed_ticket; every other worker stops.
  WriteStatus Next(const std::function<bool()>& tick, Finished* finished, size_t* failed_ticket);
  // Done with the file Next() gave: its slot takes another.
  void Release();

  // Input bytes the workers have read; reaches the total of the queued
  // files' sizes once all are done.
  uint64_t BytesRead() const { return bytes_read_.load(); }

 private:
  struct Slot {
    Opener open;
    std::unique_ptr<ByteSource> source;  // kept open only to be stored
    uint64_t size = 0;
    HeldOutput data;
    EncodeResult result;
    bool done = false;
    Slot(size_t memory, const ScratchFactory& scratch) : data(memory, scratch) {}
  };

  void Work();
  void Compress(Encoder& encoder, Slot& slot, size_t ticket);

  Options options_;
  std::vector<std::unique_ptr<Slot>> slots_;  // ticket t lives in slots_[t % size]
  std::vector<std::thread> workers_;
  mutable Mutex mutex_;
  CondVar work_ready_, file_done_;
  size_t queued_ = 0, started_ = 0, released_ = 0;
  bool stopping_ = false;
  bool failed_ = false;
  WriteStatus failure_ = WriteStatus::kOk;
  size_t failed_ticket_ = 0;
  std::atomic<bool> abandon_{false};  // read by the encoders' progress checks
  std::atomic<uint64_t> bytes_read_{0};
};

}  // namespace lzh
