// unlha32.dll through its exports, with the command lines the front end
// sends. Archives are made by the library itself (u) or, for names no
// archiver would write, by the LZH writer directly.
#include <algorithm>
#include <functional>
#include <thread>

#include "archiver/lzh/archive_sink.h"
#include "archiver/lzh/archive_writer.h"
#include "tests/dll/unlha_fixture.h"

#include <commctrl.h>

namespace {

const std::string kHyo = Sjis("表");  // 0x95 0x5C: the trail byte is a backslash

std::string Text(size_t size) {
  std::string text;
  while (text.size() < size) text += "The quick brown fox jumps over the lazy dog. ";
  return text.substr(0, size);
}

// Text with enough variety that the two parses differ.
std::string Words(size_t size) {
  static const char* const kWords[] = {"archive ", "header ", "the ", "window ", "of ", "data\r\n", "a "};
  std::string text;
  for (unsigned seed = 1; text.size() < size;) {
    seed = seed * 1103515245u + 12345u;
    text += kWords[(seed >> 16) % 7];
  }
  return text.substr(0, size);
}

// Compressed size of `data` by the library's encoder on its own.
uint64_t PackedSize(const std::string& data, int dict_bits, lzh::ParseMode mode) {
  lzh::Encoder encoder;
  encoder.set_parse_mode(mode);
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(data.data()), data.size());
  lzh::StringSink sink;
  return encoder.Encode(dict_bits, source, 0, data.size(), sink).compressed_size;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// An archive holding entries under the given stored names, written by the
// LZH writer with no questions asked.
std::string RawArchive(const std::vector<std::string>& paths, uint8_t level = 2) {
  lzh::MemoryArchiveSink sink;
  lzh::WriterOptions options;
  options.header_level = level;
  lzh::ArchiveWriter writer(sink, options);
  for (const std::string& path : paths) {
    lzh::Header info;
    info.path = path;
    info.dos_time = (46u << 25) | (4u << 21) | (5u << 16) | (13u << 11) | (4u << 5) | 2u;
    std::string content = "content of " + path;
    info.original_size = content.size();
    lzh::MemorySource source((const uint8_t*)content.data(), content.size());
    EXPECT_EQ(writer.AddFile(info, source), lzh::WriteStatus::kOk) << path;
  }
  EXPECT_EQ(writer.Finish(), lzh::WriteStatus::kOk);
  return sink.bytes;
}

}  // namespace

class NestedArchive : public UnlhaTest {
 protected:
  void SetUp() override {
    UnlhaTest::SetUp();
    Write("src\\top.txt", Text(5000));
    Write("src\\doc\\a.txt", Text(300));
    Write("src\\doc\\Read Me.txt", "read me");
    Write("src\\doc\\img\\" + kHyo + ".bin", Bytes(2000, 7));
    Write("src\\two words\\w.txt", "w");
    CreateDirectoryA(Path("src\\empty").c_str(), nullptr);
    CreateDirectoryA(Path("work").c_str(), nullptr);
    archive_ = Path("a.lzh");
    ASSERT_EQ(Run("u -r  -w" + Path("work") + " " + archive_ + "  " + Path("src\\*.*")), 0) << BoxTexts()[0];
  }
  std::string archive_;
};

TEST_F(NestedArchive, ExportsAndRecords) {
  EXPECT_GE(lib_.GetVersion() & 0xFFFF, 22);
  EXPECT_TRUE(lib_.SetCursorMode != nullptr && lib_.ConfigDialog != nullptr);
  EXPECT_EQ(lib_.GetRunning(), 0);
  EXPECT_TRUE(lib_.CheckArchive(archive_.c_str(), 0));
  EXPECT_FALSE(lib_.CheckArchive(Path("src\\top.txt").c_str(), 0));

  std::vector<std::string> names = Names(archive_);
  EXPECT_TRUE(Contains(names, "top.txt"));
  EXPECT_TRUE(Contains(names, "doc\\Read Me.txt"));
  EXPECT_TRUE(Contains(names, "doc\\img\\" + kHyo + ".bin")) << Utf8(names.back());
  EXPECT_TRUE(Contains(names, "empty\\"));

  // Field offsets as the front end reads them.
  HANDLE handle = lib_.OpenArchive(owner_, archive_.c_str(), 0x102);
  ASSERT_TRUE(handle);
  unsigned char raw[560];
  bool found = false;
  for (int r = lib_.FindFirst(handle, "*.*", (EntryRecord560*)raw); r != -1;
       r = lib_.FindNext(handle, (EntryRecord560*)raw)) {
    if (std::string((char*)raw + 26) != "top.txt") continue;
    found = true;
    EXPECT_EQ(*(DWORD*)raw, 5000u);
    EXPECT_LT(*(DWORD*)(raw + 4), 5000u);  // text compresses
    WIN32_FILE_ATTRIBUTE_DATA data;
    GetFileAttributesExA(Path("src\\top.txt").c_str(), GetFileExInfoStandard, &data);
    FILETIME local;
    WORD date, time;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    EXPECT_EQ(*(WORD*)(raw + 22), date);
    EXPECT_EQ(*(WORD*)(raw + 24) & ~1, time & ~1);
  }
  lib_.CloseArchive(handle);
  EXPECT_TRUE(found);
}

