// One entry header of an LZH archive, as read from or written to any of the
// header levels 0 to 3. Names are raw bytes (CP932 on Japanese systems).
#pragma once
#include <cstdint>
#include <string>

namespace lzh {

// Operating-system ids stored in the header.
enum : uint8_t {
  kOsMsDos = 'M',
  kOsUnix = 'U',
  kOsWin32 = 'W',  // not a standard value, but written by some Windows tools
  kOsGeneric = 0,
};

// MS-DOS attribute bits.
enum : uint8_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
};

struct Header {
  // Out of line: a header holds six strings, and inlined at every use their
  // construction and destruction would cost more code than the work itself.
  Header();
  Header(const Header&);
  Header(Header&&) noexcept;
  Header& operator=(const Header&);
  Header& operator=(Header&&) noexcept;
  ~Header();

  char method[6] = {'-', 'l', 'h', '0', '-', 0};  // five characters + NUL
  uint64_t compressed_size = 0;  // bytes of data after the header
  uint64_t original_size = 0;
  uint8_t level = 2;
  uint8_t os_id = kOsMsDos;
  uint8_t dos_attributes = kAttrArchive;

  // Path inside the archive: directory components and name joined with '/',
  // directory part ending in '/', e.g. "doc/images/a.bmp"; a directory entry
  // ("-lhd-") is "doc/images/".
  std::string path;
  // The exact name where code page 932 cannot spell it (extended headers
  // 0x44 and 0x45), as UTF-8: the file name, and the directory with '/'
  // after each component. Empty when absent; either may be present alone.
  std::string unicode_name, unicode_dir;
  // The name bytes in `path` are UTF-8 (code page header 0x46 said so).
  bool utf8_path = false;

  // Time stamps. dos_time is the packed MS-DOS date (high half) and time (low
  // half) in local time; unix_time is seconds since 1970 UTC. has_unix_time
  // tells which the archive carried (level 0/1 store DOS time, level 2 Unix
  // time; extended headers may add the other).
  uint32_t dos_time = 0;
  int64_t unix_time = 0;
  bool has_unix_time = false;
  // Windows FILETIMEs from extended header 0x41 (0 when absent).
  uint64_t win_create = 0, win_modify = 0, win_access = 0;

  bool has_unix_mode = false;
  uint16_t unix_mode = 0;
  bool has_unix_owner = false;
  uint16_t unix_uid = 0, unix_gid = 0;
  std::string unix_user, unix_group;  // extended headers 0x53 / 0x52 (may be empty)

  bool has_crc = false;  // level 0 without the extended area may lack none; -lhd- has no data CRC
  uint16_t crc = 0;      // CRC-16 of the original data

  // Where this header and its data lie in the archive file.
  uint64_t header_offset = 0;
  uint64_t header_size = 0;  // bytes from header_offset to the first data byte
  uint64_t data_offset = 0;

  // A Unix symbolic link, stored as a "-lhd-" entry named "path|target":
  // path is then the link's own name and link_target where it points. Links
  // have no data and are never created on extraction.
  bool is_link = false;
  std::string link_target;

  bool IsDirectory() const { return method[3] == 'd' && method[1] == 'l' && method[2] == 'h' && !is_link; }
  bool IsLink() const { return is_link; }
};

}  // namespace lzh
