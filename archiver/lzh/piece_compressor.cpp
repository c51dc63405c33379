#include "archiver/lzh/piece_compressor.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/sync.h"

namespace lzh {
namespace {

// How often the waiting caller looks at progress and Cancel.
constexpr auto kTickInterval = std::chrono::milliseconds(100);

// Appends bit streams that end anywhere in a byte, each right after the
// one before.
class BitJoiner {
 public:
  explicit BitJoiner(ByteSink& out) : out_(out) {}

  bool Add(const std::string& bytes, uint8_t tail_bits, int tail_count) {
    const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (count_ == 0) {
      if (!Write(data, bytes.size())) return false;
    } else {
      shifted_.resize(bytes.size());
      for (size_t i = 0; i < bytes.size(); i++) {
        shifted_[i] = static_cast<uint8_t>((acc_ << (8 - count_)) | (data[i] >> count_));
        acc_ = data[i] & ((1u << count_) - 1);
      }
      if (!Write(shifted_.data(), shifted_.size())) return false;
    }
    acc_ = (acc_ << tail_count) | tail_bits;
    count_ += tail_count;
    if (count_ < 8) return true;
    count_ -= 8;
    uint8_t byte = static_cast<uint8_t>(acc_ >> count_);
    acc_ &= (1u << count_) - 1;
    return Write(&byte, 1);
  }

  // Pads the last partial byte with zero bits.
  bool Finish() {
    if (count_ == 0) return true;
    uint8_t byte = static_cast<uint8_t>(acc_ << (8 - count_));
    count_ = 0;
    return Write(&byte, 1);
  }

  uint64_t written() const { return written_; }

 private:
  bool Write(const uint8_t* data, size_t size) {
    written_ += size;
    return size == 0 || out_.Write(data, size);
  }

  ByteSink& out_;
  std::vector<uint8_t> shifted_;
  uint32_t acc_ = 0;
  int count_ = 0;
  uint64_t written_ = 0;
};

struct Piece {
  std::vector<uint8_t> input;  // history, then the piece
  uint64_t history = 0;
  bool last = false;
  StringSink output;
  EncodeResult result;
  bool done = false;
};

class PieceRun {
 public:
  PieceRun(Encoder& encoder, int dict_bits, ByteSource& content, ByteSink& out, const ProgressCallback& progress,
           uint64_t limit)
      : encoder_(encoder), dict_bits_(dict_bits), content_(content), progress_(progress), limit_(limit),
        joiner_(out), size_(content.Size()), pieces_((size_ + kPieceSize - 1) / kPieceSize) {}
  ~PieceRun() { Stop(); }

  EncodeResult OnThisThread();
  EncodeResult OnThreads(unsigned threads);

 private:
  bool Read(uint64_t index, Piece* piece);
  WriteStatus Join(uint64_t index, Piece& piece);
  void Work();
  void Stop();
  EncodeResult Finish(WriteStatus status);
  bool Tick(uint64_t done) { return !progress_ || progress_(done); }

  Encoder& encoder_;
  int dict_bits_;
  ByteSource& content_;
  const ProgressCallback& progress_;
  uint64_t limit_;
  BitJoiner joiner_;
  uint64_t size_, pieces_;
  uint16_t crc_ = 0;

