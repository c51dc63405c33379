#include "tests/dll/unlha_fixture.h"

#include <algorithm>
#include <functional>

Unlha32 UnlhaTest::lib_;

bool Unlha32::Load() {
  if (module) return true;
  module = LoadLibraryA("unlha32.dll");
  if (!module) return false;
  Unlha = (decltype(Unlha))GetProcAddress(module, "Unlha");
  GetVersion = (decltype(GetVersion))GetProcAddress(module, "UnlhaGetVersion");
  GetRunning = (decltype(GetRunning))GetProcAddress(module, "UnlhaGetRunning");
  SetCursorMode = (decltype(SetCursorMode))GetProcAddress(module, "UnlhaSetCursorMode");
  CheckArchive = (decltype(CheckArchive))GetProcAddress(module, "UnlhaCheckArchive");
  OpenArchive = (decltype(OpenArchive))GetProcAddress(module, "UnlhaOpenArchive");
  FindFirst = (decltype(FindFirst))GetProcAddress(module, "UnlhaFindFirst");
  FindNext = (decltype(FindNext))GetProcAddress(module, "UnlhaFindNext");
  CloseArchive = (decltype(CloseArchive))GetProcAddress(module, "UnlhaCloseArchive");
  ConfigDialog = (decltype(ConfigDialog))GetProcAddress(module, "UnlhaConfigDialog");
  return true;
}

static void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path + "\\");
      else DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

void UnlhaTest::SetUp() {
  ASSERT_TRUE(lib_.Load()) << "unlha32.dll not found";
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  char unique[64];
  wsprintfA(unique, "unlha_test_%lu_%lu\\", GetCurrentProcessId(), GetTickCount());
  root_ = std::string(temp) + unique;
  CreateDirectoryA(root_.c_str(), nullptr);
  owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

void UnlhaTest::TearDown() {
  if (owner_) DestroyWindow(owner_);
  RemoveTree(root_);
}

int UnlhaTest::Run(const std::string& line) {
  std::vector<char> buffer(30000, 'Z');
  int result = lib_.Unlha(owner_, line.c_str(), buffer.data(), 29999);
  output = buffer.data();
  return result;
}

std::vector<std::string> UnlhaTest::Names(const std::string& archive) {
  std::vector<std::string> names;
  HANDLE handle = lib_.OpenArchive(owner_, archive.c_str(), 0x102);
  if (!handle) return names;
  EntryRecord560 record;
  for (int r = lib_.FindFirst(handle, "*.*", &record); r != -1; r = lib_.FindNext(handle, &record))
    names.push_back(record.name);
  lib_.CloseArchive(handle);
  return names;
}

void UnlhaTest::Write(const std::string& relative, const std::string& bytes) {
  std::string path = Path(relative);
  for (size_t i = root_.size(); i < path.size(); ++i) {
    if ((unsigned char)path[i] >= 0x81 && (unsigned char)path[i] <= 0x9F) { ++i; continue; }
    if ((unsigned char)path[i] >= 0xE0 && (unsigned char)path[i] <= 0xFC) { ++i; continue; }
    if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
  CloseHandle(file);
}

std::string UnlhaTest::Read(const std::string& path) const {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD got = 0;
  if (!bytes.empty()) ReadFile(file, &bytes[0], (DWORD)bytes.size(), &got, nullptr);
  CloseHandle(file);
  return bytes;
}

bool UnlhaTest::Exists(const std::string& path) const {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> UnlhaTest::FilesBelow(const std::string& folder) const {
  std::vector<std::string> files;
  std::function<void(const std::string&, const std::string&)> walk = [&](const std::string& dir,
                                                                          const std::string& prefix) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) walk(dir + name + "\\", prefix + name + "\\");
      else files.push_back(prefix + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  };
  walk(folder, "");
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> UnlhaTest::BoxTexts() {
  std::vector<std::string> texts;
  for (const SeenDialog& seen : boxes_.Seen()) texts.push_back(Utf8(seen.text));
  boxes_.Clear();
  return texts;
}

std::string UnlhaTest::UnixPath(const std::string& path) {
  typedef char*(CDECL * ToUnix)(LPCWSTR);
  ToUnix to_unix = (ToUnix)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
  if (!to_unix) return std::string();
  wchar_t wide[MAX_PATH * 2];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH * 2);
  char* unix_path = to_unix(wide);
  if (!unix_path) return std::string();
  std::string result = unix_path;
  HeapFree(GetProcessHeap(), 0, unix_path);
  return result;
}

int UnlhaTest::RunUnix(const std::string& command) {
  // A native child's exit code does not reach us through Wine, so the shell
  // writes it to a marker file that we poll for.
  std::string marker = Path("unix_status.txt");
  DeleteFileA(marker.c_str());
  std::string unix_marker = UnixPath(marker);
  std::string line = "/bin/sh -c \"" + command + " >/dev/null 2>&1; echo $? > '" + unix_marker + ".tmp'; mv '" +
                     unix_marker + ".tmp' '" + unix_marker + "'\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return -1;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!WaitFor([&] { return Exists(marker); }, 120000)) return -1;
  int status = atoi(Read(marker).c_str());
  DeleteFileA(marker.c_str());
  return status;
}

std::string Bytes(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = (char)(seed >> 16);
  }
  return bytes;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::wstring WideOf(const std::string& ansi) {
  std::wstring wide(ansi.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), (int)ansi.size(), &wide[0], (int)wide.size()));
  return wide;
}

bool WriteWide(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  return ok;
}
