// Extraction below a destination folder, in process.
#include <gtest/gtest.h>

#include <algorithm>

#include "archiver/lzh/io.h"
#include "archiver/sfx/extractor.h"
#include "tests/sfx/sfx_test_support.h"

namespace {

using sfxtest::ArchiveBuilder;
using sfxtest::Exists;
using sfxtest::ReadFileBytes;
using sfxtest::TempFolder;

// Records what the extraction reports and answers overwrite questions from a
// script.
class Recorder : public sfx::ExtractEvents {
 public:
  sfx::OverwriteAnswer AskOverwrite(const std::string& name, const std::wstring&, const lzh::Header&) override {
    asked.push_back(name);
    return answer;
  }
  void OnProblem(const sfx::Problem& problem) override { problems.push_back(problem); }

  sfx::OverwriteAnswer answer = sfx::OverwriteAnswer::kNo;
  std::vector<std::string> asked;
  std::vector<sfx::Problem> problems;
};

sfx::Summary Extract(const std::string& archive, const std::string& destination, sfx::OverwritePolicy policy,
                     Recorder* recorder) {
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  return sfx::ExtractAll(&source, destination, policy, recorder);
}

bool HasTemporaryFiles(const std::string& folder) {
  for (const std::string& name : sfxtest::ListFolder(folder))
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) return true;
  return false;
}

TEST(Extractor, WritesFilesAndFoldersWithTheirTimes) {
  TempFolder folder;
  const uint32_t dos_time = 0x586F645C;  // 2024-03-15 12:34:56 local
  ArchiveBuilder archive;
  archive.AddStored("docs\\sub\\a.txt", "alpha", dos_time);
  archive.AddStored("b.txt", "", dos_time);
  archive.AddStored("\x95\x5C\\c.txt", "cp932 folder");  // folder name ends in a 0x5C trail byte
  Recorder recorder;
  std::string destination = folder / "out";  // made on the way
  sfx::Summary summary = Extract(archive.Finish(), destination, sfx::OverwritePolicy::kNever, &recorder);

  EXPECT_EQ(3u, summary.extracted);
  for (const sfx::Problem& problem : recorder.problems)
    ADD_FAILURE() << problem.name << ": kind " << static_cast<int>(problem.kind) << ", Win32 error "
                  << problem.win_error;
  EXPECT_EQ(sfx::kExitOk, sfx::ExitCodeOf(summary));
  EXPECT_EQ("alpha", ReadFileBytes(destination + "\\docs\\sub\\a.txt"));
  bool found = false;
  EXPECT_EQ("", ReadFileBytes(destination + "\\b.txt", &found));
  EXPECT_TRUE(found);
  EXPECT_EQ("cp932 folder", ReadFileBytes(destination + "\\\x95\x5C\\c.txt"));
  EXPECT_FALSE(HasTemporaryFiles(destination + "\\docs\\sub"));

  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA((destination + "\\docs\\sub\\a.txt").c_str(), GetFileExInfoStandard, &data));
  FILETIME local, expected;
  ASSERT_TRUE(DosDateTimeToFileTime(HIWORD(dos_time), LOWORD(dos_time), &local));
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &expected));
  EXPECT_EQ(0, CompareFileTime(&expected, &data.ftLastWriteTime));
}

TEST(Extractor, RefusesNamesThatLeaveTheDestination) {
  TempFolder folder;
  ArchiveBuilder archive;
  archive.AddStored("..\\evil.txt", "evil");
  archive.AddStored("sub\\..\\..\\evil2.txt", "evil");
  archive.AddStored("CON", "device");
  archive.AddStored("\\rooted.txt", "rooted");  // leading separator stripped: stays inside
  archive.AddStored("C:\\dir\\file", "drive");   // so is a drive
  archive.AddStored("good.txt", "good");
  archive.AddStored("ln|../../outside.txt", "", 0x5A8E6000, "-lhd-");  // a Unix link: never made
  Recorder recorder;
  std::string destination = folder / "out";
  sfx::Summary summary = Extract(archive.Finish(), destination, sfx::OverwritePolicy::kNever, &recorder);

  EXPECT_EQ(4u, summary.refused);
  EXPECT_EQ(3u, summary.extracted);
  EXPECT_EQ(sfx::kExitSkipped, sfx::ExitCodeOf(summary));
  EXPECT_FALSE(Exists(folder / "evil.txt"));
  EXPECT_FALSE(Exists(folder / "evil2.txt"));
  EXPECT_EQ("rooted", ReadFileBytes(destination + "\\rooted.txt"));
  EXPECT_EQ("drive", ReadFileBytes(destination + "\\dir\\file"));
  EXPECT_EQ("good", ReadFileBytes(destination + "\\good.txt"));
  std::vector<std::string> made = sfxtest::ListFolder(destination);
  std::sort(made.begin(), made.end());
  EXPECT_EQ((std::vector<std::string>{"dir", "good.txt", "rooted.txt"}), made);
  ASSERT_EQ(4u, recorder.problems.size());
  EXPECT_EQ(sfx::ProblemKind::kLinkSkipped, recorder.problems[3].kind);
  EXPECT_EQ("ln -> ../../outside.txt", recorder.problems[3].name);
  EXPECT_EQ(sfx::ProblemKind::kRefusedName, recorder.problems[0].kind);
  EXPECT_EQ("..\\evil.txt", recorder.problems[0].name);
  EXPECT_EQ(lzh::PathVerdict::kParentDir, recorder.problems[0].verdict);
  EXPECT_EQ(lzh::PathVerdict::kDeviceName, recorder.problems[2].verdict);
}

