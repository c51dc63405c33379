// "t" writes one line per entry, its faults before the sound entries, and
// shows no box to a caller that reads its output; the listing tells an entry's
// header level, system and exact name.
#include "tests/dll/unlha_fixture.h"

namespace {

TEST_F(UnlhaTest, TestWritesAFindingPerEntryFaultsFirst) {
  // Incompressible files are stored as they are, so a byte of each is easy to find.
  const std::vector<std::string> contents = {Bytes(3000, 11), Bytes(3000, 12), Bytes(3000, 13)};
  std::string names;
  for (size_t i = 0; i < contents.size(); ++i) {
    Write("src\\" + std::string(1, (char)('a' + i)) + " x.txt", contents[i]);
    names += " \"" + Path("src\\") + std::string(1, (char)('a' + i)) + " x.txt\"";
  }
  std::string archive = Path("t.lzh");
  ASSERT_EQ(Run("u -n " + archive + names), 0) << JoinLines(BoxTexts());
  const std::string whole = Read(archive);
  size_t b_data = whole.find(contents[1].substr(0, 64)), c_data = whole.find(contents[2].substr(0, 64));
  ASSERT_NE(b_data, std::string::npos);
  ASSERT_NE(c_data, std::string::npos);
  std::string flipped = whole;
  flipped[b_data + 100] ^= 0x55;

  struct Case {
    std::string bytes, names;
    int result;
    std::string output;
  };
  const Case cases[] = {
      {whole, "", 0, "TESTED 3 0\r\nOK a x.txt\r\nOK b x.txt\r\nOK c x.txt\r\n"},
      {flipped, "", 0x800C, "TESTED 3 1\r\nCRC b x.txt\r\nOK a x.txt\r\nOK c x.txt\r\n"},
      {flipped.substr(0, c_data + 500), "", 0x800C, "TESTED 3 2\r\nCRC b x.txt\r\nCUT c x.txt\r\nOK a x.txt\r\n"},
      {flipped.substr(0, c_data + 500), " \"c x.txt\"", 0x8017, "TESTED 1 1\r\nCUT c x.txt\r\n"},
      {whole.substr(0, c_data - 10), "", 0x8017, "TESTED 2 0\r\nARCHIVECUT "},
  };
  for (const Case& c : cases) {
    Write("t.lzh", c.bytes);
    EXPECT_EQ(Run("t " + archive + c.names), c.result) << c.output;
    EXPECT_EQ(output.substr(0, c.output.size()), c.output);
    EXPECT_TRUE(BoxTexts().empty()) << c.output;
  }
  // The cut in a header comes before the sound entries.
  EXPECT_NE(output.find("\r\nOK a x.txt\r\nOK b x.txt\r\n"), std::string::npos) << output;

  // A caller without an output buffer is shown the findings instead.
  Write("t.lzh", flipped);
  EXPECT_EQ(lib_.Unlha(owner_, ("t " + archive).c_str(), nullptr, 0), 0x800C);
  std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("CRC"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find("b x.txt"), std::string::npos) << boxes[0];
}

TEST_F(UnlhaTest, ListingTellsLevelSystemAndExactName) {
  auto level = (int(WINAPI*)(HANDLE))GetProcAddress(lib_.module, "UnlhaGetHeaderLevel");
  auto os_id = (int(WINAPI*)(HANDLE))GetProcAddress(lib_.module, "UnlhaGetOSId");
  auto exact = (int(WINAPI*)(HANDLE, LPWSTR, DWORD))GetProcAddress(lib_.module, "UnlhaGetExactName");
  ASSERT_TRUE(level && os_id && exact);
  std::wstring src = WideOf(Path("src\\"));
  ASSERT_TRUE(CreateDirectoryW(src.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((src + L"d\u00e9").c_str(), nullptr));
  ASSERT_TRUE(WriteWide(src + L"d\u00e9\\caf\u00e9 \U0001F600.txt", "coffee"));
  std::string archive = Path("u.lzh");
  ASSERT_EQ(Run("u -r -n " + archive + " " + Path("src\\*.*")), 0) << JoinLines(BoxTexts());

  HANDLE handle = lib_.OpenArchive(owner_, archive.c_str(), 0x102);
  ASSERT_TRUE(handle);
  EXPECT_EQ(level(handle), -1);  // nothing delivered yet
  EntryRecord560 record;
  int found = lib_.FindFirst(handle, "*.*", &record);
  while (found != -1 && record.flags) found = lib_.FindNext(handle, &record);
  ASSERT_NE(found, -1);
  EXPECT_STREQ(record.name, "d<U+00E9>\\caf<U+00E9> <U+1F600>.txt");
  EXPECT_EQ(level(handle), 2);
  EXPECT_EQ(os_id(handle), 'M');
  const std::wstring expected = L"d\u00e9\\caf\u00e9 \U0001F600.txt";
  wchar_t name[64];
  wmemset(name, L'Z', 64);
  EXPECT_EQ(exact(handle, name, (DWORD)expected.size()), (int)expected.size());
  EXPECT_EQ(name[0], L'Z');  // no room for the terminator: nothing written
  EXPECT_EQ(exact(handle, name, 64), (int)expected.size());
  EXPECT_EQ(std::wstring(name), expected);
  EXPECT_EQ(lib_.FindNext(handle, &record), -1);
  EXPECT_EQ(exact(handle, name, 64), 0);
  lib_.CloseArchive(handle);

  // A cut archive tells of its damage at the first look only.
  std::string bytes = Read(archive);
  Write("u.lzh", bytes.substr(0, bytes.size() - 3));
  for (DWORD mode : {0x102u, 0x102u | 0x00800000u}) {
    handle = lib_.OpenArchive(owner_, archive.c_str(), mode);
    ASSERT_TRUE(handle);
    EXPECT_EQ(lib_.FindFirst(handle, "*.*", &record), 0);
    lib_.CloseArchive(handle);
    EXPECT_EQ(BoxTexts().size(), mode == 0x102u ? 1u : 0u) << mode;
  }
}

}  // namespace