TEST_F(NestedArchive, ListingFitsTheBuffer) {
  ASSERT_EQ(Run("l " + archive_), 0);
  EXPECT_NE(output.find("doc\\Read Me.txt"), std::string::npos) << output;
  EXPECT_NE(output.find("5 files"), std::string::npos) << output;

  // A short buffer gets whole lines only, zero-terminated, and no more.
  char small[200];
  memset(small, 'Z', sizeof small);
  ASSERT_EQ(lib_.Unlha(owner_, ("l " + archive_).c_str(), small, 120), 0);
  size_t length = strlen(small);
  EXPECT_LT(length, 120u);
  EXPECT_TRUE(length == 0 || small[length - 1] == '\n');
  EXPECT_EQ(small[120], 'Z');
}

TEST_F(NestedArchive, ExtractsNamedEntriesWithAndWithoutDirectories) {
  std::string out = Path("out\\");
  ASSERT_EQ(Run("x -r1xp  " + archive_ + " " + out + " doc\\a.txt \"doc\\Read Me.txt\" DOC\\IMG\\" + kHyo + ".BIN "), 0);
  EXPECT_EQ(FilesBelow(out), (std::vector<std::string>{"doc\\Read Me.txt", "doc\\a.txt", "doc\\img\\" + kHyo + ".bin"}));
  EXPECT_EQ(Read(out + "doc\\img\\" + kHyo + ".bin"), Bytes(2000, 7));

  // Extracted files carry the entry's time.
  WIN32_FILE_ATTRIBUTE_DATA source, copy;
  GetFileAttributesExA(Path("src\\doc\\a.txt").c_str(), GetFileExInfoStandard, &source);
  GetFileAttributesExA((out + "doc\\a.txt").c_str(), GetFileExInfoStandard, &copy);
  LONGLONG difference = ((LONGLONG)source.ftLastWriteTime.dwHighDateTime << 32 | source.ftLastWriteTime.dwLowDateTime) -
                        ((LONGLONG)copy.ftLastWriteTime.dwHighDateTime << 32 | copy.ftLastWriteTime.dwLowDateTime);
  EXPECT_LT(difference < 0 ? -difference : difference, 20000000LL);

  // e -p: one unquoted name with a blank, no directories; an existing file
  // is replaced once the question says yes.
  std::string flat = Path("flat\\");
  CreateDirectoryA(flat.c_str(), nullptr);
  Write("flat\\Read Me.txt", "old content that is longer");
  boxes_.QueueAnswer(IDYES);
  ASSERT_EQ(Run("e -p  " + archive_ + " " + flat + " doc\\Read Me.txt"), 0);
  EXPECT_EQ(FilesBelow(flat), std::vector<std::string>{"Read Me.txt"});
  EXPECT_EQ(Read(flat + "Read Me.txt"), "read me");
  EXPECT_EQ(BoxTexts().size(), 1u);
}

TEST_F(NestedArchive, ExtractsADirectoryOrEverything) {
  ASSERT_EQ(Run("x -r2xp " + archive_ + " " + Path("d1\\") + " doc\\*.* doc\\*"), 0);
  EXPECT_EQ(FilesBelow(Path("d1\\")),
            (std::vector<std::string>{"doc\\Read Me.txt", "doc\\a.txt", "doc\\img\\" + kHyo + ".bin"}));

  ASSERT_EQ(Run("x -r2xp " + archive_ + " " + Path("d2\\") + " doc\\img\\*.* doc\\img\\*"), 0);
  EXPECT_EQ(FilesBelow(Path("d2\\")), std::vector<std::string>{"doc\\img\\" + kHyo + ".bin"});

  // A directory with a blank arrives unquoted in both patterns.
  ASSERT_EQ(Run("x -r2xp " + archive_ + " " + Path("d4\\") + " two words\\*.* two words\\*"), 0);
  EXPECT_EQ(FilesBelow(Path("d4\\")), std::vector<std::string>{"two words\\w.txt"});

  ASSERT_EQ(Run("x -r2xp " + archive_ + " " + Path("d3\\") + " \\*.* \\*"), 0);
  EXPECT_EQ(FilesBelow(Path("d3\\")).size(), 5u);
  EXPECT_EQ(Read(Path("d3\\top.txt")), Text(5000));
  EXPECT_TRUE(Exists(Path("d3\\empty")));
}

TEST_F(UnlhaTest, UnquotedPathsWithBlanks) {
  Write("My Files\\one.txt", "one");
  Write("My Files\\two words.txt", "two");
  CreateDirectoryA(Path("Work Dir").c_str(), nullptr);
  std::string archive = Path("My Files\\my archive.lzh");
  ASSERT_EQ(Run("u -n -w" + Path("Work Dir") + " " + archive + "  " + Path("My Files\\one.txt") + " \"" +
                Path("My Files\\two words.txt") + "\""),
            0)
      << BoxTexts()[0];
  EXPECT_EQ(Names(archive), (std::vector<std::string>{"one.txt", "two words.txt"}));

  std::string out = Path("Out Dir\\");
  ASSERT_EQ(Run("x -r1xp  " + archive + " " + out + " one.txt \"two words.txt\" "), 0);
  EXPECT_EQ(Read(out + "two words.txt"), "two");
  ASSERT_EQ(Run("e -p  " + archive + " " + Path("Other Out\\") + " two words.txt"), 0);
  EXPECT_EQ(Read(Path("Other Out\\two words.txt")), "two");

  ASSERT_EQ(Run("d -p -w" + Path("Work Dir") + " " + archive + "  one.txt"), 0);
  EXPECT_EQ(Names(archive), std::vector<std::string>{"two words.txt"});
  EXPECT_TRUE(FilesBelow(Path("Work Dir\\")).empty());
  EXPECT_EQ(Run("l " + archive), 0);
  EXPECT_NE(output.find("two words.txt"), std::string::npos);
}