TEST(Extractor, ExistingFilesFollowThePolicyOrTheAnswer) {
  TempFolder folder;
  ArchiveBuilder archive;
  archive.AddStored("a.txt", "new a");
  archive.AddStored("b.txt", "new b");
  archive.AddStored("c.txt", "new c");
  std::string bytes = archive.Finish();
  auto reset = [&] {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) sfxtest::WriteFileBytes(folder / name, "old");
  };

  reset();
  Recorder never;
  sfx::Summary summary = Extract(bytes, folder.path(), sfx::OverwritePolicy::kNever, &never);
  EXPECT_EQ(3u, summary.kept);
  EXPECT_EQ("old", ReadFileBytes(folder / "a.txt"));
  EXPECT_TRUE(never.asked.empty());
  EXPECT_EQ(sfx::kExitSkipped, sfx::ExitCodeOf(summary));

  // "All" answers the question for every later file too.
  reset();
  Recorder all;
  all.answer = sfx::OverwriteAnswer::kAll;
  summary = Extract(bytes, folder.path(), sfx::OverwritePolicy::kAsk, &all);
  EXPECT_EQ(std::vector<std::string>{"a.txt"}, all.asked);
  EXPECT_EQ("new c", ReadFileBytes(folder / "c.txt"));
  EXPECT_EQ(sfx::kExitOk, sfx::ExitCodeOf(summary));

  // Cancel stops before the file asked about; nothing after it is touched.
  reset();
  Recorder cancel;
  cancel.answer = sfx::OverwriteAnswer::kCancel;
  summary = Extract(bytes, folder.path(), sfx::OverwritePolicy::kAsk, &cancel);
  EXPECT_TRUE(summary.cancelled);
  EXPECT_EQ(sfx::kExitCancelled, sfx::ExitCodeOf(summary));
  EXPECT_EQ("old", ReadFileBytes(folder / "a.txt"));
  EXPECT_EQ("old", ReadFileBytes(folder / "c.txt"));

  // A read-only file is replaced when overwriting is allowed.
  reset();
  SetFileAttributesA((folder / "b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  summary = Extract(bytes, folder.path(), sfx::OverwritePolicy::kAlways, nullptr);
  EXPECT_EQ(3u, summary.extracted);
  EXPECT_EQ("new b", ReadFileBytes(folder / "b.txt"));
}

TEST(Extractor, DamagedEntryNeverReplacesAnExistingFile) {
  TempFolder folder;
  ArchiveBuilder archive;
  archive.AddStored("bad.txt", "original content");
  archive.AddStored("fine.txt", "fine");
  std::string bytes = archive.Finish();
  bytes[bytes.find("original")] = 'O';  // the stored CRC no longer matches
  sfxtest::WriteFileBytes(folder / "bad.txt", "keep me");

  Recorder recorder;
  sfx::Summary summary = Extract(bytes, folder.path(), sfx::OverwritePolicy::kAlways, &recorder);
  EXPECT_EQ(1u, summary.failed);
  EXPECT_EQ(sfx::kExitFailed, sfx::ExitCodeOf(summary));
  EXPECT_EQ("keep me", ReadFileBytes(folder / "bad.txt"));
  EXPECT_EQ("fine", ReadFileBytes(folder / "fine.txt"));
  EXPECT_FALSE(HasTemporaryFiles(folder.path()));
  ASSERT_EQ(1u, recorder.problems.size());
  EXPECT_EQ(sfx::ProblemKind::kDamaged, recorder.problems[0].kind);
  EXPECT_EQ("bad.txt", recorder.problems[0].name);
  EXPECT_EQ(lzh::Error::kCrcError, recorder.problems[0].error);
}

TEST(Extractor, CutArchiveExtractsWhatIsWholeAndSaysWhereItBroke) {
  TempFolder folder;
  ArchiveBuilder archive;
  archive.AddStored("first.txt", "first");
  archive.AddStored("second.txt", std::string(1000, 'x'));
  std::string cut = archive.bytes().substr(0, archive.bytes().size() - 500);

  Recorder recorder;
  sfx::Summary summary = Extract(cut, folder.path(), sfx::OverwritePolicy::kNever, &recorder);
  EXPECT_TRUE(summary.archive_damaged);
  EXPECT_EQ(sfx::kExitFailed, sfx::ExitCodeOf(summary));
  EXPECT_EQ("first", ReadFileBytes(folder / "first.txt"));
  EXPECT_FALSE(Exists(folder / "second.txt"));
  ASSERT_FALSE(recorder.problems.empty());
  EXPECT_EQ(sfx::ProblemKind::kArchiveDamaged, recorder.problems[0].kind);
  EXPECT_EQ("first.txt", recorder.problems[0].name);
}

TEST(Extractor, NoArchiveWritesNothing) {
  TempFolder folder;
  std::string garbage(4096, '\x55');
  sfx::Summary summary = Extract(garbage, folder / "out", sfx::OverwritePolicy::kNever, nullptr);
  EXPECT_TRUE(summary.no_archive);
  EXPECT_EQ(sfx::kExitNoArchive, sfx::ExitCodeOf(summary));
  EXPECT_FALSE(Exists(folder / "out"));
}

}  // namespace
