// Archives built by the archive writer read back through the archive reader:
// header levels, names, times and attributes, stored fallback, many files,
// failures; and the edit plans (update, delete, rename).
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archiver/lzh/archive_edit.h"
#include "archiver/lzh/archive_writer.h"
#include "archiver/lzh/header_reader.h"
#include "archiver/lzh/header_writer.h"
#include "tests/lzh/read_support.h"

namespace {

using lzh::WriteStatus;

lzh::Header Info(const std::string& path, int64_t unix_time) {
  lzh::Header h;
  h.path = path;
  h.unix_time = unix_time;
  h.has_unix_time = true;
  h.dos_time = lzh::UnixToDosTime(unix_time);
  return h;
}

std::unique_ptr<lzh::MemorySource> SourceOf(const std::string& data) {
  return std::unique_ptr<lzh::MemorySource>(
      new lzh::MemorySource(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
}

std::vector<lzh::Header> Headers(const std::vector<lzhtest::ReadEntry>& entries) {
  std::vector<lzh::Header> h;
  for (const auto& e : entries) h.push_back(e.header);
  return h;
}

// The bytes an entry occupies (header and data).
std::string EntryBytes(const std::string& archive, const lzh::Header& h) {
  return archive.substr(h.header_offset, h.header_size + h.compressed_size);
}

TEST(WriteArchive, HeaderLevelsCarryNamesTimesAndAttributes) {
  const std::string kTable = "\x95\x5c";  // a CP932 character whose second byte is '\'
  for (uint8_t level : {0, 1, 2}) {
    SCOPED_TRACE(static_cast<int>(level));
    lzh::MemoryArchiveSink sink;
    lzh::WriterOptions options;
    options.header_level = level;
    options.method = "-lh6-";
    lzh::ArchiveWriter writer(sink, options);
    std::string text = lzhtest::MakeText(20000, 21);
    lzh::Header a = Info("docs/" + kTable + "/" + kTable + ".txt", 1700000000);
    a.dos_attributes = lzh::kAttrReadOnly | lzh::kAttrArchive;
    a.has_unix_mode = true;
    a.unix_mode = 0100644;
    a.win_create = 0x01D6000000000001ull;
    a.win_modify = 0x01D6000000000002ull;
    a.win_access = 0x01D6000000000003ull;
    ASSERT_EQ(writer.AddFile(a, *SourceOf(text)), WriteStatus::kOk);
    ASSERT_EQ(writer.AddDirectory(Info("docs/" + kTable, 1700000100)), WriteStatus::kOk);
    ASSERT_EQ(writer.AddFile(Info("top.bin", 1600000000), *SourceOf("")), WriteStatus::kOk);
    ASSERT_EQ(writer.Finish(), WriteStatus::kOk);

    lzh::Error end;
    auto entries = lzhtest::ReadAll(sink.bytes, &end);
    ASSERT_EQ(end, lzh::Error::kEndOfArchive);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].header.path, a.path);
    EXPECT_EQ(std::string(entries[0].header.method), "-lh6-");
    EXPECT_EQ(entries[0].error, lzh::Error::kOk);
    EXPECT_TRUE(entries[0].data == text);
    EXPECT_EQ(entries[0].header.unix_time, 1700000000);
    EXPECT_EQ(entries[0].header.dos_attributes & lzh::kAttrReadOnly, lzh::kAttrReadOnly);
    if (level > 0) {
      EXPECT_EQ(entries[0].header.unix_mode, 0100644);
      EXPECT_EQ(entries[0].header.win_create, a.win_create);
      EXPECT_EQ(entries[0].header.win_modify, a.win_modify);
      EXPECT_EQ(entries[0].header.win_access, a.win_access);
    }
    EXPECT_TRUE(entries[1].header.IsDirectory());
    EXPECT_EQ(entries[1].header.path, "docs/" + kTable + "/");
    EXPECT_EQ(std::string(entries[2].header.method), "-lh0-");
    EXPECT_EQ(entries[2].header.original_size, 0u);
    EXPECT_EQ(entries[2].header.path, "top.bin");
    EXPECT_EQ(sink.bytes.back(), '\0');
  }
}

TEST(WriteArchive, EveryLevelTwoHeaderSizeReadsBack) {
  // Name lengths sweep header sizes past multiples of 256, where a header
  // must not begin with a zero byte (that would read as the end marker).
  lzh::MemoryArchiveSink sink;
  lzh::ArchiveWriter writer(sink, lzh::WriterOptions());
  std::vector<std::string> names;
  for (int len = 200; len < 560; len++) {
    names.push_back(std::string(static_cast<size_t>(len % 7), 'd') + (len % 7 ? "/" : "") +
                    std::string(static_cast<size_t>(len), 'a' + len % 26));
    ASSERT_EQ(writer.AddFile(Info(names.back(), 1500000000), *SourceOf("x")), WriteStatus::kOk);
  }
  ASSERT_EQ(writer.Finish(), WriteStatus::kOk);
  lzh::Error end;
  auto entries = lzhtest::ReadAll(sink.bytes, &end);
  EXPECT_EQ(end, lzh::Error::kEndOfArchive);
  ASSERT_EQ(entries.size(), names.size());
  for (size_t i = 0; i < names.size(); i++) {
    EXPECT_EQ(entries[i].header.path, names[i]);
    EXPECT_NE(sink.bytes[entries[i].header.header_offset], '\0') << "header " << i << " reads as the end";
  }
}

TEST(WriteArchive, SizesBeyondFourGibibytesNeedLevelTwo) {
  // Level 2 keeps them whole (extended header 0x42); levels 0 and 1 refuse.
  for (uint64_t size : {uint64_t{0xFFFFFFFF}, uint64_t{0x100000000}, uint64_t{5} << 30}) {
    for (uint8_t level : {0, 1, 2}) {
      lzh::Header h = Info("big/zeros.bin", 1500000000);
      h.level = level;
      h.compressed_size = size;
      h.original_size = size + 1;
      std::string bytes;
      WriteStatus status = lzh::SerializeHeader(h, &bytes);
      bool fits = h.original_size <= 0xFFFFFFFFu;
      if (!fits && level != 2) {
        EXPECT_EQ(status, WriteStatus::kBadHeader) << size << " at level " << int(level);
        continue;
      }
      ASSERT_EQ(status, WriteStatus::kOk) << size << " at level " << int(level);
      auto source = SourceOf(bytes);
      lzh::Header back;
      ASSERT_EQ(lzh::ReadHeader(source.get(), 0, &back), lzh::Error::kOk) << size;
      EXPECT_EQ(back.compressed_size, size);
      EXPECT_EQ(back.original_size, size + 1);
      EXPECT_EQ(back.path, "big/zeros.bin");
    }
  }
}

TEST(WriteArchive, ThousandsOfFilesAndStoredFallback) {
  lzh::MemoryArchiveSink sink;
  lzh::WriterOptions options;
  options.method = "-lh7-";
  uint64_t reported = 0;
  options.progress = [&](uint64_t done) {
    EXPECT_GE(done, reported);
    reported = done;
    return true;
  };
  lzh::ArchiveWriter writer(sink, options);
  std::vector<std::string> contents;
  uint64_t total = 0;
  for (int i = 0; i < 3000; i++) {
    // Every tenth file is noise, which must be stored rather than grown.
    contents.push_back(i % 10 == 9 ? lzhtest::MakeBinary(static_cast<size_t>(i), static_cast<uint32_t>(i), 0)
                                   : lzhtest::MakeText(static_cast<size_t>(i * 7 % 3001), static_cast<uint32_t>(i)));
    total += contents.back().size();
    ASSERT_EQ(writer.AddFile(Info("f/" + std::to_string(i), 1400000000 + i), *SourceOf(contents.back())),
              WriteStatus::kOk);
  }
  ASSERT_EQ(writer.Finish(), WriteStatus::kOk);
  EXPECT_EQ(reported, total);
  lzh::Error end;
  auto entries = lzhtest::ReadAll(sink.bytes, &end);
  EXPECT_EQ(end, lzh::Error::kEndOfArchive);
  ASSERT_EQ(entries.size(), contents.size());
  for (size_t i = 0; i < contents.size(); i++) {
    ASSERT_EQ(entries[i].error, lzh::Error::kOk) << i;
    ASSERT_TRUE(entries[i].data == contents[i]) << i;
    EXPECT_LE(entries[i].header.compressed_size, std::max<uint64_t>(contents[i].size(), 0));
    if (i % 10 == 9 && i > 100) {
      EXPECT_EQ(std::string(entries[i].header.method), "-lh0-");
    }
  }
}

TEST(WriteArchive, StoredFallbackLeavesNoTrailingBytesInAFile) {
  // Noise is tried compressed first, then stored over what that wrote; as
  // the last entry nothing of the attempt may stay behind in the file.
  lzhtest::ScratchDir dir;
  std::string path = dir / "n.lzh";
  std::string noise = lzhtest::MakeBinary(700000, 61, 0);
  std::unique_ptr<lzh::FileArchiveSink> sink(lzh::FileArchiveSink::Create(path.c_str()));
  ASSERT_TRUE(sink);
  lzh::WriterOptions options;
  uint64_t reported = 0;
  options.progress = [&](uint64_t done) {
    EXPECT_GT(done, reported);  // read twice, reported once
    reported = done;
    return true;
  };
  lzh::ArchiveWriter writer(*sink, options);
  lzh::Header written;
  ASSERT_EQ(writer.AddFile(Info("noise", 1), *SourceOf(noise), &written), WriteStatus::kOk);
  ASSERT_EQ(writer.Finish(), WriteStatus::kOk);
  ASSERT_TRUE(sink->Close());
  EXPECT_EQ(std::string(written.method), "-lh0-");
  EXPECT_EQ(reported, noise.size());
  std::string bytes = lzhtest::ReadFile(path);
  EXPECT_EQ(bytes.size(), written.header_size + noise.size() + 1);
  lzh::Error end;
  auto entries = lzhtest::ReadAll(bytes, &end);
  EXPECT_EQ(end, lzh::Error::kEndOfArchive);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries[0].data == noise);
}

