// What a command touches: entries named as the front end names them are taken
// literally before as patterns, names code page 932 cannot spell list under a
// spelling of their own, and extraction asks before it replaces a file.
#include <algorithm>

#include "archiver/lzh/archive_sink.h"
#include "archiver/lzh/archive_writer.h"
#include "tests/dll/unlha_fixture.h"

namespace {

// Entry time 2026-04-05 13:04:04 (local), content "content of NAME".
std::string ArchiveOf(const std::vector<std::string>& paths) {
  lzh::MemoryArchiveSink sink;
  lzh::ArchiveWriter writer(sink, lzh::WriterOptions());
  for (const std::string& path : paths) {
    lzh::Header info;
    info.path = path;
    info.dos_time = (46u << 25) | (4u << 21) | (5u << 16) | (13u << 11) | (4u << 5) | 2u;
    std::string content = "content of " + path;
    lzh::MemorySource source((const uint8_t*)content.data(), content.size());
    EXPECT_EQ(writer.AddFile(info, source), lzh::WriteStatus::kOk) << path;
  }
  EXPECT_EQ(writer.Finish(), lzh::WriteStatus::kOk);
  return sink.bytes;
}

std::vector<std::string> Sorted(std::vector<std::string> list) {
  std::sort(list.begin(), list.end());
  return list;
}

}  // namespace

// The rows "*", "README" (beside "readme"), "report?.txt" (beside
// "report1.txt") and a name holding a quote and a blank, deleted and
// extracted by the lines the window sends: each takes its own entry alone.
// A name that is no entry is still a pattern.
TEST_F(UnlhaTest, NamedEntriesAreTakenLiterallyBeforeAsPatterns) {
  std::vector<std::string> left = {"*", "README", "readme", "report?.txt", "report1.txt", "a\" b.txt", "a", "b.txt"};
  Write("t.lzh", ArchiveOf(left));
  std::string archive = Path("t.lzh");
  CreateDirectoryA(Path("work").c_str(), nullptr);

  // "*", which Windows spells "_", and nothing else.
  ASSERT_EQ(Run("e -p  " + archive + " " + Path("out\\") + " * "), 0);
  EXPECT_EQ(FilesBelow(Path("out\\")), std::vector<std::string>{"_"});
  EXPECT_EQ(Read(Path("out\\_")), "content of *");
  ASSERT_EQ(Run("x -r1xp  " + archive + " " + Path("out\\") + " README "), 0);
  EXPECT_EQ(FilesBelow(Path("out\\")), (std::vector<std::string>{"README", "_"}));
  EXPECT_EQ(Read(Path("out\\README")), "content of README");

  const std::pair<const char*, const char*> rows[] = {
      {"*", "*"}, {"README", "README"}, {"report?.txt", "report?.txt"}, {"\"a\"\" b.txt\"", "a\" b.txt"}};
  for (const auto& row : rows) {
    ASSERT_EQ(Run("d -p -w" + Path("work") + " " + archive + "  " + row.first), 0) << row.first;
    left.erase(std::find(left.begin(), left.end(), row.second));
    EXPECT_EQ(Sorted(Names(archive)), Sorted(left)) << row.first;
  }
  ASSERT_EQ(Run("d -p -w" + Path("work") + " " + archive + "  REPORT*.TXT"), 0);
  EXPECT_EQ(Sorted(Names(archive)), Sorted({"readme", "a", "b.txt"}));
  EXPECT_TRUE(BoxTexts().empty());
}

