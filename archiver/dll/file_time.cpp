#include "archiver/dll/file_time.h"

namespace unlha {

namespace {
const int64_t kUnixEpochInFileTime = 116444736000000000LL;  // 1970-01-01 in 100 ns units
}

uint64_t FileTimeValue(const FILETIME& time) {
  return ((uint64_t)time.dwHighDateTime << 32) | time.dwLowDateTime;
}

static FILETIME FromValue(uint64_t value) {
  FILETIME time;
  time.dwLowDateTime = (DWORD)value;
  time.dwHighDateTime = (DWORD)(value >> 32);
  return time;
}

FILETIME EntryFileTime(const lzh::Header& header) {
  if (header.win_modify) return FromValue(header.win_modify);
  if (header.has_unix_time) {
    int64_t value = header.unix_time * 10000000LL + kUnixEpochInFileTime;
    if (value < 0) value = 0;
    return FromValue((uint64_t)value);
  }
  FILETIME local = {0, 0}, utc = {0, 0};
  if (DosDateTimeToFileTime(HIWORD(header.dos_time), LOWORD(header.dos_time), &local)) {
    LocalFileTimeToFileTime(&local, &utc);
  }
  return utc;
}

uint32_t DosTimeOf(const FILETIME& utc) {
  FILETIME local;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time)) {
    return (1 << 21) | (1 << 16);  // 1980-01-01
  }
  return ((uint32_t)date << 16) | time;
}

int64_t UnixTimeOf(const FILETIME& utc) {
  return ((int64_t)FileTimeValue(utc) - kUnixEpochInFileTime) / 10000000LL;
}

}  // namespace unlha