class BrokenSink : public lzh::MemoryArchiveSink {
 public:
  explicit BrokenSink(size_t room) : room_(room) {}
  bool Write(const uint8_t* data, size_t size) override {
    if (Position() + size > room_) return false;
    return MemoryArchiveSink::Write(data, size);
  }

 private:
  size_t room_;
};

TEST(WriteArchive, FailuresComeBackAsErrors) {
  std::string text = lzhtest::MakeText(400000, 31);
  {
    BrokenSink sink(5000);
    lzh::ArchiveWriter writer(sink, lzh::WriterOptions());
    EXPECT_EQ(writer.AddFile(Info("a", 1), *SourceOf(text)), WriteStatus::kWriteFailed);
  }
  {
    lzh::MemoryArchiveSink sink;
    lzh::WriterOptions options;
    options.progress = [](uint64_t done) { return done < 100000; };
    lzh::ArchiveWriter writer(sink, options);
    EXPECT_EQ(writer.AddFile(Info("a", 1), *SourceOf(text)), WriteStatus::kCancelled);
  }
  {
    lzh::MemoryArchiveSink sink;
    lzh::WriterOptions options;
    options.header_level = 0;
    lzh::ArchiveWriter writer(sink, options);
    EXPECT_EQ(writer.AddFile(Info(std::string(300, 'n'), 1), *SourceOf("x")), WriteStatus::kBadHeader);
    EXPECT_EQ(writer.AddFile(Info("dir/", 1), *SourceOf("x")), WriteStatus::kBadHeader);
    EXPECT_EQ(writer.AddDirectory(Info("", 1)), WriteStatus::kBadHeader);
  }
}