// Absolute names, as DOS, Mac and Unix archivers store them, are made
// relative and extracted inside the destination like every peer does; only
// names that climb out are refused and reported.
TEST_F(UnlhaTest, HostileNamesAreRefusedAndReported) {
  std::string bytes = RawArchive({"../../evil.txt", "C:/drive.txt", "/abs.txt", "dir/../../up.txt", "ok.txt",
                                 "what?.txt", "C:\\dir\\file", "/dir/other"});
  Write("hostile.lzh", bytes);
  std::string out = Path("deep\\out\\");
  int result = Run("x -r2xp " + Path("hostile.lzh") + " " + out + " \\*.* \\*");
  EXPECT_GE(result, 0x8000);
  EXPECT_EQ(FilesBelow(Path("")),
            (std::vector<std::string>{"deep\\out\\abs.txt", "deep\\out\\dir\\file", "deep\\out\\dir\\other",
                                      "deep\\out\\drive.txt", "deep\\out\\ok.txt", "deep\\out\\what_.txt",
                                      "hostile.lzh"}));
  std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("evil.txt"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find("up.txt"), std::string::npos) << boxes[0];
  EXPECT_EQ(boxes[0].find("abs.txt"), std::string::npos) << boxes[0];
  EXPECT_EQ(boxes_.Count(), 0u);

  // The same with e: no directories, still refused.
  EXPECT_NE(Run("e -p  " + Path("hostile.lzh") + " " + out + " ../../evil.txt"), 0);
  EXPECT_FALSE(Exists(out + "evil.txt"));
}

// jlha stores "./" and "./sub/" for an archive made from ".": the root entry
// is neither listed nor reported, the others read as if stored without "./";
// a file entry whose name maps to nothing is still refused.
TEST_F(UnlhaTest, ArchiveMadeFromDotReadsWithoutItsDotEntries) {
  Write("src\\a.txt", "alpha");
  Write("src\\sub\\b.txt", "beta");
  ASSERT_EQ(RunUnix("cd '" + UnixPath(Path("src")) + "' && jlha a ../dot.lzh ."), 0);
  std::string archive = Path("dot.lzh");
  EXPECT_EQ(Names(archive), (std::vector<std::string>{"sub\\", "sub\\b.txt", "a.txt"}));

  std::string out = Path("out\\");
  EXPECT_EQ(Run("x -r2xp " + archive + " " + out + " \\*.* \\*"), 0);
  EXPECT_EQ(FilesBelow(out), (std::vector<std::string>{"a.txt", "sub\\b.txt"}));
  EXPECT_EQ(Run("e -p  " + archive + " " + Path("flat\\") + " sub\\b.txt"), 0);
  EXPECT_EQ(Read(Path("flat\\b.txt")), "beta");
  EXPECT_EQ(Run("l " + archive), 0);
  EXPECT_EQ(output.find(".\\sub"), std::string::npos) << output;
  EXPECT_TRUE(BoxTexts().empty());

  Write("dotfile.lzh", RawArchive({".", "ok.txt"}));
  EXPECT_GE(Run("x -r2xp " + Path("dotfile.lzh") + " " + Path("out2\\") + " \\*.* \\*"), 0x8000);
  EXPECT_EQ(FilesBelow(Path("out2\\")), std::vector<std::string>{"ok.txt"});
  EXPECT_EQ(BoxTexts().size(), 1u);
}

