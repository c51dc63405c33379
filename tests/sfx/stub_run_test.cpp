// The built stubs run as a user runs them: stub + archive as one .exe in a
// temporary folder, archives made by jlha (-lh5-, -lh7-) or byte by byte.
#include <gtest/gtest.h>

#include "archiver/sfx/extractor.h"
#include "tests/sfx/sfx_test_support.h"

namespace {

using sfxtest::ArchiveBuilder;
using sfxtest::Exists;
using sfxtest::ReadFileBytes;
using sfxtest::RunHostCommand;
using sfxtest::RunProgram;
using sfxtest::TempFolder;
using sfxtest::WindowsToHost;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Source files of the archives: text, incompressible and very compressible
// data, one of them in a folder.
class StubRun : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA((source_ / "data").c_str(), nullptr);
    std::string random(100000, 0);
    uint32_t state = 12345;
    for (char& c : random) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
    files_ = {{"readme.txt", "self-extracting test\r\n"},
              {"data\\random.bin", random},
              {"data\\zeros.bin", std::string(200000, '\0') + "tail"}};
    for (const auto& file : files_) ASSERT_TRUE(sfxtest::WriteFileBytes(source_ / file.first, file.second));
  }

  // An archive of the source files made by jlha with method -lh<method>-;
  // -lh7- ones are made from "." and so hold "./" and "./data/" entries.
  std::string JlhaArchive(char method) {
    std::string archive = work_ / (std::string("j") + method + ".lzh");
    std::string output;
    std::string what = method == '7' ? "." : "readme.txt data/random.bin data/zeros.bin";
    int status = RunHostCommand("cd '" + WindowsToHost(source_.path()) + "' && jlha ao" + method + " '" +
                                    WindowsToHost(archive) + "' " + what,
                                &output);
    EXPECT_EQ(0, status) << output;
    return ReadFileBytes(archive);
  }

  void ExpectExtracted(const std::string& destination) {
    for (const auto& file : files_) {
      bool found = false;
      EXPECT_TRUE(ReadFileBytes(destination + "\\" + file.first, &found) == file.second && found)
          << file.first << " differs or is missing";
    }
  }

  TempFolder source_;
  TempFolder work_;
  std::vector<std::pair<std::string, std::string>> files_;
};

TEST_F(StubRun, ConsoleStubExtractsJlhaArchivesIntoTheCurrentFolder) {
  for (char method : {'5', '7'}) {
    SCOPED_TRACE(method);
    std::string archive = JlhaArchive(method);
    ASSERT_FALSE(archive.empty());
    std::string exe = work_ / (std::string("c") + method + ".exe");
    ASSERT_TRUE(sfxtest::MakeSelfExtractor(SFX_CONSOLE_STUB, archive, exe));
    std::string destination = work_ / (std::string("out") + method);
    CreateDirectoryA(destination.c_str(), nullptr);

    EXPECT_EQ(sfx::kExitOk, RunProgram(Quoted(exe), destination));
    ExpectExtracted(destination);

    // Existing files are kept without /o (and the exit code says so), replaced with it.
    sfxtest::WriteFileBytes(destination + "\\readme.txt", "changed");
    EXPECT_EQ(sfx::kExitSkipped, RunProgram(Quoted(exe), destination));
    EXPECT_EQ("changed", ReadFileBytes(destination + "\\readme.txt"));
    EXPECT_EQ(sfx::kExitOk, RunProgram(Quoted(exe) + " /o", destination));
    ExpectExtracted(destination);
  }
}

TEST_F(StubRun, WindowedStubRunsUnattendedIntoTheGivenFolder) {
  std::string archive = JlhaArchive('5');
  std::string exe = work_ / "w.exe";
  ASSERT_TRUE(sfxtest::MakeSelfExtractor(SFX_GUI_STUB, archive, exe));
  std::string destination = work_ / "dest with blank\\deeper";  // made by the stub
  EXPECT_EQ(sfx::kExitOk, RunProgram(Quoted(exe) + " /d " + Quoted(destination) + " /q", work_.path()));
  ExpectExtracted(destination);
}