// An archive of four entries written at level 1 (so copies are visibly raw).
struct OldArchive {
  std::string bytes;
  std::vector<lzh::Header> entries;
  std::vector<std::string> contents;
};

OldArchive MakeOld() {
  OldArchive old;
  lzh::MemoryArchiveSink sink;
  lzh::WriterOptions options;
  options.header_level = 1;
  lzh::ArchiveWriter writer(sink, options);
  const char* names[] = {"Readme.TXT", "src/main.c", "src/\x83\x41.c", "src/"};
  for (int i = 0; i < 4; i++) {
    if (i == 3) {
      writer.AddDirectory(Info(names[i], 1000000000));
      old.contents.push_back("");
    } else {
      old.contents.push_back(lzhtest::MakeText(3000 + 1000 * i, static_cast<uint32_t>(40 + i)));
      writer.AddFile(Info(names[i], 1000000000 + i * 100), *SourceOf(old.contents.back()));
    }
  }
  writer.Finish();
  old.bytes = sink.bytes;
  lzh::Error end;
  old.entries = Headers(lzhtest::ReadAll(old.bytes, &end));
  return old;
}

std::string RunPlan(const lzh::EditPlan& plan, OldArchive& old, const std::vector<lzh::NewItem>& items,
                    const std::vector<std::string>& item_data) {
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(old.bytes.data()), old.bytes.size());
  lzh::MemoryArchiveSink sink;
  lzh::OpenItemFn open = [&](size_t i) -> std::unique_ptr<lzh::ByteSource> { return SourceOf(item_data[i]); };
  EXPECT_EQ(lzh::RunEditPlan(plan, &source, old.entries, items, open, sink, lzh::WriterOptions()),
            WriteStatus::kOk);
  return sink.bytes;
}

