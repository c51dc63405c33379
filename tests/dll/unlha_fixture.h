// The library under test, loaded by name the way the front end loads it, and
// a scratch folder with helpers for files.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/dialog_watcher.h"
#include "tests/support/text.h"

// Bytes that do not compress, the same for the same seed.
std::string Bytes(size_t size, unsigned seed);
// The lines, each followed by a line break.
std::string JoinLines(const std::vector<std::string>& lines);
// A name in the system code page as UTF-16.
std::wstring WideOf(const std::string& ansi);
// Writes a file named in UTF-16 (names the code page cannot spell).
bool WriteWide(const std::wstring& path, const std::string& bytes);

struct EntryRecord560 {
  DWORD original_size, compressed_size, crc;
  UINT flags, os_type;
  WORD ratio, date, time;
  char name[513];
  char reserved[3];
  char attributes[8];
  char method[8];
};

struct Unlha32 {
  HMODULE module = nullptr;
  int(WINAPI* Unlha)(HWND, LPCSTR, LPSTR, DWORD) = nullptr;
  WORD(WINAPI* GetVersion)() = nullptr;
  BOOL(WINAPI* GetRunning)() = nullptr;
  BOOL(WINAPI* SetCursorMode)(BOOL) = nullptr;
  BOOL(WINAPI* CheckArchive)(LPCSTR, int) = nullptr;
  HANDLE(WINAPI* OpenArchive)(HWND, LPCSTR, DWORD) = nullptr;
  int(WINAPI* FindFirst)(HANDLE, LPCSTR, EntryRecord560*) = nullptr;
  int(WINAPI* FindNext)(HANDLE, EntryRecord560*) = nullptr;
  int(WINAPI* CloseArchive)(HANDLE) = nullptr;
  BOOL(WINAPI* ConfigDialog)(HWND, LPSTR, int) = nullptr;
  bool Load();
};

class UnlhaTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs a command line; the text output lands in `output`.
  int Run(const std::string& line);
  // Stored names (as the records give them) of the archive, in order.
  std::vector<std::string> Names(const std::string& archive);

  std::string Path(const std::string& relative) const { return root_ + relative; }
  void Write(const std::string& relative, const std::string& bytes);
  std::string Read(const std::string& path) const;  // absolute path
  bool Exists(const std::string& path) const;
  // Files (not folders) below `folder`, relative, '\'-separated, sorted.
  std::vector<std::string> FilesBelow(const std::string& folder) const;
  // The Linux path of a Windows path (Wine maps the drives).
  static std::string UnixPath(const std::string& path);
  // Runs a shell command on the Linux side (Wine starts native programs) and
  // returns its exit status, or -1 when it did not finish in time.
  int RunUnix(const std::string& command);
  // The boxes seen since the last call, texts in UTF-8.
  std::vector<std::string> BoxTexts();

  static Unlha32 lib_;
  DialogWatcher boxes_;
  HWND owner_ = nullptr;
  std::string root_;    // scratch folder, ends in '\'
  std::string output;
};