TEST_F(UnlhaTest, UpdateReplacesOnlyNewerFilesAndMoveDeletesSources) {
  Write("f1.txt", "first");
  Write("f2.txt", "second");
  std::string archive = Path("u.lzh"), work = Path("").substr(0, Path("").size() - 1);
  ASSERT_EQ(Run("u -n -w" + work + " " + archive + "  " + Path("f1.txt") + " " + Path("f2.txt")), 0);
  EXPECT_EQ(Names(archive), (std::vector<std::string>{"f1.txt", "f2.txt"}));

  // A newer f1 replaces the entry; an older f2 does not.
  auto set_time = [&](const std::string& name, int hours) {
    HANDLE file = CreateFileA(Path(name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value = {{now.dwLowDateTime, now.dwHighDateTime}};
    value.QuadPart += (LONGLONG)hours * 36000000000LL;
    FILETIME when = {value.LowPart, value.HighPart};
    SetFileTime(file, nullptr, nullptr, &when);
    CloseHandle(file);
  };
  Write("f1.txt", "first, changed");
  set_time("f1.txt", 2);
  Write("f2.txt", "second, older");
  set_time("f2.txt", -48);
  ASSERT_EQ(Run("u -n -w" + work + " " + archive + "  " + Path("f1.txt") + " " + Path("f2.txt")), 0);
  ASSERT_EQ(Run("e -p  " + archive + " " + Path("check\\") + " f1.txt f2.txt "), 0);
  EXPECT_EQ(Read(Path("check\\f1.txt")), "first, changed");
  EXPECT_EQ(Read(Path("check\\f2.txt")), "second");

  // Two files of one name: the one named last is stored, once.
  Write("a\\same.txt", "from a");
  Write("b\\same.txt", "from b");
  ASSERT_EQ(Run("u -n -w" + work + " " + archive + "  " + Path("a\\same.txt") + " " + Path("b\\same.txt")), 0);
  std::vector<std::string> listed = Names(archive);
  EXPECT_EQ(std::count(listed.begin(), listed.end(), "same.txt"), 1);
  ASSERT_EQ(Run("e -p  " + archive + " " + Path("check\\") + " same.txt"), 0);
  EXPECT_EQ(Read(Path("check\\same.txt")), "from b");

  // m -n: the new file goes in and its source goes away.
  Write("f3.txt", "third");
  ASSERT_EQ(Run("m -n -w" + work + " " + archive + "  " + Path("f3.txt")), 0);
  EXPECT_FALSE(Exists(Path("f3.txt")));
  EXPECT_TRUE(Contains(Names(archive), "f3.txt"));

  // m -rx: a folder under its own name, then the folder is gone.
  Write("tree\\x.txt", "x");
  Write("tree\\sub\\y.txt", "y");
  ASSERT_EQ(Run("m -rx  -w" + work + " " + archive + "  " + Path("tree\\*.*")), 0);
  std::vector<std::string> names = Names(archive);
  EXPECT_TRUE(Contains(names, "tree\\x.txt"));
  EXPECT_TRUE(Contains(names, "tree\\sub\\y.txt"));
  EXPECT_FALSE(Exists(Path("tree")));

  // u -r: the folder's content relative to it.
  Write("flat\\z.txt", "z");
  ASSERT_EQ(Run("u -r  -w" + work + " " + archive + "  " + Path("flat\\*.*")), 0);
  EXPECT_TRUE(Contains(Names(archive), "z.txt"));
  EXPECT_TRUE(Exists(Path("flat\\z.txt")));
  EXPECT_TRUE(BoxTexts().empty());
}

// u -r through links made on the Linux side: one that leads back up the tree
// and one to a folder already walked are not followed; one to a folder
// outside is, once.
TEST_F(UnlhaTest, RecursiveUpdateEntersEachFolderOnce) {
  Write("loop\\a.txt", "a");
  Write("loop\\sub\\b.txt", "b");
  Write("outside\\c.txt", "c");
  CreateDirectoryA(Path("work").c_str(), nullptr);
  // The links go before the fixture removes the folder (which would follow them).
  std::string loop = UnixPath(Path("loop"));
  struct AtEnd {
    std::function<void()> run;
    ~AtEnd() { run(); }
  } unlink_at_end{[&] { RunUnix("cd '" + loop + "' && rm -f sub/up again ext"); }};
  ASSERT_EQ(RunUnix("cd '" + loop + "' && ln -s .. sub/up && ln -s sub again && ln -s ../outside ext"),
            0);
  std::string archive = Path("loop.lzh");
  ASSERT_EQ(Run("u -r  -w" + Path("work") + " " + archive + "  " + Path("loop\\*.*")), 0) << BoxTexts()[0];
  std::vector<std::string> names = Names(archive);
  std::sort(names.begin(), names.end());
  // "again" and "sub" are one folder: whichever the walk met first is stored.
  std::vector<std::string> with_sub = {"a.txt", "ext\\", "ext\\c.txt", "sub\\", "sub\\b.txt"};
  std::vector<std::string> with_again = {"a.txt", "again\\", "again\\b.txt", "ext\\", "ext\\c.txt"};
  EXPECT_TRUE(names == with_sub || names == with_again) << ::testing::PrintToString(names);
}

TEST_F(UnlhaTest, FailedUpdateLeavesTheArchiveByteIdentical) {
  Write("keep.txt", Text(4000));
  Write("locked.txt", "locked");
  CreateDirectoryA(Path("work").c_str(), nullptr);
  std::string archive = Path("a.lzh");
  ASSERT_EQ(Run("u -n -w" + Path("work") + " " + archive + "  " + Path("keep.txt")), 0);
  std::string before = Read(archive);

  HANDLE lock = CreateFileA(Path("locked.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Write("new.txt", "new");
  int result = Run("u -n -w" + Path("work") + " " + archive + "  " + Path("new.txt") + " " + Path("locked.txt"));
  CloseHandle(lock);
  EXPECT_GE(result, 0x8000);
  EXPECT_EQ(Read(archive), before);
  EXPECT_TRUE(FilesBelow(Path("work\\")).empty());
  std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("locked.txt"), std::string::npos) << boxes[0];

  // m with a failure deletes nothing.
  lock = CreateFileA(Path("locked.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(Run("m -n -w" + Path("work") + " " + archive + "  " + Path("new.txt") + " " + Path("locked.txt")), 0);
  CloseHandle(lock);
  EXPECT_TRUE(Exists(Path("new.txt")));
  EXPECT_EQ(Read(archive), before);
  BoxTexts();
}

TEST_F(UnlhaTest, ErrorsShowOneBoxAndFail) {
  EXPECT_GE(Run("x -r1xp  " + Path("missing.lzh") + " " + Path("out\\") + " a.txt "), 0x8000);
  Write("plain.lzh", "this is not an archive at all");
  EXPECT_GE(Run("l " + Path("plain.lzh")), 0x8000);
  std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].find("書庫が見つかりません"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[1].find("plain.lzh"), std::string::npos) << boxes[1];
  ASSERT_TRUE(boxes_.Seen().empty());

  // A damaged stored entry: CRC error named, nothing left behind.
  Write("noise.bin", Bytes(3000, 3));
  std::string archive = Path("n.lzh");
  ASSERT_EQ(Run("u -n " + archive + "  " + Path("noise.bin")), 0);
  std::string bytes = Read(archive);
  bytes[bytes.size() - 100] ^= 0x55;
  Write("n.lzh", bytes);
  std::string out = Path("out\\");
  EXPECT_EQ(Run("e -p  " + archive + " " + out + " noise.bin"), 0x800C);
  EXPECT_TRUE(FilesBelow(out).empty());
  boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("CRC"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find("noise.bin"), std::string::npos) << boxes[0];

  // Names that match nothing are reported; the rest is extracted.
  ASSERT_EQ(Run("u -n " + Path("ok.lzh") + "  " + Path("plain.lzh")), 0);
  EXPECT_EQ(Run("x -r1xp  " + Path("ok.lzh") + " " + out + " plain.lzh nothere.txt "), 0x800F);
  EXPECT_TRUE(Exists(out + "plain.lzh"));
  boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("nothere.txt"), std::string::npos);
}

TEST_F(UnlhaTest, RenameAsksInTheLibrarysDialog) {
  Write("doc\\old name.txt", "payload");
  std::string archive = Path("r.lzh");
  ASSERT_EQ(Run("u -rx  " + archive + "  " + Path("doc\\*.*")), 0);
  ASSERT_EQ(Names(archive), (std::vector<std::string>{"doc\\", "doc\\old name.txt"}));
  std::string before = Read(archive);

  // Cancel changes nothing.
  boxes_.QueueAnswer(IDCANCEL);
  EXPECT_NE(Run("n  " + archive + " doc\\old name.txt"), 0);
  EXPECT_EQ(Read(archive), before);
  std::vector<SeenDialog> seen = boxes_.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].owner, owner_);
  boxes_.Clear();

  // OK with a new name; the flag says busy while the dialog is up.
  int running = -1;
  bool prefilled = false, held_elsewhere = false;
  boxes_.QueueAction([&](HWND dialog, const SeenDialog&) {
    running = lib_.GetRunning();
    // What another process sees: the named mutex is held.
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "Vantrel.unlha32.Running");
    held_elsewhere = mutex && WaitForSingleObject(mutex, 0) == WAIT_TIMEOUT;
    if (mutex) CloseHandle(mutex);
    char text[600] = "";
    GetDlgItemTextA(dialog, 1010, text, sizeof text);
    prefilled = std::string(text) == "old name.txt";  // the name; its folder stays
    // Its last byte, 0x5C, is the second of a character, not a separator.
    SetDlgItemTextA(dialog, 1010, ("new " + kHyo).c_str());
    return IDOK;
  });
  ASSERT_EQ(Run("n  " + archive + " DOC\\OLD NAME.TXT"), 0);
  EXPECT_EQ(running, 1);
  EXPECT_TRUE(held_elsewhere);
  EXPECT_TRUE(prefilled);
  EXPECT_EQ(lib_.GetRunning(), 0);
  EXPECT_EQ(Names(archive), (std::vector<std::string>{"doc\\", "doc\\new " + kHyo}));
  ASSERT_EQ(Run("e -p  " + archive + " " + Path("out\\") + " \"doc\\new " + kHyo + "\""), 0);
  EXPECT_EQ(Read(Path("out\\") + "new " + kHyo), "payload");
  boxes_.Clear();

  // A name that climbs out is refused over the box, which stays open for a
  // correction; a name with a folder is taken from the root.
  boxes_.QueueAction([&](HWND dialog, const SeenDialog&) {
    SetDlgItemTextA(dialog, 1010, "..\\escape.txt");
    return IDOK;
  });
  std::string refusal;
  boxes_.QueueAction([&](HWND, const SeenDialog& box) {
    refusal = box.text;
    SetDlgItemTextA(box.owner, 1010, "top\\fixed.txt");
    PostMessageA(box.owner, WM_COMMAND, IDOK, 0);
    return IDOK;
  });
  ASSERT_EQ(Run("n  " + archive + " \"doc\\new " + kHyo + "\""), 0);
  EXPECT_NE(refusal.find("..\\escape.txt"), std::string::npos) << refusal;
  EXPECT_EQ(Names(archive), (std::vector<std::string>{"doc\\", "top\\fixed.txt"}));
}

