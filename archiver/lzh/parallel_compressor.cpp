#include "archiver/lzh/parallel_compressor.h"

#include <chrono>

#include "archiver/lzh/archive_writer.h"

namespace lzh {

namespace {
// How often the waiting writer looks at progress and Cancel.
constexpr auto kTickInterval = std::chrono::milliseconds(100);
constexpr unsigned kMaxThreads = 16;
// Files in flight per thread. The writer takes files in order, so while it
// waits for a large one the others can only work ahead as far as there are
// free slots: with two a thread, two cores stood idle a third of the time on
// a folder of mixed sizes; with eight they are nearly always busy.
constexpr unsigned kFilesPerThread = 8;
// What all waiting files together keep in memory at most; a file's share
// past that goes to its scratch file.
constexpr size_t kHeldInMemoryTotal = size_t{32} << 20;
}  // namespace

unsigned CompressionThreads(unsigned wanted) {
  if (wanted == 0) wanted = std::thread::hardware_concurrency();
  if (wanted == 0) wanted = 1;
  return wanted < kMaxThreads ? wanted : kMaxThreads;
}

ParallelCompressor::ParallelCompressor(const Options& options) : options_(options) {
  unsigned threads = CompressionThreads(options.threads);
  unsigned slots = kFilesPerThread * threads;
  size_t held = options_.held_in_memory;
  if (held > kHeldInMemoryTotal / slots) held = kHeldInMemoryTotal / slots;
  for (unsigned i = 0; i < slots; i++) slots_.emplace_back(new Slot(held, options_.scratch));
  for (unsigned i = 0; i < threads; i++) workers_.emplace_back([this] { Work(); });
}

ParallelCompressor::~ParallelCompressor() {
  {
    std::lock_guard<Mutex> lock(mutex_);
    stopping_ = true;
  }
  abandon_ = true;
  work_ready_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

size_t ParallelCompressor::Queue(Opener open) {
  std::lock_guard<Mutex> lock(mutex_);
  Slot& slot = *slots_[queued_ % slots_.size()];
  slot.open = std::move(open);
  slot.source.reset();
  slot.size = 0;
  slot.data.Clear();
  slot.result = EncodeResult();
  slot.done = false;
  work_ready_.notify_one();
  return queued_++;
}

void ParallelCompressor::Work() {
  Encoder encoder;
  encoder.set_parse_mode(options_.parse);
  for (;;) {
    size_t ticket;
    {
      std::unique_lock<Mutex> lock(mutex_);
      work_ready_.wait(lock, [this] { return stopping_ || started_ < queued_; });
      if (stopping_) return;
      ticket = started_++;
    }
    Compress(encoder, *slots_[ticket % slots_.size()], ticket);
  }
}

// Runs without the lock: until `done` is set, the slot is this worker's.
void ParallelCompressor::Compress(Encoder& encoder, Slot& slot, size_t ticket) {
  uint64_t counted = 0;
  ProgressCallback progress = [&](uint64_t done) {
    bytes_read_ += done - counted;
    counted = done;
    return !abandon_.load();
  };
  EncodeResult result;
  slot.source = slot.open();
  slot.open = nullptr;
  if (!slot.source) {
    result.status = WriteStatus::kReadFailed;
  } else {
    result = CompressEntry(encoder, options_.method, *slot.source, slot.data, progress);
    // A file given up on early (or stored) still counts whole.
    slot.size = slot.source->Size();
    if (result.status == WriteStatus::kOk || result.status == WriteStatus::kLimitReached)
      bytes_read_ += slot.size - counted;
    // Closed here, beside the other workers, rather than on the writer's
    // thread in turn: under Wine a close is a trip to the server.
    if (result.status != WriteStatus::kLimitReached) slot.source.reset();
  }

  std::lock_guard<Mutex> lock(mutex_);
  slot.result = result;
  slot.done = true;
  bool failed = result.status != WriteStatus::kOk && result.status != WriteStatus::kLimitReached;
  if (failed && !abandon_) {
    // The first failure stops the rest: the archive is lost anyway.
    failed_ = true;
    failure_ = result.status;
    failed_ticket_ = ticket;
    abandon_ = true;
  }
  // Only the writer waits here, for the oldest file: waking it for any other
  // costs two thread switches for nothing.
  if (ticket == released_ || failed_) file_done_.notify_all();
}

WriteStatus ParallelCompressor::Next(const std::function<bool()>& tick, Finished* finished, size_t* failed_ticket) {
  std::unique_lock<Mutex> lock(mutex_);
  if (released_ == queued_) return WriteStatus::kBadHeader;  // nothing queued: a caller's mistake
  Slot& slot = *slots_[released_ % slots_.size()];
  for (;;) {
    if (failed_) {
      *failed_ticket = failed_ticket_;
      return failure_;
    }
    if (slot.done) break;
    file_done_.wait_for(lock, kTickInterval);
    lock.unlock();
    bool go_on = !tick || tick();
    lock.lock();
    if (!go_on) return WriteStatus::kCancelled;
  }
  finished->result = slot.result;
  finished->size = slot.size;
  finished->source = slot.source.get();
  finished->data = &slot.data;
  return WriteStatus::kOk;
}

void ParallelCompressor::Release() {
  std::lock_guard<Mutex> lock(mutex_);
  Slot& slot = *slots_[released_ % slots_.size()];
  slot.open = nullptr;
  slot.source.reset();
  slot.data.Clear();
  released_++;
}

}  // namespace lzh
