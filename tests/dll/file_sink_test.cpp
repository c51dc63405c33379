// The archive file's buffered writer: headers written again after their
// entry, seeks back and forth across the buffer and its flushes, and a cut
// at the end all leave on disk exactly what a plain byte array would hold.
#include <algorithm>
#include <cstdint>
#include <string>

#include "archiver/win/win_file.h"
#include "archiver/win/wide_text.h"
#include "tests/dll/unlha_fixture.h"

namespace {

using FileSinkTest = UnlhaTest;

TEST_F(FileSinkTest, SeeksAndRewritesLandWhereAPlainArrayWould) {
  uint32_t seed = 7;
  auto next = [&seed](uint32_t range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % range;
  };
  for (int round = 0; round < 3; round++) {
    std::string path = Path("sink" + std::to_string(round) + ".bin");
    std::unique_ptr<winfs::FileSink> sink = winfs::FileSink::CreateNew(winfs::Widen(path), 0);
    ASSERT_TRUE(sink);
    std::string model;
    size_t at = 0;
    for (int step = 0; step < 400; step++) {
      // Small and large writes, and seeks both within the last few bytes
      // (a header put right) and far back (past a flush).
      uint32_t kind = next(10);
      if (kind < 3 && !model.empty()) {
        at = kind == 0 ? model.size() - next((uint32_t)std::min<size_t>(model.size(), 40)) : next((uint32_t)model.size());
        ASSERT_TRUE(sink->Seek(at));
        continue;
      }
      size_t size = kind == 9 ? 70000 + next(40000) : next(300);
      std::string bytes(size, '\0');
      for (char& c : bytes) c = (char)next(256);
      ASSERT_TRUE(sink->Write((const uint8_t*)bytes.data(), size));
      if (at + size > model.size()) model.resize(at + size);
      model.replace(at, size, bytes);
      at += size;
      ASSERT_EQ(sink->Position(), at);
    }
    EXPECT_FALSE(sink->Seek(model.size() + 1));
    if (round > 0) {  // cut at a point inside the data
      at = model.size() - next(round == 1 ? 50 : (uint32_t)model.size() / 2);
      ASSERT_TRUE(sink->Seek(at));
      ASSERT_TRUE(sink->Truncate());
      model.resize(at);
    }
    ASSERT_TRUE(sink->Close());
    EXPECT_TRUE(Read(path) == model) << "round " << round;
  }
}

}  // namespace
