// library_floor: the library benchmark's helper under Wine (bench/library_bench.sh).
//   library_floor tree DIR FILES FOLDERS   writes FILES small files into FOLDERS
//                                          folders below DIR (0: all in DIR)
//   library_floor make DIR FILES FOLDERS   the floor of extraction: the same
//                                          files made with the calls a file
//                                          needs (CreateDirectory, CreateFile,
//                                          WriteFile, SetFileTime, CloseHandle)
//   library_floor renamed DIR FILES FOLDERS the same, each file written under
//                                          a work name and renamed into place
//   library_floor read DIR                 the floor of adding: every file
//                                          below DIR found, opened and read
//   library_floor run DLL WINDOW COMMAND   calls Unlha(COMMAND) from DLL, with a
//                                          shown owner window when WINDOW is 1
// Each timed mode prints the seconds of its work alone (the contents are made
// before the clock starts; Wine's start is never counted), and run also the
// library's return code.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

namespace {

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return (double)count.QuadPart / (double)frequency.QuadPart;
}

std::wstring Wide(const char* text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
  if (length > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
  return wide;
}

struct SmallFile {
  std::wstring folder;  // "" or "dNNN\"
  std::wstring name;
  std::string bytes;
};

// Text-like files of 200 to 4,200 bytes, the same every time.
std::vector<SmallFile> SmallFiles(unsigned files, unsigned folders) {
  std::vector<SmallFile> list(files);
  unsigned seed = 12345;
  for (unsigned i = 0; i < files; i++) {
    seed = seed * 1103515245u + 12345u;
    size_t size = 200 + (seed >> 8) % 4000;
    SmallFile& file = list[i];
    if (folders) file.folder = L"d" + std::to_wstring(i % folders) + L"\\";
    file.name = L"file" + std::to_wstring(i) + L".txt";
    while (file.bytes.size() < size)
      file.bytes += "line " + std::to_string(file.bytes.size() * 7 % 997) + " of file " + std::to_string(i) + "\r\n";
    file.bytes.resize(size);
  }
  return list;
}

std::vector<std::wstring> Folders(const std::vector<SmallFile>& files) {
  std::vector<std::wstring> folders;
  for (const SmallFile& file : files)
    if (!file.folder.empty() && (folders.empty() || folders.back() != file.folder)) {
      bool seen = false;
      for (const std::wstring& folder : folders) seen = seen || folder == file.folder;
      if (!seen) folders.push_back(file.folder);
    }
  return folders;
}

int MakeFiles(const std::wstring& root, unsigned files, unsigned folders, bool renamed) {
  std::vector<SmallFile> list = SmallFiles(files, folders);
  std::vector<std::wstring> made = Folders(list);
  FILETIME time = {0xD53E8000u, 0x01D70000u};
  double start = Now();
  CreateDirectoryW(root.c_str(), nullptr);
  for (const std::wstring& folder : made) CreateDirectoryW((root + folder).c_str(), nullptr);
  for (const SmallFile& file : list) {
    std::wstring path = root + file.folder + file.name;
    std::wstring work = root + file.folder + L"lzh0001.tmp";
    HANDLE handle = CreateFileW((renamed ? work : path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(handle, file.bytes.data(), (DWORD)file.bytes.size(), &written, nullptr);
    SetFileTime(handle, nullptr, &time, &time);
    CloseHandle(handle);
    if (written != file.bytes.size()) return 1;
    if (renamed && !MoveFileExW(work.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return 1;
  }
  printf("%.4f\n", Now() - start);
  return 0;
}

void ReadBelow(const std::wstring& folder, std::vector<char>& buffer, unsigned long long* total) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring path = folder + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ReadBelow(path + L"\\", buffer, total);
      continue;
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    DWORD got = 0;
    while (ReadFile(file, buffer.data(), (DWORD)buffer.size(), &got, nullptr) && got) *total += got;
    CloseHandle(file);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

int ReadFiles(const std::wstring& root) {
  std::vector<char> buffer(1 << 16);
  unsigned long long total = 0;
  double start = Now();
  ReadBelow(root, buffer, &total);
  printf("%.4f\n", Now() - start);
  return total ? 0 : 1;
}

int RunLibrary(const char* dll, bool window, const char* command) {
  HMODULE library = LoadLibraryA(dll);
  typedef int(WINAPI * UnlhaFunction)(HWND, LPCSTR, LPSTR, DWORD);
  UnlhaFunction unlha = library ? (UnlhaFunction)GetProcAddress(library, "Unlha") : nullptr;
  if (!unlha) return 2;
  HWND owner = nullptr;
  if (window) {
    owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(owner);
  }
  char output[4096] = "";
  double start = Now();
  int result = unlha(owner, command, output, sizeof output);
  printf("%.4f %d\n", Now() - start, result);
  if (owner) DestroyWindow(owner);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "tree" && argc == 5) {
    std::wstring root = Wide(argv[2]) + L"\\";
    std::vector<SmallFile> list = SmallFiles(atoi(argv[3]), atoi(argv[4]));
    CreateDirectoryW(root.c_str(), nullptr);
    for (const std::wstring& folder : Folders(list)) CreateDirectoryW((root + folder).c_str(), nullptr);
    for (const SmallFile& file : list) {
      HANDLE handle =
          CreateFileW((root + file.folder + file.name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written = 0;
      if (handle == INVALID_HANDLE_VALUE) return 1;
      WriteFile(handle, file.bytes.data(), (DWORD)file.bytes.size(), &written, nullptr);
      CloseHandle(handle);
    }
    return 0;
  }
  if ((mode == "make" || mode == "renamed") && argc == 5)
    return MakeFiles(Wide(argv[2]) + L"\\", atoi(argv[3]), atoi(argv[4]), mode == "renamed");
  if (mode == "read" && argc == 3) return ReadFiles(Wide(argv[2]) + L"\\");
  if (mode == "run" && argc == 5) return RunLibrary(argv[2], argv[3][0] == '1', argv[4]);
  fprintf(stderr, "usage: library_floor tree|make|renamed DIR FILES FOLDERS | read DIR | run DLL WINDOW COMMAND\n");
  return 2;
}
