// Archives built to attack extraction: names that try to leave the
// destination, links planted in it, entries that clash with each other,
// sizes that lie, and command lines and buffers at their limits. Whatever
// the archive holds, nothing may be written outside the destination, no
// work file may be left behind and the library must keep running.
#include <algorithm>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/header_writer.h"
#include "tests/dll/unlha_fixture.h"

namespace {

// One stored (-lh0-) entry with its data, serialised without the writer's
// checks on names; `compressed` overrides the stored size when not ~0.
std::string Entry(const std::string& path, const std::string& data, uint8_t level = 2,
                  uint64_t compressed = ~0ull, bool directory = false) {
  lzh::Header header;
  header.level = level;
  header.path = path;
  if (directory) memcpy(header.method, "-lhd-", 6);
  header.original_size = data.size();
  header.compressed_size = compressed == ~0ull ? data.size() : compressed;
  header.has_crc = !directory;
  header.crc = lzh::Crc16((const uint8_t*)data.data(), data.size());
  header.dos_time = (46u << 25) | (4u << 21) | (5u << 16);
  std::string out;
  EXPECT_EQ(lzh::SerializeHeader(header, &out), lzh::WriteStatus::kOk) << path.size();
  return out + data;
}

// A Unix link entry as Unix archivers store it: "-lhd-", named "name|target".
std::string LinkEntry(const std::string& path, const std::string& target) {
  lzh::Header header;
  header.path = path;
  memcpy(header.method, "-lhd-", 6);
  header.is_link = true;
  header.link_target = target;
  header.has_unix_mode = true;
  header.unix_mode = 0120777;
  std::string out;
  EXPECT_EQ(lzh::SerializeHeader(header, &out), lzh::WriteStatus::kOk);
  return out;
}

std::string Archive(const std::vector<std::string>& entries) {
  std::string bytes;
  for (const std::string& entry : entries) bytes += entry;
  return bytes + std::string(1, '\0');
}

class Hostile : public UnlhaTest {
 protected:
  // Everything below the scratch folder except the archives and the
  // destination "out\dest\": what extraction wrote where it must not.
  std::vector<std::string> Strays() {
    std::vector<std::string> strays;
    for (const std::string& file : FilesBelow(Path("")))
      if (file.compare(0, 9, "out\\dest\\") != 0 && file.size() > 4 && file.substr(file.size() - 4) != ".lzh" &&
          file != "unix_status.txt")
        strays.push_back(file);
    return strays;
  }
  // Work files the library left in the destination.
  std::vector<std::string> WorkFiles() {
    std::vector<std::string> left;
    for (const std::string& file : FilesBelow(Dest()))
      if (file.size() > 4 && file.substr(file.size() - 4) == ".tmp") left.push_back(file);
    return left;
  }
  std::string Dest() const { return Path("out\\dest\\"); }
};

}  // namespace

// Names that hide a parent step or a root behind other separators, drive
// forms, device names, streams and double-byte characters whose trail byte
// is a backslash: each either lands below the destination or is refused, and
// the good entry at the end is still extracted.
TEST_F(Hostile, NamesNeverLeaveTheDestination) {
  const std::vector<std::string> names = {
      "a\xFF..\xFF..\xFF" "ff.txt", "a/./../../dotdot.txt", "a\\..\\..\\back.txt", "a/.\\../..\\mix.txt",
      "C:..\\drive_rel.txt", "Z:nosep.txt", "\\\\server\\share\\unc.txt", "\\\\?\\C:\\long.txt",
      "\\\\.\\C:\\dev.txt", ".. /blank_dots.txt", ".../three.txt", "evil.. ", "CON .txt", "aux", "COM1.lzh",
      "LPT9", "a.txt:stream", "x:\\abs.txt", "\x81", "\x95\\..\\trail.txt", "\x95\\../..\\trail2.txt",
      "sub\x81/../lead.txt", std::string("nul\0hidden/../../x.txt", 22), std::string(300, 'n') + ".txt",
      "sl|../../symlink.txt", "sl2|/etc/passwd", "ok.txt"};
  std::vector<std::string> entries;
  for (const std::string& name : names) entries.push_back(Entry(name, "data of " + name));
  Write("names.lzh", Archive(entries));

  EXPECT_NE(Run("x -r2xp " + Path("names.lzh") + " " + Dest() + " \\*.* \\*"), 0);
  EXPECT_EQ(Strays(), std::vector<std::string>{});
  EXPECT_EQ(Read(Dest() + "ok.txt"), "data of ok.txt");
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
  for (const char* outside : {"C:\\long.txt", "C:\\dev.txt", "C:\\abs.txt", "C:\\drive_rel.txt"})
    EXPECT_FALSE(Exists(outside)) << outside;
  BoxTexts();

  // Without directories every name is reduced to its last part.
  EXPECT_NE(Run("e " + Path("names.lzh") + " " + Path("out\\dest\\flat\\")), 0);
  EXPECT_EQ(Strays(), std::vector<std::string>{});
  EXPECT_EQ(Read(Dest() + "flat\\ok.txt"), "data of ok.txt");
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
  BoxTexts();
}

