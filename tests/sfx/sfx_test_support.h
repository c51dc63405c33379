// Helpers of the self-extracting program tests: temporary folders, small
// archives made byte by byte, and running programs (Windows ones and the
// host's own tools) with a deadline.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sfxtest {

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

bool WriteFileBytes(const std::string& path, const std::string& bytes);
// The file's bytes; *found false when it does not exist.
std::string ReadFileBytes(const std::string& path, bool* found = nullptr);
bool Exists(const std::string& path);
// Names of the files and folders directly in `folder`.
std::vector<std::string> ListFolder(const std::string& folder);

// A level-0 archive of stored (-lh0-) entries, names given as raw bytes with
// whatever separators the test wants ("..\\evil.txt").
class ArchiveBuilder {
 public:
  void AddStored(const std::string& raw_name, const std::string& content, uint32_t dos_time = 0x5A8E6000,
                 const char* method = "-lh0-");
  const std::string& bytes() const { return bytes_; }
  // Ends with the end marker.
  std::string Finish() const { return bytes_ + std::string(1, '\0'); }

 private:
  std::string bytes_;
};

// The stub's bytes, then `archive`, as `exe_path`.
bool MakeSelfExtractor(const char* stub_unix_path, const std::string& archive, const std::string& exe_path);

// Z:\... form of a path of the host.
std::string HostToWindows(const std::string& unix_path);
// The host path of a Z: path; empty for other drives.
std::string WindowsToHost(const std::string& windows_path);

// Runs `command_line` in `folder` (hidden window for console programs) and
// waits at most `seconds`; returns the exit code, or -1 on failure/timeout
// (the process is then ended).
int RunProgram(const std::string& command_line, const std::string& folder, DWORD seconds = 60);
// Starts a program without waiting; the caller owns the handles.
bool StartProgram(const std::string& command_line, const std::string& folder, PROCESS_INFORMATION* process);

// Runs a shell command on the host (outside Wine) and waits for it with a
// deadline; *output gets its standard output and error. Returns the exit
// status, or -1 when it did not finish in time.
int RunHostCommand(const std::string& shell_command, std::string* output, DWORD seconds = 120);

// Calls `done` every 50 ms until it returns true or `seconds` pass.
template <typename F>
bool PollUntil(F done, DWORD seconds) {
  DWORD deadline = GetTickCount() + seconds * 1000;
  for (;;) {
    if (done()) return true;
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
    Sleep(50);
  }
}

}  // namespace sfxtest
