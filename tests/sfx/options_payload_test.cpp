// The command line of the stubs, and finding the archive behind a PE image.
#include <gtest/gtest.h>

#include "archiver/lzh/io.h"
#include "archiver/lzh/reader.h"
#include "archiver/sfx/exe_payload.h"
#include "archiver/sfx/sfx_options.h"
#include "tests/sfx/sfx_test_support.h"

namespace {

TEST(SfxOptions, ReadsSwitchesAndQuotedFolders) {
  sfx::Options options = sfx::ParseOptions(" /d \"C:\\My Files\\out\" /Q -o");
  EXPECT_EQ("C:\\My Files\\out", options.destination);
  EXPECT_TRUE(options.quiet);
  EXPECT_TRUE(options.overwrite);
  EXPECT_TRUE(options.error.empty());

  options = sfx::ParseOptions("\"D:\\dest dir\"");
  EXPECT_EQ("D:\\dest dir", options.destination);
  EXPECT_FALSE(options.quiet);
  EXPECT_FALSE(options.overwrite);

  EXPECT_EQ("C:\\x", sfx::ParseOptions("/dC:\\x").destination);
  EXPECT_TRUE(sfx::ParseOptions("/?").help);
}

TEST(SfxOptions, RejectsUnknownSwitchesAndSecondFolder) {
  EXPECT_EQ("/x", sfx::ParseOptions("/q /x").error);
  EXPECT_EQ("b", sfx::ParseOptions("a b").error);
  EXPECT_EQ("c", sfx::ParseOptions("/d a c").error);
}

TEST(SfxOptions, SkipsTheProgramName) {
  EXPECT_STREQ(" /q", sfx::SkipProgramName("\"C:\\a b\\x.exe\" /q"));
  EXPECT_STREQ(" /q", sfx::SkipProgramName("x.exe /q"));
  EXPECT_STREQ("", sfx::SkipProgramName("x.exe"));
}

TEST(ExePayload, ImageEndIsWhereTheAppendedArchiveStarts) {
  bool found = false;
  std::string stub = sfxtest::ReadFileBytes(sfxtest::HostToWindows(SFX_CONSOLE_STUB), &found);
  ASSERT_TRUE(found);
  std::string file = stub + "-appended archive bytes-";
  lzh::MemorySource source(reinterpret_cast<const uint8_t*>(file.data()), file.size());
  EXPECT_EQ(stub.size(), sfx::PeImageEnd(&source));

  sfx::TailSource tail(&source, stub.size());
  uint8_t first[9] = {};
  ASSERT_EQ(9u, tail.ReadAt(0, first, 9));
  EXPECT_EQ(0, memcmp(first, "-appended", 9));
  EXPECT_EQ(24u, tail.Size());
}

// Readers that scan a self-extracting file from its start (the library, other
// tools) must not take anything inside the stubs for an archive header.
TEST(ExePayload, ScanningFromTheStartFindsTheArchiveRightAfterTheStub) {
  sfxtest::ArchiveBuilder archive;
  archive.AddStored("a.txt", "a");
  for (const char* stub_path : {SFX_CONSOLE_STUB, SFX_GUI_STUB}) {
    std::string stub = sfxtest::ReadFileBytes(sfxtest::HostToWindows(stub_path));
    ASSERT_FALSE(stub.empty());
    std::string file = stub + archive.Finish();
    lzh::MemorySource source(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    lzh::ArchiveReader reader(&source);
    ASSERT_EQ(lzh::Error::kOk, reader.Open()) << stub_path;
    EXPECT_EQ(stub.size(), reader.archive_offset()) << stub_path;
  }
}

TEST(ExePayload, NotAnImageOrCutShortGivesZero) {
  std::string plain = "-lh0- not an executable at all, just bytes of some length";
  lzh::MemorySource text(reinterpret_cast<const uint8_t*>(plain.data()), plain.size());
  EXPECT_EQ(0u, sfx::PeImageEnd(&text));

  std::string stub = sfxtest::ReadFileBytes(sfxtest::HostToWindows(SFX_CONSOLE_STUB));
  ASSERT_GT(stub.size(), 1024u);
  std::string cut = stub.substr(0, stub.size() / 2);  // sections end past the cut
  lzh::MemorySource half(reinterpret_cast<const uint8_t*>(cut.data()), cut.size());
  EXPECT_EQ(0u, sfx::PeImageEnd(&half));
}

}  // namespace