TEST_F(UnlhaTest, SelfExtractingArchives) {
  Write("src\\a.txt", Text(2000));
  Write("src\\sub\\b.txt", "bee");
  std::string archive = Path("sfx.lzh");
  ASSERT_EQ(Run("u -r  " + archive + "  " + Path("src\\*.*")), 0);
  std::vector<std::string> names = Names(archive);

  ASSERT_EQ(Run("s -gw1 " + archive + " "), 0) << BoxTexts()[0];
  std::string exe = Path("sfx.exe");
  std::string gui = Read(exe);
  EXPECT_EQ(gui.substr(0, 2), "MZ");
  EXPECT_TRUE(lib_.CheckArchive(exe.c_str(), 0));
  EXPECT_EQ(Names(exe), names);

  ASSERT_EQ(Run("s -jw0 -gw0 -o " + archive + " "), 0);
  std::string console = Read(exe);
  EXPECT_NE(console, gui);
  EXPECT_EQ(Names(exe), names);
  EXPECT_EQ(console.substr(console.size() - Read(archive).size()), Read(archive));

  // The console program extracts itself into its current folder.
  std::string out = Path("run\\");
  CreateDirectoryA(out.c_str(), nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  std::string command = "\"" + exe + "\"";
  ASSERT_TRUE(CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                             out.c_str(), &startup, &process));
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  EXPECT_EQ(Read(out + "sub\\b.txt"), "bee");
  EXPECT_EQ(Read(out + "a.txt"), Text(2000));
}