  std::vector<Piece> ring_;
  std::vector<std::thread> workers_;
  Mutex mutex_;
  CondVar work_ready_, piece_done_;
  uint64_t read_ = 0, started_ = 0;
  bool stopping_ = false;
  std::atomic<bool> abandon_{false};
};

// The piece and the window before it; the CRC grows here, in order.
bool PieceRun::Read(uint64_t index, Piece* piece) {
  uint64_t offset = index * kPieceSize;
  uint64_t length = std::min(kPieceSize, size_ - offset);
  piece->history = std::min<uint64_t>(offset, uint64_t{1} << dict_bits_);
  piece->last = index + 1 == pieces_;
  piece->input.resize(static_cast<size_t>(piece->history + length));
  piece->done = false;
  size_t got = content_.ReadAt(offset - piece->history, piece->input.data(), piece->input.size());
  if (got != piece->input.size() || content_.Failed()) return false;
  crc_ = Crc16Update(crc_, piece->input.data() + piece->history, static_cast<size_t>(length));
  return true;
}

// Appends a finished piece; kLimitReached when compressing does not pay.
WriteStatus PieceRun::Join(uint64_t index, Piece& piece) {
  if (piece.result.status != WriteStatus::kOk) return piece.result.status;
  if (!joiner_.Add(piece.output.bytes, piece.result.tail_bits, piece.result.tail_count))
    return WriteStatus::kWriteFailed;
  piece.output.bytes.clear();
  uint64_t consumed = std::min(size_, (index + 1) * kPieceSize);
  if (joiner_.written() > limit_) return WriteStatus::kLimitReached;
  // As the encoder does on its own: input that has not shrunk at all by
  // then is compressed already.
  if (limit_ != UINT64_MAX && consumed >= encoder_.give_up_after() && joiner_.written() >= consumed)
    return WriteStatus::kLimitReached;
  return Tick(consumed) ? WriteStatus::kOk : WriteStatus::kCancelled;
}

EncodeResult PieceRun::Finish(WriteStatus status) {
  EncodeResult result;
  if (status == WriteStatus::kOk && !joiner_.Finish()) status = WriteStatus::kWriteFailed;
  if (status == WriteStatus::kOk && joiner_.written() > limit_) status = WriteStatus::kLimitReached;
  result.status = status;
  result.compressed_size = joiner_.written();
  result.crc = crc_;
  return result;
}

EncodeResult PieceRun::OnThisThread() {
  Piece piece;
  for (uint64_t index = 0; index < pieces_; index++) {
    if (!Read(index, &piece)) return Finish(WriteStatus::kReadFailed);
    MemorySource source(piece.input.data(), piece.input.size());
    uint64_t base = index * kPieceSize, history = piece.history;
    ProgressCallback progress = [&](uint64_t done) { return Tick(base + (done > history ? done - history : 0)); };
    piece.result = encoder_.EncodePiece(dict_bits_, source, history, history, piece.input.size() - history,
                                        piece.output, piece.last, progress);
    WriteStatus status = Join(index, piece);
    if (status != WriteStatus::kOk) return Finish(status);
  }
  return Finish(WriteStatus::kOk);
}

void PieceRun::Work() {
  Encoder encoder;
  encoder.set_parse_mode(encoder_.parse_mode());
  ProgressCallback progress = [this](uint64_t) { return !abandon_.load(); };
  for (;;) {
    uint64_t index;
    {
      std::unique_lock<Mutex> lock(mutex_);
      work_ready_.wait(lock, [this] { return stopping_ || started_ < read_; });
      if (stopping_) return;
      index = started_++;
    }
    // Until `done` is set, the piece is this worker's.
    Piece& piece = ring_[index % ring_.size()];
    MemorySource source(piece.input.data(), piece.input.size());
    EncodeResult result = encoder.EncodePiece(dict_bits_, source, piece.history, piece.history,
                                              piece.input.size() - piece.history, piece.output, piece.last, progress);
    std::lock_guard<Mutex> lock(mutex_);
    piece.result = result;
    piece.done = true;
    piece_done_.notify_all();
  }
}

void PieceRun::Stop() {
  {
    std::lock_guard<Mutex> lock(mutex_);
    stopping_ = true;
  }
  abandon_ = true;
  work_ready_.notify_all();
  for (std::thread& worker : workers_) worker.join();
  workers_.clear();
}

EncodeResult PieceRun::OnThreads(unsigned threads) {
  ring_.resize(2 * threads);
  for (unsigned i = 0; i < threads; i++) workers_.emplace_back([this] { Work(); });
  for (uint64_t joined = 0; joined < pieces_; joined++) {
    while (read_ < pieces_ && read_ - joined < ring_.size()) {
      Piece& piece = ring_[read_ % ring_.size()];
      if (!Read(read_, &piece)) return Finish(WriteStatus::kReadFailed);
      std::lock_guard<Mutex> lock(mutex_);
      read_++;
      work_ready_.notify_one();
    }
    Piece& piece = ring_[joined % ring_.size()];
    {
      std::unique_lock<Mutex> lock(mutex_);
      while (!piece.done) {
        piece_done_.wait_for(lock, kTickInterval);
        lock.unlock();
        bool go_on = Tick(joined * kPieceSize);
        lock.lock();
        if (!go_on) return Finish(WriteStatus::kCancelled);
      }
    }
    WriteStatus status = Join(joined, piece);
    if (status != WriteStatus::kOk) return Finish(status);
  }
  return Finish(WriteStatus::kOk);
}

}  // namespace

EncodeResult CompressInPieces(Encoder& encoder, int dict_bits, ByteSource& content, ByteSink& out,
                              const ProgressCallback& progress, uint64_t limit, unsigned threads) {
  PieceRun run(encoder, dict_bits, content, out, progress, limit);
  uint64_t pieces = (content.Size() + kPieceSize - 1) / kPieceSize;
  if (threads < 2 || pieces < 2) return run.OnThisThread();
  return run.OnThreads(static_cast<unsigned>(std::min<uint64_t>(threads, pieces)));
}

}  // namespace lzh
