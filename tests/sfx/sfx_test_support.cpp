#include "tests/sfx/sfx_test_support.h"

#include <cstdio>

#include "archiver/lzh/crc16.h"

namespace sfxtest {
namespace {

void RemoveTree(const std::string& path) {
  for (const std::string& name : ListFolder(path)) {
    std::string child = path + "\\" + name;
    DWORD attributes = GetFileAttributesA(child.c_str());
    SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
      RemoveTree(child);
    else
      DeleteFileA(child.c_str());
  }
  RemoveDirectoryA(path.c_str());
}

void PutLe(std::string* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

// Under Wine the host's /tmp is reachable as Z:\tmp, which lets the host's
// tools (jlha, 7zz, lsar) see the same files.
TempFolder::TempFolder() {
  static unsigned counter = 0;
  char base[MAX_PATH];
  DWORD attributes = GetFileAttributesA("Z:\\tmp");
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    lstrcpyA(base, "Z:\\tmp\\");
  else
    GetTempPathA(sizeof base, base);
  for (;;) {
    char name[MAX_PATH];
    wsprintfA(name, "%szuvo-sfx-%lu-%u", base, GetCurrentProcessId(), ++counter);
    if (CreateDirectoryA(name, nullptr)) {
      path_ = name;
      return;
    }
  }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

std::string ReadFileBytes(const std::string& path, bool* found) {
  FILE* file = fopen(path.c_str(), "rb");
  if (found) *found = file != nullptr;
  std::string bytes;
  if (!file) return bytes;
  char buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  fclose(file);
  return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

void ArchiveBuilder::AddStored(const std::string& raw_name, const std::string& content, uint32_t dos_time,
                               const char* method) {
  std::string header;
  header += method;
  PutLe(&header, static_cast<uint32_t>(content.size()), 4);
  PutLe(&header, static_cast<uint32_t>(content.size()), 4);
  PutLe(&header, dos_time, 4);
  header.push_back(0x20);  // archive attribute
  header.push_back(0);     // level 0
  header.push_back(static_cast<char>(raw_name.size()));
  header += raw_name;
  PutLe(&header, lzh::Crc16(reinterpret_cast<const uint8_t*>(content.data()), content.size()), 2);
  unsigned sum = 0;
  for (unsigned char c : header) sum += c;
  bytes_.push_back(static_cast<char>(header.size()));
  bytes_.push_back(static_cast<char>(sum & 0xFF));
  bytes_ += header;
  bytes_ += content;
}

bool MakeSelfExtractor(const char* stub_unix_path, const std::string& archive, const std::string& exe_path) {
  bool found = false;
  std::string stub = ReadFileBytes(HostToWindows(stub_unix_path), &found);
  return found && !stub.empty() && WriteFileBytes(exe_path, stub + archive);
}

std::string HostToWindows(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string WindowsToHost(const std::string& windows_path) {
  if (windows_path.size() < 2 || (windows_path[0] != 'Z' && windows_path[0] != 'z') || windows_path[1] != ':')
    return std::string();
  std::string path = windows_path.substr(2);
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

bool StartProgram(const std::string& command_line, const std::string& folder, PROCESS_INFORMATION* process) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back(0);
  return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, process) != FALSE;
}

int RunProgram(const std::string& command_line, const std::string& folder, DWORD seconds) {
  PROCESS_INFORMATION process;
  if (!StartProgram(command_line, folder, &process)) return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, seconds * 1000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  else
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

// Wine starts host programs without a handle to wait on, so the script leaves
// its exit status in a file, written last, that is polled for.
int RunHostCommand(const std::string& shell_command, std::string* output, DWORD seconds) {
  TempFolder work;
  std::string host = WindowsToHost(work.path());
  if (host.empty()) return -1;
  std::string script =
      "PATH=/usr/local/bin:/usr/bin:/bin; export PATH\n"
      "( " + shell_command + " ) > '" + host + "/output' 2>&1\n"
      "echo $? > '" + host + "/status.part'\n"
      "mv '" + host + "/status.part' '" + host + "/status'\n";
  if (!WriteFileBytes(work / "run.sh", script)) return -1;
  std::string line = "Z:\\bin\\sh " + host + "/run.sh";
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back(0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA("Z:\\bin\\sh", buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return -1;
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  std::string status_path = work / "status";
  if (!PollUntil([&] { return Exists(status_path); }, seconds)) return -1;
  if (output) *output = ReadFileBytes(work / "output");
  return atoi(ReadFileBytes(status_path).c_str());
}

}  // namespace sfxtest
