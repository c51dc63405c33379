// Parsing of command lines whose paths arrive unquoted with blanks, against
// an imagined disk.
#include <set>

#include <gtest/gtest.h>

#include "archiver/dll/command_line.h"

namespace {

unlha::PathProbe Disk(std::set<std::string> files, std::set<std::string> folders) {
  unlha::PathProbe probe;
  probe.is_file = [files](const std::string& path) { return files.count(path) > 0; };
  probe.is_directory = [folders](const std::string& path) { return folders.count(path) > 0; };
  return probe;
}

}  // namespace

TEST(CommandLine, JoinsUnquotedPathsKeepingTheirBlanks) {
  unlha::Command command;
  auto disk = Disk({"C:\\My  Files\\a.lzh"}, {"C:\\Out"});
  ASSERT_TRUE(unlha::ParseCommand("x -r1xp  C:\\My  Files\\a.lzh C:\\Out Dir\\ DOC\\A.TXT \"B C.TXT\" ", disk, &command));
  EXPECT_EQ(command.name, 'x');
  EXPECT_EQ(command.recurse, 1);
  EXPECT_TRUE(command.with_dir_name && command.full_paths);
  EXPECT_EQ(command.archive, "C:\\My  Files\\a.lzh");
  EXPECT_EQ(command.destination, "C:\\Out Dir\\");
  EXPECT_EQ(command.names, (std::vector<std::string>{"DOC\\A.TXT", "B C.TXT"}));

  // A work folder with a blank; an archive still to be made is known by its
  // extension.
  disk = Disk({"C:\\X\\F1.TXT"}, {"C:\\Work Dir"});
  ASSERT_TRUE(unlha::ParseCommand("u -n -wC:\\Work Dir C:\\New Arc.LZH  C:\\X\\F1.TXT", disk, &command));
  EXPECT_TRUE(command.quiet);
  EXPECT_EQ(command.work_dir, "C:\\Work Dir");
  EXPECT_EQ(command.archive, "C:\\New Arc.LZH");
  EXPECT_EQ(command.names, std::vector<std::string>{"C:\\X\\F1.TXT"});

  // e: everything after the destination, blanks and all.
  disk = Disk({"C:\\a.lzh"}, {"C:\\T\\"});
  ASSERT_TRUE(unlha::ParseCommand("e -p  C:\\a.lzh C:\\T\\ DOC\\Read  Me.txt", disk, &command));
  EXPECT_EQ(command.rest, "DOC\\Read  Me.txt");
}

TEST(CommandLine, SelfExtractorSwitchesAndBadLines) {
  unlha::Command command;
  auto disk = Disk({"C:\\a b.lzh"}, {});
  ASSERT_TRUE(unlha::ParseCommand("s -jw0 -gw0 C:\\a b.lzh ", disk, &command));
  EXPECT_EQ(command.sfx_window, 0);
  EXPECT_EQ(command.archive, "C:\\a b.lzh");
  ASSERT_TRUE(unlha::ParseCommand("s -jw1 C:\\a b.lzh ", disk, &command));
  EXPECT_EQ(command.sfx_window, 1);
  EXPECT_FALSE(unlha::ParseCommand("q C:\\a b.lzh", disk, &command));
  EXPECT_FALSE(unlha::ParseCommand("x -r1xp  ", disk, &command));
  EXPECT_FALSE(unlha::ParseCommand("l -n \"\"", disk, &command));
}

TEST(CommandLine, WildcardsTakeDoubleByteCharactersWhole) {
  std::string hyo = "\x95\x5c";  // a trail byte equal to '\'
  EXPECT_TRUE(unlha::WildcardMatch("*.*", "readme"));
  EXPECT_TRUE(unlha::WildcardMatch("doc\\?.txt", "doc\\" + hyo + ".txt"));
  EXPECT_FALSE(unlha::WildcardMatch("doc\\?.txt", "doc\\ab.txt"));
  EXPECT_EQ(unlha::FoldName("DOC/" + hyo + "A"), "doc\\" + hyo + "a");
}

// Words are joined into paths only while a path could still exist: a line of
// many names that do not exist costs a few disk probes per name, not dozens.
TEST(CommandLine, MissingNamesCostFewProbes) {
  for (const char* folder : {"C:\\X\\", ""}) {
    size_t probes = 0;
    unlha::PathProbe probe;
    probe.is_file = [&](const std::string& path) { return ++probes, path == "C:\\X\\My File.txt"; };
    probe.is_directory = [&](const std::string& path) { return ++probes, path == "C:\\X"; };
    std::string line = "u -n C:\\a.lzh ";
    const size_t kNames = 20000;
    for (size_t i = 0; i < kNames; ++i) line += " " + std::string(folder) + "missing" + std::to_string(i) + ".txt";
    line += " C:\\X\\My File.txt";
    unlha::Command command;
    ASSERT_TRUE(unlha::ParseCommand(line, probe, &command));
    EXPECT_EQ(command.names.size(), kNames + 1) << folder;
    EXPECT_EQ(command.names.back(), "C:\\X\\My File.txt") << folder;
    EXPECT_LT(probes, kNames * 6) << folder;
  }
}