TEST(WriteEdit, UpdateReplacesOnlyNewerFilesAndKeepsTheRestByteIdentical) {
  OldArchive old = MakeOld();
  ASSERT_EQ(old.entries.size(), 4u);
  std::vector<lzh::NewItem> items(5);
  std::vector<std::string> data = {"newer readme", "older main", "new file", "", "second byte differs"};
  items[0].info = Info("README.txt", 1000000050);       // same name in other case, newer
  items[1].info = Info("SRC/MAIN.C", 1000000099);       // same as stored time: not newer
  items[2].info = Info("src/new.c", 5);                 // not in the archive: added
  items[3].info = Info("src", 5);                       // directory already there
  items[3].is_directory = true;
  items[4].info = Info("src/\x83\x61.c", 2000000000);   // not the same name as \x83\x41
  std::vector<bool> added;
  lzh::EditPlan plan = lzh::PlanUpdate(old.entries, items, true, &added);
  EXPECT_EQ(added, std::vector<bool>({true, false, true, false, true}));
  std::string bytes = RunPlan(plan, old, items, data);

  lzh::Error end;
  auto entries = lzhtest::ReadAll(bytes, &end);
  ASSERT_EQ(end, lzh::Error::kEndOfArchive);
  ASSERT_EQ(entries.size(), 6u);
  EXPECT_EQ(entries[0].header.path, "README.txt");  // replaced in place
  EXPECT_EQ(entries[0].data, "newer readme");
  EXPECT_EQ(entries[0].header.level, 2);
  for (int i = 1; i < 4; i++) EXPECT_EQ(EntryBytes(bytes, entries[i].header), EntryBytes(old.bytes, old.entries[i]));
  EXPECT_EQ(entries[4].header.path, "src/new.c");
  EXPECT_EQ(entries[5].header.path, "src/\x83\x61.c");
  EXPECT_EQ(entries[5].data, "second byte differs");

  // Without the time rule every matching file is replaced.
  plan = lzh::PlanUpdate(old.entries, items, false, &added);
  EXPECT_TRUE(added[1]);
}

TEST(WriteEdit, EntriesStoredUnderDotAreTheNamesTheyShow) {
  // Archives made from "." store "./a.txt"; users see and address "a.txt".
  EXPECT_TRUE(lzh::SameStoredName("./a.txt", "A.TXT"));
  EXPECT_TRUE(lzh::SameStoredName("./sub/./b.c", "sub\\b.c"));
  EXPECT_TRUE(lzh::SameStoredName("sub//b.c/", "sub/b.c"));
  EXPECT_FALSE(lzh::SameStoredName("./a.txt", "b/a.txt"));
  // 表 is 0x95 0x5C: its second byte is no separator.
  EXPECT_FALSE(lzh::SameStoredName("\x95\x5C" "a", "\x95/a"));

  std::vector<lzh::Header> old = {Info("./a.txt", 100), Info("./sub/b.c", 100)};
  std::vector<lzh::NewItem> items(1);
  items[0].info = Info("a.txt", 200);
  std::vector<bool> added;
  lzh::EditPlan plan = lzh::PlanUpdate(old, items, true, &added);
  ASSERT_EQ(plan.size(), 2u) << "a.txt must replace ./a.txt, not join it";
  EXPECT_EQ(plan[0].kind, lzh::EditItem::kAddFile);
  EXPECT_EQ(plan[1].kind, lzh::EditItem::kCopy);

  std::vector<bool> matched;
  plan = lzh::PlanDelete(old, {"sub\\b.c"}, &matched);
  EXPECT_EQ(matched, std::vector<bool>({true}));
  EXPECT_EQ(plan.size(), 1u);
}

TEST(WriteEdit, DeleteAndRenameTouchNothingElse) {
  OldArchive old = MakeOld();
  std::vector<bool> matched;
  lzh::EditPlan plan = lzh::PlanDelete(old.entries, {"SRC\\Main.c", "nothing"}, &matched);
  EXPECT_EQ(matched, std::vector<bool>({true, false}));
  std::string bytes = RunPlan(plan, old, {}, {});
  lzh::Error end;
  auto entries = lzhtest::ReadAll(bytes, &end);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(bytes, EntryBytes(old.bytes, old.entries[0]) + EntryBytes(old.bytes, old.entries[2]) +
                       EntryBytes(old.bytes, old.entries[3]) + std::string(1, '\0'));

  EXPECT_FALSE(lzh::PlanRename(old.entries, 0, "src/MAIN.c", &plan));  // taken
  EXPECT_FALSE(lzh::PlanRename(old.entries, 9, "x", &plan));
  ASSERT_TRUE(lzh::PlanRename(old.entries, 1, "lib/\x95\x5c.c", &plan));
  bytes = RunPlan(plan, old, {}, {});
  entries = lzhtest::ReadAll(bytes, &end);
  ASSERT_EQ(end, lzh::Error::kEndOfArchive);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[1].header.path, "lib/\x95\x5c.c");
  EXPECT_EQ(entries[1].error, lzh::Error::kOk);
  EXPECT_EQ(entries[1].data, old.contents[1]);
  EXPECT_EQ(entries[1].header.unix_time, old.entries[1].unix_time);
  EXPECT_EQ(bytes.substr(entries[1].header.data_offset, entries[1].header.compressed_size),
            old.bytes.substr(old.entries[1].data_offset, old.entries[1].compressed_size));
  for (int i : {0, 2, 3}) EXPECT_EQ(EntryBytes(bytes, entries[i].header), EntryBytes(old.bytes, old.entries[i]));
}

}  // namespace
