#include "archiver/dll/settings.h"

namespace unlha {

namespace {

const char kKey[] = "Software\\Vantrel\\unlha32";

DWORD ReadDword(HKEY key, const char* name, DWORD fallback) {
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)&value, &size) == ERROR_SUCCESS &&
      type == REG_DWORD) {
    return value;
  }
  return fallback;
}

bool WriteDword(HKEY key, const char* name, DWORD value) {
  return RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value) == ERROR_SUCCESS;
}

}  // namespace

const char* Settings::MethodText() const {
  switch (method) {
    case 6: return "-lh6-";
    case 7: return "-lh7-";
    default: return "-lh5-";
  }
}

Settings LoadSettings() {
  Settings settings;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return settings;
  DWORD method = ReadDword(key, "Method", 5);
  if (method >= 5 && method <= 7) settings.method = (int)method;
  DWORD level = ReadDword(key, "HeaderLevel", 2);
  if (level <= 2) settings.header_level = (int)level;
  settings.best_compression = ReadDword(key, "BestCompression", 0) != 0;
  settings.show_progress = ReadDword(key, "ShowProgress", 1) != 0;
  settings.archive_time_newest = ReadDword(key, "ArchiveTimeNewest", 0) != 0;
  settings.restore_attributes = ReadDword(key, "RestoreAttributes", 1) != 0;
  RegCloseKey(key);
  return settings;
}

bool SaveSettings(const Settings& settings) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  bool ok = WriteDword(key, "Method", settings.method) &&
            WriteDword(key, "HeaderLevel", settings.header_level) &&
            WriteDword(key, "BestCompression", settings.best_compression) &&
            WriteDword(key, "ShowProgress", settings.show_progress) &&
            WriteDword(key, "ArchiveTimeNewest", settings.archive_time_newest) &&
            WriteDword(key, "RestoreAttributes", settings.restore_attributes);
  RegCloseKey(key);
  return ok;
}

}  // namespace unlha