TEST_F(UnlhaTest, SettingsChooseTheMethod) {
  HKEY key;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Vantrel\\unlha32", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  std::string text = Words(200000);
  Write("t.txt", text);
  // Each round: what the dialog shows, what the user picks, what is stored
  // and what the next archive then holds.
  struct Round {
    int method_button;  // 1020..1022
    bool best;
    const char* method;
    int dict_bits;
  };
  const Round rounds[] = {{1022, true, "-lh7-", 16}, {1020, true, "-lh5-", 13}, {1021, false, "-lh6-", 15}};
  bool shown_best = false, previous_best = false;
  for (const Round& round : rounds) {
    SCOPED_TRACE(round.method);
    boxes_.QueueAction([&](HWND dialog, const SeenDialog&) {
      shown_best = IsDlgButtonChecked(dialog, 1044) == BST_CHECKED;
      CheckRadioButton(dialog, 1020, 1022, round.method_button);
      CheckRadioButton(dialog, 1030, 1032, 1031);  // level 1
      CheckDlgButton(dialog, 1044, round.best ? BST_CHECKED : BST_UNCHECKED);
      return IDOK;
    });
    char scratch[1000];
    lib_.ConfigDialog(owner_, scratch, 1);
    EXPECT_EQ(shown_best, previous_best);
    previous_best = round.best;
    DWORD method = 0, best = 2, size = sizeof method;
    RegQueryValueExA(key, "Method", nullptr, nullptr, (BYTE*)&method, &size);
    EXPECT_EQ(method, (DWORD)round.method_button - 1015);
    size = sizeof best;
    RegQueryValueExA(key, "BestCompression", nullptr, nullptr, (BYTE*)&best, &size);
    EXPECT_EQ(best, round.best ? 1u : 0u);

    std::string archive = Path(std::string("m") + round.method + ".lzh");
    ASSERT_EQ(Run("u -n " + archive + "  " + Path("t.txt")), 0);
    HANDLE handle = lib_.OpenArchive(owner_, archive.c_str(), 0);
    EntryRecord560 record;
    ASSERT_EQ(lib_.FindFirst(handle, "*.*", &record), 0);
    EXPECT_STREQ(record.method, round.method);
    lzh::ParseMode mode = round.best ? lzh::ParseMode::kOptimal : lzh::ParseMode::kLazy;
    EXPECT_EQ(record.compressed_size, PackedSize(text, round.dict_bits, mode));
    lzh::ParseMode other = round.best ? lzh::ParseMode::kLazy : lzh::ParseMode::kOptimal;
    EXPECT_NE(record.compressed_size, PackedSize(text, round.dict_bits, other));
    lib_.CloseArchive(handle);
  }
  RegDeleteValueA(key, "Method");
  RegDeleteValueA(key, "HeaderLevel");
  RegDeleteValueA(key, "BestCompression");
  RegCloseKey(key);
}

// The progress window appears during a long command, disables the owner,
// and its Cancel stops the command with the archive left as it was.
TEST_F(UnlhaTest, ProgressWindowCancels) {
  Write("small.txt", "small");
  std::string archive = Path("p.lzh");
  ASSERT_EQ(Run("u -n " + archive + "  " + Path("small.txt")), 0);
  std::string before = Read(archive);
  Write("bigdir\\big.bin", Bytes(12 << 20, 11));

  bool owner_disabled = false;
  std::string caption;
  HWND owner = owner_;
  std::thread canceller([&] {
    WaitFor([&] {
      HWND window = FindWindowA("Unlha32Progress", nullptr);
      if (!window || !IsWindowVisible(window)) return false;
      owner_disabled = !IsWindowEnabled(owner) && GetWindow(window, GW_OWNER) == owner;
      char text[100] = "";
      GetWindowTextA(window, text, sizeof text);
      caption = text;
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      return true;
    }, 60000);
  });
  // (-n would ask for no window.) The window shows at once: this file may
  // compress within the usual delay.
  SetEnvironmentVariableA("UNLHA32_PROGRESS_AFTER", "0");
  int result = Run("u -r  -w" + Path("bigdir") + " " + archive + "  " + Path("bigdir\\*.*"));
  SetEnvironmentVariableA("UNLHA32_PROGRESS_AFTER", nullptr);
  canceller.join();
  EXPECT_EQ(result, 0x8020);
  EXPECT_TRUE(owner_disabled);
  EXPECT_EQ(caption, "UNLHA32.DLL");
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(Read(archive), before);
  EXPECT_EQ(FilesBelow(Path("")), (std::vector<std::string>{"bigdir\\big.bin", "p.lzh", "small.txt"}));
  EXPECT_EQ(boxes_.Count(), 0u);
}

// What the progress window was told, seen by a hook on this thread's calls
// to window procedures.
struct ProgressSeen {
  int name_texts = 0, bar_moves = 0;
  std::string last_name;
  std::vector<int> positions;
};
ProgressSeen* g_progress_seen = nullptr;

