// The progress window of the windowed program, as the extraction's listener:
// shows the current name and a bar, asks before overwriting, offers Cancel,
// and collects the problems for one message at the end.
//
// Extraction runs on the window's own thread; the window stays responsive
// because every progress report pumps the pending messages.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "archiver/sfx/extractor.h"

namespace sfx {

class ProgressWindow : public ExtractEvents {
 public:
  explicit ProgressWindow(HINSTANCE instance);
  ~ProgressWindow() override;
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  HWND window() const { return window_; }
  const std::vector<std::string>& problems() const { return problems_; }

  void OnEntry(const std::string& name) override;
  bool OnProgress(uint64_t done, uint64_t total) override;
  OverwriteAnswer AskOverwrite(const std::string& name, const std::wstring& path, const lzh::Header& entry) override;
  void OnProblem(const Problem& problem) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  void PumpMessages();

  HINSTANCE instance_;
  HWND window_ = nullptr;
  bool cancelled_ = false;
  DWORD last_pump_ = 0;
  int last_position_ = -1;
  std::vector<std::string> problems_;
};

}  // namespace sfx
