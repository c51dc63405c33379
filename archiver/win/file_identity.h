// What a file or folder is on disk, whatever path reaches it: the volume's
// serial number and the file index. Links, junctions, 8.3 names and the
// other drive letters of one place all lead to one identity.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <tuple>

namespace winfs {

struct FileIdentity {
  DWORD volume = 0;
  DWORD index_high = 0;
  DWORD index_low = 0;
  uint64_t size = 0;          // not part of the identity: what a caller compares next
  uint64_t write_time = 0;    // FILETIME as a number
  // index_high and index_low as one number, as FileIndexOf gives it.
  uint64_t Index() const { return (static_cast<uint64_t>(index_high) << 32) | index_low; }
  bool SameFile(const FileIdentity& other) const {
    return volume == other.volume && index_high == other.index_high && index_low == other.index_low;
  }
  // Same file, same size, same last-write time: unchanged since it was seen.
  bool Unchanged(const FileIdentity& other) const {
    return SameFile(other) && size == other.size && write_time == other.write_time;
  }
  bool operator<(const FileIdentity& other) const {
    return std::tie(volume, index_high, index_low) < std::tie(other.volume, other.index_high, other.index_low);
  }
};

// False when `path` cannot be opened or the system cannot tell.
bool IdentityOf(const std::wstring& path, FileIdentity* identity);
bool IdentityOf(HANDLE file, FileIdentity* identity);

// The file index alone (as FileIdentity::Index gives it), which the system
// answers without asking the volume: under Wine the volume's serial
// number is a trip to another process, about a millisecond each time.
bool FileIndexOf(HANDLE file, uint64_t* index);

}  // namespace winfs