// "cafe.txt", "café.txt" and "cafè.txt" moved in at header levels 2 and 0:
// three entries listed under three spellings, each spelling selecting its
// own entry, every file back under its exact name.
TEST_F(UnlhaTest, NamesCodePage932CannotSpellListUnderTheirOwnSpelling) {
  HKEY key;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Vantrel\\unlha32", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  const std::wstring names[] = {L"cafe.txt", L"caf\u00e9.txt", L"caf\u00e8.txt"};
  for (DWORD level : {2u, 0u}) {
    SCOPED_TRACE(level);
    RegSetValueExA(key, "HeaderLevel", 0, REG_DWORD, (const BYTE*)&level, sizeof level);
    std::string src = Path("src" + std::to_string(level) + "\\"), out = Path("out" + std::to_string(level) + "\\");
    CreateDirectoryA(src.c_str(), nullptr);
    for (const std::wstring& name : names) ASSERT_TRUE(WriteWide(WideOf(src) + name, "is " + std::string(name.size(), 'x')));
    std::string archive = Path("c" + std::to_string(level) + ".lzh");
    ASSERT_EQ(Run("m -n " + archive + " " + src + "caf*.txt"), 0) << JoinLines(BoxTexts());
    EXPECT_EQ(Sorted(Names(archive)), Sorted({"cafe.txt", "caf<U+00E9>.txt", "caf<U+00E8>.txt"}));
    EXPECT_EQ(FilesBelow(src), std::vector<std::string>{});

    ASSERT_EQ(Run("d -p " + archive + "  cafe.txt"), 0);
    EXPECT_EQ(Sorted(Names(archive)), Sorted({"caf<U+00E9>.txt", "caf<U+00E8>.txt"}));
    ASSERT_EQ(Run("e -p  " + archive + " " + out + " caf<U+00E9>.txt "), 0);
    EXPECT_EQ(GetFileAttributesW((WideOf(out) + names[1]).c_str()) != INVALID_FILE_ATTRIBUTES, true);
    EXPECT_EQ(FilesBelow(out).size(), 1u);
  }
  RegDeleteValueA(key, "HeaderLevel");
  RegCloseKey(key);
  EXPECT_TRUE(BoxTexts().empty());
}

// Extracting over existing files asks in the library's own window, showing
// both sizes and dates: No keeps a newer file, Yes replaces a read-only one,
// a case twin is asked about like any file, Cancel stops the command. -o
// replaces without asking.
TEST_F(UnlhaTest, ExtractionAsksBeforeReplacing) {
  Write("t.lzh", ArchiveOf({"newer.txt", "ro.txt", "README.TXT", "readme.txt", "last.txt"}));
  std::string archive = Path("t.lzh"), out = Path("out\\");
  Write("out\\newer.txt", "mine, newer");
  Write("out\\ro.txt", "read-only");
  SetFileAttributesA((out + "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);

  std::vector<std::string> asked;
  auto answer = [&](int button) {
    boxes_.QueueAction([&asked, button](HWND dialog, const SeenDialog& seen) {
      asked.push_back(Utf8(seen.text));
      return seen.HasButton(IDYES) && seen.HasButton(IDNO) && seen.HasButton(IDCANCEL) ? button : IDCANCEL;
    });
  };
  answer(IDNO);   // newer.txt
  answer(IDYES);  // ro.txt
  answer(IDNO);   // readme.txt, the twin of README.TXT
  ASSERT_EQ(Run("x -r1xp  " + archive + " " + out + " *.*"), 0) << JoinLines(BoxTexts());
  ASSERT_EQ(asked.size(), 3u) << JoinLines(asked);
  EXPECT_NE(asked[0].find("newer.txt"), std::string::npos) << asked[0];
  EXPECT_NE(asked[0].find("11 バイト"), std::string::npos) << asked[0];  // on disk
  EXPECT_NE(asked[0].find("20 バイト"), std::string::npos) << asked[0];  // in the archive
  EXPECT_NE(asked[0].find("2026/04/05"), std::string::npos) << asked[0];
  EXPECT_NE(asked[2].find("readme.txt"), std::string::npos) << asked[2];
  EXPECT_EQ(Read(out + "newer.txt"), "mine, newer");
  EXPECT_EQ(Read(out + "ro.txt"), "content of ro.txt");
  EXPECT_EQ(Read(out + "README.TXT"), "content of README.TXT");
  EXPECT_EQ(Read(out + "last.txt"), "content of last.txt");

  // Cancel at the first question: nothing after it is written.
  DeleteFileA((out + "last.txt").c_str());
  boxes_.Clear();
  asked.clear();
  answer(IDCANCEL);
  EXPECT_NE(Run("x -r1xp  " + archive + " " + out + " *.*"), 0);
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_FALSE(Exists(out + "last.txt"));

  boxes_.Clear();
  ASSERT_EQ(Run("x -r1xp -o " + archive + " " + out + " *.*"), 0);
  EXPECT_EQ(boxes_.Count(), 0u);
  EXPECT_EQ(Read(out + "newer.txt"), "content of newer.txt");
}