TEST_F(StubRun, DamagedArchiveFailsAndWritesNothingElse) {
  std::string archive = JlhaArchive('5');
  ASSERT_GT(archive.size(), 100u);
  archive[archive.size() - 20] ^= 0x5A;  // inside the compressed data of zeros.bin, the last entry
  for (const char* stub : {SFX_CONSOLE_STUB, SFX_GUI_STUB}) {
    SCOPED_TRACE(stub);
    TempFolder folder;
    std::string exe = folder / "damaged.exe";
    ASSERT_TRUE(sfxtest::MakeSelfExtractor(stub, archive, exe));
    std::string destination = folder / "out";
    CreateDirectoryA(destination.c_str(), nullptr);
    EXPECT_EQ(sfx::kExitFailed, RunProgram(Quoted(exe) + " /q /d " + Quoted(destination), destination));
    EXPECT_EQ(std::vector<std::string>{"random.bin"}, sfxtest::ListFolder(destination + "\\data"));
    EXPECT_EQ(2u, sfxtest::ListFolder(folder.path()).size());  // damaged.exe and out
    EXPECT_EQ("self-extracting test\r\n", ReadFileBytes(destination + "\\readme.txt"));

    // Cut inside the last entry.
    std::string cut = archive.substr(0, archive.size() - 100);
    ASSERT_TRUE(sfxtest::MakeSelfExtractor(stub, cut, exe));
    EXPECT_EQ(sfx::kExitFailed, RunProgram(Quoted(exe) + " /q /o /d " + Quoted(destination), destination));
  }
}

TEST_F(StubRun, HostileNameIsRefusedAndTheRestExtracted) {
  ArchiveBuilder builder;
  builder.AddStored("..\\evil.txt", "evil");
  builder.AddStored("ok.txt", "ok");
  std::string exe = work_ / "hostile.exe";
  ASSERT_TRUE(sfxtest::MakeSelfExtractor(SFX_CONSOLE_STUB, builder.Finish(), exe));
  std::string destination = work_ / "out";
  CreateDirectoryA(destination.c_str(), nullptr);
  EXPECT_EQ(sfx::kExitSkipped, RunProgram(Quoted(exe), destination));
  EXPECT_FALSE(Exists(work_ / "evil.txt"));
  EXPECT_EQ("ok", ReadFileBytes(destination + "\\ok.txt"));

  // Padding with near-headers between the program and its archive: the
  // program searches on from the end of its image to the first real header.
  std::string padding(70000, '\0');
  for (size_t at = 100; at + 30 < padding.size(); at += 997) padding.replace(at, 7, "xx-lh5-");
  padding.replace(5000, 22, std::string("\x14\x00-lh0-\x05\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\x20\x00", 22));
  ASSERT_TRUE(sfxtest::MakeSelfExtractor(SFX_CONSOLE_STUB, padding + builder.Finish(), exe));
  std::string displaced = work_ / "displaced";
  CreateDirectoryA(displaced.c_str(), nullptr);
  EXPECT_EQ(sfx::kExitSkipped, RunProgram(Quoted(exe), displaced));
  EXPECT_EQ("ok", ReadFileBytes(displaced + "\\ok.txt"));
}

TEST_F(StubRun, OtherToolsFindTheArchiveBehindTheStub) {
  std::string archive = JlhaArchive('7');
  std::string exe = work_ / "peer.exe";
  ASSERT_TRUE(sfxtest::MakeSelfExtractor(SFX_GUI_STUB, archive, exe));
  std::string host_exe = WindowsToHost(exe);

  std::string output;
  ASSERT_EQ(0, RunHostCommand("7zz l '" + host_exe + "'", &output)) << output;
  EXPECT_NE(std::string::npos, output.find("Type = Lzh")) << output;
  EXPECT_NE(std::string::npos, output.find("data/random.bin")) << output;

  // lsar knows a self-extracting LZH file by a text in the MS-DOS header, then
  // takes the first "-lh?-" or "-lz?-" in the file for the first header: both
  // stubs carry the text and hold no such name before the archive. (The
  // unar 1.10 of Debian 12 then fails inside its own scan for every such
  // file, so only its recognising is asserted; a build that can scan must
  // list every entry.)
  for (const char* stub : {SFX_GUI_STUB, SFX_CONSOLE_STUB}) {
    SCOPED_TRACE(stub);
    std::string bytes = ReadFileBytes(sfxtest::HostToWindows(stub));
    ASSERT_GT(bytes.size(), 64u);
    EXPECT_EQ(0, bytes.compare(32, 8, "LZSS sel"));
    size_t method_name = std::string::npos;
    for (size_t i = 0; i + 5 <= bytes.size() && method_name == std::string::npos; ++i) {
      if (bytes[i] == '-' && bytes[i + 1] == 'l' && (bytes[i + 2] == 'h' || bytes[i + 2] == 'z') && bytes[i + 4] == '-')
        method_name = i;
    }
    EXPECT_EQ(std::string::npos, method_name);
  }
  int status = RunHostCommand("lsar '" + host_exe + "'", &output);
  EXPECT_NE(std::string::npos, output.find("Self-extracting LZH")) << output;
  if (status == 0) {
    EXPECT_NE(std::string::npos, output.find("zeros.bin")) << output;
  }
}

}  // namespace
