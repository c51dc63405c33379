// The library's own settings, kept under
// HKEY_CURRENT_USER\Software\Vantrel\unlha32.
#pragma once
#include <windows.h>

namespace unlha {

struct Settings {
  int method = 5;            // 5, 6 or 7: -lh5-, -lh6-, -lh7-
  int header_level = 2;      // 0, 1 or 2
  bool best_compression = false;     // the slow, thorough parse
  bool show_progress = true;
  bool archive_time_newest = false;  // set the archive's time to its newest entry
  bool restore_attributes = true;    // hidden/system bits on extracted files

  const char* MethodText() const;
};

Settings LoadSettings();
bool SaveSettings(const Settings& settings);

// The settings dialog; returns true when the user pressed OK.
bool ShowConfigDialog(HWND owner);

}  // namespace unlha
