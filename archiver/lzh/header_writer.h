// Serialises an entry header at level 0, 1 or 2.
//
// Level 2 (the default) carries the Unix time in the base header, the name in
// extended header 0x01, the directory in 0x02 (components ended by 0xFF), the
// MS-DOS attributes in 0x40, Windows time stamps in 0x41 and Unix permissions
// in 0x50 when known, and a header CRC in 0x00. Levels 0 and 1 carry the MS-DOS time; level 1 puts the
// directory in its own extended header too, level 0 joins it to the name with
// backslashes.
#pragma once
#include <cstdint>
#include <string>

#include "archiver/lzh/header.h"
#include "archiver/lzh/write_status.h"

namespace lzh {

// Appends the header bytes for `header` (its level, method, sizes, times,
// path, attributes, CRC) to `out`. Level 1 counts its extended headers into
// the compressed size field as the format requires; `header.compressed_size`
// is the size of the data alone. Returns kBadHeader when the path or a size
// does not fit the level.
WriteStatus SerializeHeader(const Header& header, std::string* out);

// Levels 0 and 1 store `dos_time`; level 2 stores `unix_time`. When only the
// other one is set (has_unix_time, or dos_time != 0) it is converted with the
// reader's rule (MS-DOS fields taken as UTC); callers that know the local
// time zone should fill both.

}  // namespace lzh
