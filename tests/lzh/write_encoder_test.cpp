// Round trips through the encoder and the library's own decoders, for many
// input shapes at every method and parse, plus the encoder's failure paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/decoder.h"
#include "archiver/lzh/encoder.h"
#include "tests/lzh/read_support.h"

namespace {

using lzh::WriteStatus;

struct Shape {
  const char* name;
  std::string data;
};

std::string Run(size_t size, char c) { return std::string(size, c); }

// Inputs chosen for the places an encoder goes wrong: tiny inputs, single
// symbol tables, every window size, the 65535-symbol block limit (random
// bytes are one symbol each), the input chunk and buffer slide, long runs.
std::vector<Shape> Shapes() {
  std::vector<Shape> s;
  s.push_back({"empty", ""});
  s.push_back({"one byte", "x"});
  s.push_back({"two bytes", "xy"});
  s.push_back({"three equal", "aaa"});
  s.push_back({"four equal", "aaaa"});
  s.push_back({"long zero run", Run(300000, '\0')});
  s.push_back({"run after text", lzhtest::MakeText(5000, 1) + Run(70000, 'q')});
  s.push_back({"random 100k", lzhtest::MakeBinary(100000, 2, 0)});
  for (size_t size : {8191, 8192, 8193, 32767, 32768, 32769, 65535, 65536, 65537})
    s.push_back({"binary window edge", lzhtest::MakeBinary(size, static_cast<uint32_t>(size), 50)});
  for (size_t size : {65533, 65534, 65535, 65536, 131071})
    s.push_back({"random block edge", lzhtest::MakeBinary(size, 7, 0)});
  for (size_t size : {262143, 262144, 262145})
    s.push_back({"text chunk edge", lzhtest::MakeText(size, 3)});
  // Repeats from just inside the largest window across several slides.
  std::string far = lzhtest::MakeBinary(65000, 9, 0);
  s.push_back({"far repeats", far + far + lzhtest::MakeText(200000, 4) + far + far});
  // A match exactly at each window's reach and one byte beyond it.
  for (size_t distance : {8191, 8192, 32767, 32768, 65535, 65536}) {
    std::string head = lzhtest::MakeBinary(300, static_cast<uint32_t>(distance), 0);
    s.push_back({"repeat at window reach",
                 head + lzhtest::MakeBinary(distance - head.size(), 21, 0) + head + "tail"});
  }
  // Periods around the longest match and the tree search's stopping length,
  // and a match that runs on across the parser's chunks.
  for (size_t period : {127, 128, 129, 255, 256, 257}) {
    std::string unit = lzhtest::MakeBinary(period, static_cast<uint32_t>(period), 0), data;
    while (data.size() < 150000) data += unit;
    s.push_back({"periodic", data});
  }
  s.push_back({"several MB mixed", lzhtest::MakeText(1500000, 5) + lzhtest::MakeBinary(1000000, 6, 70) +
                                       Run(100000, 'z') + lzhtest::MakeText(600000, 7)});
  return s;
}

std::string Decode(const char* method, const std::string& packed, size_t size, lzh::Error* err) {
  lzh::MemorySource src(reinterpret_cast<const uint8_t*>(packed.data()), packed.size());
  std::unique_ptr<lzh::Decoder> d = lzh::CreateDecoder(method, &src, 0, packed.size(), err);
  if (!d) return std::string();
  std::string out(size, '\0');
  if (size) *err = d->Decode(reinterpret_cast<uint8_t*>(&out[0]), size);
  return out;
}

TEST(WriteEncoder, RoundTripsEveryShapeAtEveryMethod) {
  lzh::Encoder encoder;  // one encoder for all: state must not leak between inputs
  for (const char* method : {"-lh5-", "-lh6-", "-lh7-"}) {
    for (const Shape& shape : Shapes()) {
      for (lzh::ParseMode mode : {lzh::ParseMode::kOptimal, lzh::ParseMode::kLazy}) {
        SCOPED_TRACE(std::string(method) + " " + shape.name + " " + std::to_string(shape.data.size()) +
                     (mode == lzh::ParseMode::kOptimal ? " optimal" : " lazy"));
        encoder.set_parse_mode(mode);
        lzh::MemorySource src(reinterpret_cast<const uint8_t*>(shape.data.data()), shape.data.size());
        lzh::StringSink sink;
        lzh::EncodeResult r = encoder.Encode(lzh::DictBitsForMethod(method), src, 0, shape.data.size(), sink);
        ASSERT_EQ(r.status, WriteStatus::kOk);
        EXPECT_EQ(r.compressed_size, sink.bytes.size());
        EXPECT_EQ(r.crc, lzh::Crc16(reinterpret_cast<const uint8_t*>(shape.data.data()), shape.data.size()));
        lzh::Error err = lzh::Error::kOk;
        std::string back = Decode(method, sink.bytes, shape.data.size(), &err);
        ASSERT_EQ(err, lzh::Error::kOk);
        ASSERT_TRUE(back == shape.data);
      }
    }
  }
}

TEST(WriteEncoder, CompressesAtOffsetAndUsesTheWindow) {
  // Text compresses well; a block repeated 40 KiB later is only found by the
  // 64 KiB window, so -lh7- must beat -lh5- clearly on it.
  std::string block = lzhtest::MakeBinary(40000, 11, 0);
  std::string data = "prefix" + block + block + block;
  lzh::Encoder encoder;
  size_t sizes[2];
  int i = 0;
  for (int bits : {lzh::kLh5DictBits, lzh::kLh7DictBits}) {
    lzh::MemorySource src(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    lzh::StringSink sink;
    lzh::EncodeResult r = encoder.Encode(bits, src, 6, data.size() - 6, sink);
    ASSERT_EQ(r.status, WriteStatus::kOk);
    lzh::Error err;
    EXPECT_TRUE(Decode(bits == 13 ? "-lh5-" : "-lh7-", sink.bytes, data.size() - 6, &err) == data.substr(6));
    sizes[i++] = sink.bytes.size();
  }
  EXPECT_GT(sizes[0], 110000u);
  EXPECT_LT(sizes[1], 45000u);

  std::string text = lzhtest::MakeText(500000, 12);
  lzh::MemorySource src(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  lzh::StringSink sink;
  ASSERT_EQ(encoder.Encode(lzh::kLh7DictBits, src, 0, text.size(), sink).status, WriteStatus::kOk);
  EXPECT_LT(sink.bytes.size(), text.size() / 4);
}

class FailingSource : public lzh::MemorySource {
 public:
  FailingSource(const std::string& data, uint64_t fail_at)
      : MemorySource(reinterpret_cast<const uint8_t*>(data.data()), data.size()), fail_at_(fail_at) {}
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override {
    if (offset + size > fail_at_) {
      failed_ = true;
      return 0;
    }
    return MemorySource::ReadAt(offset, buffer, size);
  }
  bool Failed() const override { return failed_; }

 private:
  uint64_t fail_at_;
  bool failed_ = false;
};

class FailingSink : public lzh::ByteSink {
 public:
  explicit FailingSink(size_t room) : room_(room) {}
  bool Write(const uint8_t*, size_t size) override {
    if (size > room_) return false;
    room_ -= size;
    return true;
  }

 private:
  size_t room_;
};

// The optimal parse must pay for its time: clearly smaller than the lazy
// one on text and on binaries with repeats, at every window size.
TEST(WriteEncoder, OptimalParseIsSmaller) {
  std::string data = lzhtest::MakeText(300000, 31) + lzhtest::MakeBinary(300000, 32, 60);
  lzh::Encoder encoder;
  for (const char* method : {"-lh5-", "-lh6-", "-lh7-"}) {
    SCOPED_TRACE(method);
    size_t sizes[2];
    for (lzh::ParseMode mode : {lzh::ParseMode::kLazy, lzh::ParseMode::kOptimal}) {
      encoder.set_parse_mode(mode);
      lzh::MemorySource src(reinterpret_cast<const uint8_t*>(data.data()), data.size());
      lzh::StringSink sink;
      ASSERT_EQ(encoder.Encode(lzh::DictBitsForMethod(method), src, 0, data.size(), sink).status, WriteStatus::kOk);
      sizes[mode == lzh::ParseMode::kOptimal] = sink.bytes.size();
    }
    EXPECT_LT(sizes[1], sizes[0] * 0.97);
  }
}

void CheckFailurePaths(lzh::ParseMode mode) {
  std::string data = lzhtest::MakeText(2000000, 13);
  lzh::Encoder encoder;
  encoder.set_parse_mode(mode);
  {
    FailingSource src(data, 1000000);
    lzh::StringSink sink;
    EXPECT_EQ(encoder.Encode(16, src, 0, data.size(), sink).status, WriteStatus::kReadFailed);
  }
  {
    lzh::MemorySource src(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    FailingSink sink(1000);
    EXPECT_EQ(encoder.Encode(16, src, 0, data.size(), sink).status, WriteStatus::kWriteFailed);
  }
  {
    lzh::MemorySource src(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    lzh::StringSink sink;
    uint64_t last = 0;
    int calls = 0;
    auto progress = [&](uint64_t done) {
      EXPECT_GT(done, last);
      last = done;
      return ++calls < 3;
    };
    EXPECT_EQ(encoder.Encode(16, src, 0, data.size(), sink, progress).status, WriteStatus::kCancelled);
    EXPECT_EQ(calls, 3);
  }
  {
    std::string noise = lzhtest::MakeBinary(600000, 14, 0);
    lzh::MemorySource src(reinterpret_cast<const uint8_t*>(noise.data()), noise.size());
    lzh::StringSink sink;
    lzh::EncodeResult r = encoder.Encode(16, src, 0, noise.size(), sink, nullptr, noise.size() - 1);
    EXPECT_EQ(r.status, WriteStatus::kLimitReached);
    EXPECT_LT(sink.bytes.size(), noise.size());
  }
  {
    // Noise that has not shrunk over the probe length is given up at once
    // when storing is the alternative; text of the same size is not.
    lzh::Encoder prober;
    prober.set_parse_mode(mode);
    prober.set_give_up_after(300000);
    std::string noise = lzhtest::MakeBinary(1500000, 15, 0);
    lzh::MemorySource src(reinterpret_cast<const uint8_t*>(noise.data()), noise.size());
    lzh::StringSink sink;
    lzh::EncodeResult r = prober.Encode(16, src, 0, noise.size(), sink, nullptr, noise.size() - 1);
    EXPECT_EQ(r.status, WriteStatus::kLimitReached);
    EXPECT_LT(sink.bytes.size(), 600000u);
    lzh::MemorySource text(reinterpret_cast<const uint8_t*>(data.data()), 1500000);
    lzh::StringSink text_sink;
    EXPECT_EQ(prober.Encode(16, text, 0, 1500000, text_sink, nullptr, 1500000 - 1).status, WriteStatus::kOk);
  }
  // After all that, the same encoder still works.
  lzh::MemorySource src(reinterpret_cast<const uint8_t*>(data.data()), 300000);
  lzh::StringSink sink;
  ASSERT_EQ(encoder.Encode(15, src, 0, 300000, sink).status, WriteStatus::kOk);
  lzh::Error err;
  EXPECT_TRUE(Decode("-lh6-", sink.bytes, 300000, &err) == data.substr(0, 300000));
}

TEST(WriteEncoder, ReportsReadWriteCancelAndLimit) {
  for (lzh::ParseMode mode : {lzh::ParseMode::kLazy, lzh::ParseMode::kOptimal}) {
    SCOPED_TRACE(mode == lzh::ParseMode::kOptimal ? "optimal" : "lazy");
    CheckFailurePaths(mode);
  }
}

}  // namespace
