#include "archiver/win/entry_time.h"

namespace winfs {

namespace {
const int64_t kUnixEpochInFileTime = 116444736000000000LL;  // 1970-01-01 in 100 ns units

FILETIME FromValue(uint64_t value) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(value);
  time.dwHighDateTime = static_cast<DWORD>(value >> 32);
  return time;
}
}  // namespace

uint64_t FileTimeValue(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool EntryFileTime(const lzh::Header& header, FILETIME* utc) {
  if (header.win_modify) {
    *utc = FromValue(header.win_modify);
    return true;
  }
  if (header.has_unix_time) {
    int64_t value = header.unix_time * 10000000LL + kUnixEpochInFileTime;
    *utc = FromValue(value < 0 ? 0 : static_cast<uint64_t>(value));
    return value >= 0;
  }
  *utc = FromValue(0);
  if (header.dos_time == 0) return false;
  FILETIME local;
  return DosDateTimeToFileTime(HIWORD(header.dos_time), LOWORD(header.dos_time), &local) &&
         LocalFileTimeToFileTime(&local, utc);
}

bool SetEntryTimes(HANDLE file, const lzh::Header& header) {
  FILETIME modified;
  if (!EntryFileTime(header, &modified)) return false;
  FILETIME created = FromValue(header.win_create);
  FILETIME accessed = FromValue(header.win_access);
  return SetFileTime(file, header.win_create ? &created : nullptr, header.win_access ? &accessed : &modified,
                     &modified) != FALSE;
}

void SetFolderTimes(const std::wstring& path, const lzh::Header& header) {
  HANDLE folder = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return;
  SetEntryTimes(folder, header);
  CloseHandle(folder);
}

uint32_t DosTimeOf(const FILETIME& utc) {
  FILETIME local;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return (1 << 21) | (1 << 16);  // 1980-01-01
  return (static_cast<uint32_t>(date) << 16) | time;
}

int64_t UnixTimeOf(const FILETIME& utc) {
  return (static_cast<int64_t>(FileTimeValue(utc)) - kUnixEpochInFileTime) / 10000000LL;
}

}  // namespace winfs
