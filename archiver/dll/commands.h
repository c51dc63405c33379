// One command run by Unlha(): what every command handler gets.
#pragma once
#include <windows.h>

#include <string>

#include "archiver/dll/command_line.h"
#include "archiver/dll/progress.h"
#include "archiver/dll/report.h"
#include "archiver/dll/settings.h"

namespace unlha {

// Text output of a command, cut to the caller's buffer at a line end.
class Output {
 public:
  Output(char* buffer, DWORD size) : buffer_(buffer), size_(size) {}
  void Append(const std::string& text) { text_ += text; }
  // True when the caller gave room for at least one line of text.
  bool Wanted() const { return buffer_ && size_ > 2; }
  // Copies what fits (always zero-terminated).
  void Flush() const;

 private:
  char* buffer_;
  DWORD size_;
  std::string text_;
};

struct Job {
  HWND owner;
  Command command;
  Settings settings;
  Report& report;
  Progress& progress;
  Output& output;
};

void RunList(Job& job);
void RunExtract(Job& job);
void RunUpdate(Job& job);   // u and m
void RunDelete(Job& job);
void RunRename(Job& job);
void RunMakeSfx(Job& job);
void RunTest(Job& job);

// The directory where a changed archive is built: -w, else beside it.
std::wstring WorkDirectory(const Job& job);

}  // namespace unlha