// Over-long names: one past MAX_PATH and one of 40000 bytes in a level 2
// header. Both fail with a message; the entry after them is extracted.
TEST_F(Hostile, OverLongNamesFailCleanly) {
  std::string deep;
  for (int i = 0; i < 30; ++i) deep += "directory" + std::to_string(i) + "/";
  Write("long.lzh", Archive({Entry(deep + "deep.txt", "deep"), Entry(std::string(40000, 'L'), "huge"),
                             Entry(std::string(20000, 'd') + "/" + std::string(20000, 'e'), "huge2"),
                             Entry("ok.txt", "fine")}));
  EXPECT_NE(Run("x " + Path("long.lzh") + " " + Dest()), 0);
  EXPECT_EQ(Read(Dest() + "ok.txt"), "fine");
  EXPECT_EQ(Strays(), std::vector<std::string>{});
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
  BoxTexts();
}

// A link planted in the destination from the Linux side that points out of
// it: entries below the link's name are refused rather than written, or
// created, through it.
TEST_F(Hostile, LinkInTheDestinationIsNotFollowed) {
  ASSERT_TRUE(CreateDirectoryA(Path("out").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(Dest().c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(Path("outside").c_str(), nullptr));
  ASSERT_EQ(RunUnix("ln -s '" + UnixPath(Path("outside")) + "' '" + UnixPath(Dest() + "link") + "'"), 0);
  ASSERT_EQ(RunUnix("ln -s '" + UnixPath(Path("outside")) + "/target.txt' '" + UnixPath(Dest() + "file.txt") + "'"),
            0);
  Write("outside\\target.txt", "keep me");
  Write("links.lzh", Archive({Entry("link/x.txt", "through the link"), Entry("link/sub/", "", 2, ~0ull, true),
                              Entry("link/deeper/y.txt", "deeper"), Entry("file.txt", "over the link"),
                              Entry("ok.txt", "fine")}));

  EXPECT_NE(Run("x " + Path("links.lzh") + " " + Dest()), 0);
  EXPECT_FALSE(Exists(Path("outside\\x.txt")));
  EXPECT_FALSE(Exists(Path("outside\\sub")));
  EXPECT_FALSE(Exists(Path("outside\\deeper")));
  EXPECT_EQ(Read(Path("outside\\target.txt")), "keep me");
  EXPECT_EQ(Read(Dest() + "ok.txt"), "fine");
  BoxTexts();

  // A destination that is itself a link is where the user chose to extract.
  ASSERT_EQ(RunUnix("ln -s '" + UnixPath(Path("outside")) + "' '" + UnixPath(Path("out\\alias")) + "'"), 0);
  Write("plain.lzh", Archive({Entry("sub/inside.txt", "inside")}));
  EXPECT_EQ(Run("x " + Path("plain.lzh") + " " + Path("out\\alias\\")), 0);
  EXPECT_EQ(Read(Path("outside\\sub\\inside.txt")), "inside");
}

// A file and then a folder of the same name, and the other way round; the
// same name twice. The first of a clashing pair stays, the second fails
// with a message; nothing is left half written.
TEST_F(Hostile, ClashingEntries) {
  Write("clash.lzh", Archive({Entry("a", "file a"), Entry("a/b.txt", "below a"), Entry("d/", "", 2, ~0ull, true),
                              Entry("d", "file d"), Entry("twice.txt", "first"), Entry("twice.txt", "second")}));
  EXPECT_NE(Run("x -a1 " + Path("clash.lzh") + " " + Dest()), 0);
  EXPECT_EQ(Read(Dest() + "a"), "file a");
  EXPECT_NE(GetFileAttributesA((Dest() + "d").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  std::string twice = Read(Dest() + "twice.txt");
  EXPECT_TRUE(twice == "first" || twice == "second") << twice;
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
  BoxTexts();
}

// Unix links are listed by their own names and never made: no file named
// after the link, none after link and target, a line in the report each.
TEST_F(Hostile, UnixLinksAreListedButNeverMade) {
  Write("links.lzh", Archive({LinkEntry("ln", "../../outside.txt"), LinkEntry("sub/ln2", "/etc/passwd"),
                              Entry("ok.txt", "fine")}));
  EXPECT_EQ(Names(Path("links.lzh")), (std::vector<std::string>{"ln", "sub\\ln2", "ok.txt"}));
  for (const char* command : {"x ", "e -o "}) {  // -o: ok.txt is there from x
    EXPECT_NE(Run(command + Path("links.lzh") + " " + Dest()), 0) << command;
    EXPECT_EQ(FilesBelow(Dest()), std::vector<std::string>{"ok.txt"}) << command;
    std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 1u) << command;
    EXPECT_NE(boxes[0].find("ln -> ../../outside.txt"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("ln2 -> /etc/passwd"), std::string::npos) << boxes[0];
  }
  EXPECT_EQ(Strays(), std::vector<std::string>{});
}

// Sizes that lie: a directory entry carrying data, a stored size beyond the
// end of the file, the largest 32-bit sizes.
TEST_F(Hostile, LyingSizes) {
  Write("dirdata.lzh", Archive({Entry("dir/", "0123456789", 2, 10, true), Entry("ok.txt", "fine")}));
  Run("x " + Path("dirdata.lzh") + " " + Dest());
  EXPECT_EQ(Read(Dest() + "ok.txt"), "fine");
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
  BoxTexts();

  std::string cut = Archive({Entry("ok.txt", "fine"), Entry("past.txt", std::string(100, 'p'), 2, 0xFFFFFFFFull)});
  Write("past.lzh", cut);
  EXPECT_NE(Run("x " + Path("past.lzh") + " " + Path("out\\dest\\past\\")), 0);
  EXPECT_FALSE(Exists(Dest() + "past\\past.txt"));
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
  BoxTexts();
}

// Command lines at their limits and output buffers of one byte or none.
TEST_F(Hostile, CommandLinesAndBuffers) {
  Write("small.lzh", Archive({Entry("one.txt", "1"), Entry("two.txt", "22")}));
  std::string archive = Path("small.lzh");
  std::string many = "e " + archive + " " + Dest();
  for (int i = 0; i < 10000; ++i) many += " name" + std::to_string(i) + ".txt";
  EXPECT_NE(Run(many), 0);
  EXPECT_NE(Run("e \"" + archive + " " + Dest() + " \"one.txt"), 0);
  EXPECT_NE(Run("x " + std::string(200000, 'q')), 0);
  EXPECT_NE(Run(std::string(100000, '"')), 0);
  BoxTexts();

  for (DWORD size : {0u, 1u, 2u}) {
    std::vector<char> buffer(64, 'G');
    lib_.Unlha(owner_, ("l " + archive).c_str(), buffer.data() + 8, size);
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(buffer[i], 'G') << size;
    for (size_t i = 8 + size; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 'G') << size << " at " << i;
    if (size) {
      EXPECT_EQ(buffer[8], '\0') << size;  // no whole line fits
    }
  }
  lib_.Unlha(owner_, ("l " + archive).c_str(), nullptr, 0);
  BoxTexts();
}

// Hostile single names and directory patterns with e -p and x -r2xp.
TEST_F(Hostile, HostilePatterns) {
  Write("pat.lzh", Archive({Entry("a/b.txt", "b"), Entry("c.txt", "c")}));
  for (const char* pattern : {"..\\*.*", "*\\..\\*", "..\\..\\c.txt", "\\..\\*", "C:\\*.*", "a\\..\\..\\*"}) {
    Run("x -r2xp " + Path("pat.lzh") + " " + Dest() + " " + pattern);
    Run("e -p " + Path("pat.lzh") + " " + Dest() + " " + pattern);
    EXPECT_EQ(Strays(), std::vector<std::string>{}) << pattern;
  }
  BoxTexts();
}

// An archive of 100000 refused names: the problems are collected in time
// linear in their number (a quadratic search for repeated lines took
// minutes here).
TEST_F(Hostile, ManyRefusedEntriesAreReportedQuickly) {
  std::string bytes;
  for (int i = 0; i < 100000; ++i) bytes += Entry("../n" + std::to_string(i) + ".txt", "");
  Write("many.lzh", bytes + std::string(1, '\0'));
  DWORD start = GetTickCount();
  EXPECT_NE(Run("x " + Path("many.lzh") + " " + Dest()), 0);
  EXPECT_LT(GetTickCount() - start, 8000u);
  std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("n0.txt"), std::string::npos);
}