LRESULT CALLBACK WatchProgress(int code, WPARAM wparam, LPARAM lparam) {
  const CWPSTRUCT* call = (const CWPSTRUCT*)lparam;
  char parent[64] = "";
  GetClassNameA(GetParent(call->hwnd), parent, sizeof parent);
  if (code == HC_ACTION && g_progress_seen && !strcmp(parent, "Unlha32Progress")) {
    if (call->message == PBM_SETPOS) {
      g_progress_seen->bar_moves++;
      g_progress_seen->positions.push_back((int)call->wParam);
    } else if (call->message == WM_SETTEXT && GetDlgCtrlID(call->hwnd) == 1001) {
      g_progress_seen->name_texts++;
      g_progress_seen->last_name = (const char*)call->lParam;
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// The progress window (here shown at once) is redrawn a few times a second
// rather than once a file, its bar moves forward by bytes, and at the end it
// shows the last entry and a full bar.
TEST_F(UnlhaTest, ProgressWindowDrawsAtABoundedRate) {
  SetEnvironmentVariableA("UNLHA32_PROGRESS_AFTER", "0");
  for (int i = 0; i < 1000; i++) Write("many\\f" + std::to_string(1000 + i) + ".txt", Text(3000 + i));
  const std::string lines[] = {"u -r " + Path("m.lzh") + " " + Path("many\\*.*"),
                               "x -r " + Path("m.lzh") + " " + Path("out\\")};
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    ProgressSeen seen;
    g_progress_seen = &seen;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchProgress, nullptr, GetCurrentThreadId());
    DWORD start = GetTickCount();
    EXPECT_EQ(Run(line), 0);
    DWORD elapsed = GetTickCount() - start;
    UnhookWindowsHookEx(hook);
    g_progress_seen = nullptr;
    // Redraws come at most every quarter second (each costs a trip to the display).
    int bound = (int)(elapsed / 250) + 3;
    EXPECT_LE(seen.name_texts, bound) << elapsed;
    EXPECT_LE(seen.bar_moves, bound) << elapsed;
    ASSERT_FALSE(seen.positions.empty());
    EXPECT_TRUE(std::is_sorted(seen.positions.begin(), seen.positions.end()));
    EXPECT_EQ(seen.positions.back(), 1000);
    std::string last = Names(Path("m.lzh")).back();
    last = last.substr(last.find_last_of("\\/") + 1);
    EXPECT_EQ(seen.last_name.substr(seen.last_name.size() - std::min(seen.last_name.size(), last.size())), last);
  }
  SetEnvironmentVariableA("UNLHA32_PROGRESS_AFTER", nullptr);
  EXPECT_EQ(boxes_.Count(), 0u);
}

// Archives we write read byte-exact with the usual LZH tools, archives they
// write read with us, and a self-extracting file still lists elsewhere.
TEST_F(UnlhaTest, InteroperatesWithOtherArchivers) {
  ASSERT_FALSE(UnixPath(Path("")).empty());
  Write("src\\text.txt", Text(70000));
  Write("src\\deep\\er\\noise.bin", Bytes(50000, 5));
  Write("src\\deep\\empty.txt", "");
  std::string archive = Path("ours.lzh");
  ASSERT_EQ(Run("u -rx  " + archive + "  " + Path("src\\*.*")), 0);
  std::string unix_archive = "'" + UnixPath(archive) + "'";
  std::vector<std::string> expected = {"src\\deep\\empty.txt", "src\\deep\\er\\noise.bin", "src\\text.txt"};

  struct Tool { const char* name; std::string command; };
  std::vector<Tool> tools = {
      {"lhasa", "cd '" + UnixPath(Path("by_lhasa")) + "' && lhasa xq " + unix_archive},
      {"7zz", "7zz x -y -o'" + UnixPath(Path("by_7zz")) + "' " + unix_archive},
      {"unar", "unar -q -f -o '" + UnixPath(Path("by_unar")) + "' " + unix_archive},
      {"jlha", "cd '" + UnixPath(Path("by_jlha")) + "' && jlha x " + unix_archive},
  };
  for (const Tool& tool : tools) {
    std::string folder = Path(std::string("by_") + tool.name + "\\");
    CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_EQ(RunUnix(tool.command), 0) << tool.name;
    EXPECT_EQ(FilesBelow(folder), expected) << tool.name;
    EXPECT_EQ(Read(folder + "src\\text.txt"), Text(70000)) << tool.name;
    EXPECT_EQ(Read(folder + "src\\deep\\er\\noise.bin"), Bytes(50000, 5)) << tool.name;
  }

  // jlha's own archive, levels and OS id of its choosing, extracted by us.
  ASSERT_EQ(RunUnix("cd '" + UnixPath(Path("")) + "' && jlha a theirs.lzh src"), 0);
  std::vector<std::string> names = Names(Path("theirs.lzh"));
  EXPECT_TRUE(Contains(names, "src\\deep\\er\\noise.bin"));
  ASSERT_EQ(Run("x -r2xp " + Path("theirs.lzh") + " " + Path("back\\") + " src\\*.* src\\*"), 0);
  EXPECT_EQ(FilesBelow(Path("back\\")), expected);
  EXPECT_EQ(Read(Path("back\\src\\deep\\er\\noise.bin")), Bytes(50000, 5));

  // The self-extracting file lists with 7zz, and lsar knows it for one.
  ASSERT_EQ(Run("s -jw1 " + archive + " "), 0);
  EXPECT_EQ(RunUnix("7zz l '" + UnixPath(Path("ours.exe")) + "' | grep -q 'src/deep/er/noise.bin'"), 0);
  EXPECT_EQ(RunUnix("lsar '" + UnixPath(Path("ours.exe")) + "' | grep -q 'Self-extracting LZH'"), 0);
}

// lhasa looks for an archive only within the first 64 KiB of a file, so both
// self-extracting programs stay below that: lhasa lists and extracts what
// "s" writes with either program, and 7zz and this library read it too.
TEST_F(UnlhaTest, SelfExtractingFilesReadWithUnixTools) {
  Write("src\\text.txt", Text(70000));
  Write("src\\deep\\noise.bin", Bytes(50000, 9));
  std::string archive = Path("sx.lzh");
  ASSERT_EQ(Run("u -rx  " + archive + "  " + Path("src\\*.*")), 0);
  std::string stored = Read(archive);
  std::vector<std::string> names = Names(archive);
  std::string exe = Path("sx.exe"), unix_exe = "'" + UnixPath(exe) + "'";
  bool have_lhasa = RunUnix("command -v lhasa") == 0;
  int run = 0;
  for (const char* switches : {"-gw1", "-jw1", "-jw0 -gw0"}) {
    ASSERT_EQ(Run(std::string("s -o ") + switches + " " + archive + " "), 0) << switches;
    std::string bytes = Read(exe);
    ASSERT_GT(bytes.size(), stored.size()) << switches;
    EXPECT_EQ(bytes.substr(bytes.size() - stored.size()), stored) << switches;
    EXPECT_LT(bytes.size() - stored.size(), 65536u) << switches << ": the program before the archive";
    EXPECT_EQ(Names(exe), names) << switches;

    std::vector<std::pair<std::string, std::string>> readers = {{"7zz", "7zz x -y -o'DIR' " + unix_exe}};
    if (have_lhasa) {
      EXPECT_EQ(RunUnix("lhasa l " + unix_exe + " | grep -q 'src/deep/noise.bin'"), 0) << switches;
      readers.push_back({"lhasa", "cd 'DIR' && lhasa xq " + unix_exe});
    }
    for (const auto& reader : readers) {
      std::string folder = Path("out" + std::to_string(++run) + "\\");
      ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
      std::string command = reader.second;
      command.replace(command.find("DIR"), 3, UnixPath(folder));
      EXPECT_EQ(RunUnix(command), 0) << reader.first << " " << switches;
      EXPECT_EQ(Read(folder + "src\\text.txt"), Text(70000)) << reader.first << " " << switches;
      EXPECT_EQ(Read(folder + "src\\deep\\noise.bin"), Bytes(50000, 9)) << reader.first << " " << switches;
    }
  }
}

namespace {

std::string ReadWide(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[256];
  DWORD got = 0;
  ReadFile(file, buffer, sizeof buffer, &got, nullptr);
  CloseHandle(file);
  return std::string(buffer, got);
}

}  // namespace

// Names code page 932 cannot spell (é, 简, an emoji, and "café.txt" whose
// best spelling is its neighbour "cafe.txt") go in under their best CP932
// spelling with the exact name beside it, list under a spelling of their
// own, come back exactly, and "m" moves exactly those files. The peers, which read only the CP932 names, still
// extract everything whose name they can keep.
TEST_F(UnlhaTest, NamesCodePage932CannotSpellRoundTrip) {
  const std::vector<std::wstring> names = {L"caf\u00e9.txt", L"cafe.txt", L"\u7b80\u4f53.txt", L"plain.txt",
                                           L"smile \U0001F600.txt", L"\u00e9t\u00e9\\n\u00e9.txt"};
  std::wstring src = WideOf(Path("src\\"));
  ASSERT_TRUE(CreateDirectoryW(src.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((src + L"\u00e9t\u00e9").c_str(), nullptr));
  for (size_t i = 0; i < names.size(); ++i) ASSERT_TRUE(WriteWide(src + names[i], "content " + std::to_string(i)));

  std::string archive = Path("names.lzh");
  ASSERT_EQ(Run("u -r -n -w" + Path("") + " " + archive + " " + Path("src\\*.*")), 0) << JoinLines(BoxTexts());
  // One entry per file and one for the folder; the two "cafe.txt" stay two.
  std::vector<std::string> stored = Names(archive);
  EXPECT_EQ(stored.size(), names.size() + 1) << JoinLines(stored);
  EXPECT_EQ(std::count(stored.begin(), stored.end(), "cafe.txt"), 1);
  EXPECT_EQ(std::count(stored.begin(), stored.end(), "caf<U+00E9>.txt"), 1);

  ASSERT_EQ(Run("x -r2xp " + archive + " " + Path("out\\") + " \\*.* \\*"), 0) << JoinLines(BoxTexts());
  std::wstring out = WideOf(Path("out\\"));
  for (size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(ReadWide(out + names[i]), "content " + std::to_string(i)) << i;
  // Updating again changes nothing: every disk file matches its entry.
  ASSERT_EQ(Run("u -r -n " + archive + " " + Path("src\\*.*")), 0);
  EXPECT_EQ(Names(archive).size(), names.size() + 1);

  // The peers keep the names they can spell.
  std::string unix_archive = "'" + UnixPath(archive) + "'";
  for (const char* tool : {"lhasa", "7zz", "unar"}) {
    std::string folder = std::string("by_") + tool;
    CreateDirectoryA(Path(folder).c_str(), nullptr);
    std::string where = "'" + UnixPath(Path(folder)) + "'";
    std::string command = std::string(tool) == "lhasa" ? "cd " + where + " && lhasa xq " + unix_archive
                          : std::string(tool) == "7zz" ? "7zz x -y -o" + where + " " + unix_archive
                                                       : "unar -q -f -D -o " + where + " " + unix_archive;
    EXPECT_EQ(RunUnix(command), 0) << tool;
    EXPECT_EQ(Read(Path(folder + "\\plain.txt")), "content 3") << tool;
    EXPECT_TRUE(Exists(Path(folder + "\\cafe.txt"))) << tool;
  }

  // "m" takes the files that went in and nothing else.
  ASSERT_TRUE(WriteWide(src + L"late \u00e9.txt", "late"));
  ASSERT_EQ(Run("m -n " + Path("moved.lzh") + " " + Path("src\\caf*.txt")), 0) << JoinLines(BoxTexts());
  EXPECT_EQ(Names(Path("moved.lzh")).size(), 2u);
  EXPECT_EQ(GetFileAttributesW((src + L"caf\u00e9.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW((src + L"cafe.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadWide(src + L"late \u00e9.txt"), "late");
  EXPECT_EQ(ReadWide(src + L"plain.txt"), "content 3");
}
