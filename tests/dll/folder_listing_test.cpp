// A folder listed with file indexes holds what a search of it finds: every
// entry past the first reply's worth, hidden ones and names the code page
// cannot spell, with the same attributes, sizes and times, and each index
// the one its file reports when opened.
#include <map>
#include <string>

#include "archiver/dll/folder_listing.h"
#include "archiver/win/file_identity.h"
#include "archiver/win/wide_text.h"
#include "tests/dll/unlha_fixture.h"

namespace {

using FolderListingTest = UnlhaTest;

TEST_F(FolderListingTest, HoldsWhatASearchFindsWithEachFilesIndex) {
  // 1,200 names of 80 characters come to about 300 KB of replies.
  for (int i = 0; i < 1200; i++) Write("many\\" + std::string(74, 'n') + std::to_string(100000 + i), std::string(i % 7, 'x'));
  ASSERT_TRUE(CreateDirectoryA(Path("many\\sub").c_str(), nullptr));
  std::wstring folder = winfs::Widen(Path("many"));
  HANDLE odd = CreateFileW((folder + L"\\\u00e9\u4e00\u0101.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_HIDDEN, nullptr);
  ASSERT_NE(odd, INVALID_HANDLE_VALUE);
  CloseHandle(odd);

  std::map<std::wstring, WIN32_FIND_DATAW> searched;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  do {
    if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..")) searched[found.cFileName] = found;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  ASSERT_EQ(searched.size(), 1202u);

  std::vector<unlha::FolderEntry> listed;
  ASSERT_TRUE(unlha::ListFolder(folder, &listed));
  ASSERT_EQ(listed.size(), searched.size());
  for (size_t i = 0; i < listed.size(); i++) {
    const WIN32_FIND_DATAW& entry = listed[i].found;
    SCOPED_TRACE(winfs::Narrow(entry.cFileName, CP_UTF8));
    auto match = searched.find(entry.cFileName);
    ASSERT_NE(match, searched.end());
    EXPECT_EQ(entry.dwFileAttributes, match->second.dwFileAttributes);
    EXPECT_EQ(entry.nFileSizeLow, match->second.nFileSizeLow);
    EXPECT_EQ(CompareFileTime(&entry.ftLastWriteTime, &match->second.ftLastWriteTime), 0);
    if (i % 50 && !(entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY))) continue;
    HANDLE file = CreateFileW((folder + L"\\" + entry.cFileName).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    uint64_t index = 0;
    EXPECT_TRUE(winfs::FileIndexOf(file, &index));
    CloseHandle(file);
    EXPECT_NE(listed[i].index, 0u);
    EXPECT_EQ(listed[i].index, index);
  }

  ASSERT_TRUE(unlha::ListFolder(winfs::Widen(Path("many\\sub")), &listed));
  EXPECT_TRUE(listed.empty());
  EXPECT_FALSE(unlha::ListFolder(winfs::Widen(Path("absent")), &listed));
}

}  // namespace
