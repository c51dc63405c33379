// A destination that already holds links pointing out of it, planted from
// the host side: entries below a link's name are refused, never written or
// made through it.
#include <gtest/gtest.h>

#include "archiver/lzh/io.h"
#include "archiver/sfx/extractor.h"
#include "tests/sfx/sfx_test_support.h"

namespace {

class Recorder : public sfx::ExtractEvents {
 public:
  void OnProblem(const sfx::Problem& problem) override { problems.push_back(problem); }
  std::vector<sfx::Problem> problems;
};

TEST(DestinationLinks, AreNotFollowedOutOfTheDestination) {
  sfxtest::TempFolder folder;
  std::string destination = folder / "dest";
  std::string outside = folder / "outside";
  ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(outside.c_str(), nullptr));
  ASSERT_TRUE(sfxtest::WriteFileBytes(outside + "\\target.txt", "keep me"));
  std::string host_outside = sfxtest::WindowsToHost(outside), host_dest = sfxtest::WindowsToHost(destination);
  if (host_outside.empty()) GTEST_SKIP() << "the scratch folder is not on the host's drive";
  std::string output;
  ASSERT_EQ(0, sfxtest::RunHostCommand("ln -s '" + host_outside + "' '" + host_dest + "/link' && ln -s '" +
                                           host_outside + "/target.txt' '" + host_dest + "/file.txt'",
                                       &output))
      << output;

  sfxtest::ArchiveBuilder archive;
  archive.AddStored("link\\x.txt", "through the link");
  archive.AddStored("link\\deeper\\y.txt", "deeper");
  archive.AddStored("file.txt", "over the link");
  archive.AddStored("ok.txt", "fine");
  std::string bytes = archive.Finish();
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  Recorder recorder;
  sfx::Summary summary = sfx::ExtractAll(&source, destination, sfx::OverwritePolicy::kAlways, &recorder);

  EXPECT_FALSE(sfxtest::Exists(outside + "\\x.txt"));
  EXPECT_FALSE(sfxtest::Exists(outside + "\\deeper"));
  EXPECT_EQ("keep me", sfxtest::ReadFileBytes(outside + "\\target.txt"));
  EXPECT_EQ("fine", sfxtest::ReadFileBytes(destination + "\\ok.txt"));
  EXPECT_EQ(3u, summary.refused);
  EXPECT_EQ(3u, recorder.problems.size());
  EXPECT_EQ(sfx::kExitSkipped, sfx::ExitCodeOf(summary));
}

}  // namespace
