#include "archiver/lzh/header_reader.h"

#include <algorithm>
#include <cstring>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/safe_path.h"
#include "archiver/lzh/unicode_name.h"

namespace lzh {
namespace {

// A level 2 header's size field is 16 bits and a level 3 header's 32 bits; no
// real header is near the latter, so anything past this is damage.
constexpr uint64_t kMaxHeaderSize = 1 << 20;

// Extended-header types this reader understands.
enum : uint8_t {
  kExtCrc = 0x00,
  kExtFileName = 0x01,
  kExtDirName = 0x02,
  kExtSizes64 = 0x42,
  kExtDosAttributes = 0x40,
  kExtWindowsTimes = 0x41,
  kExtUnixMode = 0x50,
  kExtUnixOwner = 0x51,
  kExtUnixGroupName = 0x52,
  kExtUnixUserName = 0x53,
  kExtUnixTime = 0x54,
};

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint64_t Get64(const uint8_t* p) { return Get32(p) | (static_cast<uint64_t>(Get32(p + 4)) << 32); }

bool IsMethodShaped(const uint8_t* m) {
  if (m[0] != '-' || m[4] != '-') return false;
  for (int i = 1; i < 4; ++i)
    if (m[i] < 0x20 || m[i] > 0x7E) return false;
  return true;
}

// Reads exactly `size` bytes or reports why not.
Error ReadExact(ByteSource* source, uint64_t offset, uint8_t* buffer, size_t size) {
  size_t got = source->ReadAt(offset, buffer, size);
  if (got == size) return Error::kOk;
  return source->Failed() ? Error::kReadError : Error::kTruncated;
}

// State gathered while walking the extended headers.
struct Names {
  std::string file, dir;
  bool has_file = false, has_dir = false;
};

// Applies one extended header (type + body) to `h`. `crc_at` receives the
// position of the header CRC field within `body`, if this is one.
void ApplyExtended(uint8_t type, const uint8_t* body, size_t size, Header* h, Names* names,
                   bool* has_header_crc, uint16_t* header_crc) {
  switch (type) {
    case kExtCrc:
      if (size >= 2) {
        *has_header_crc = true;
        *header_crc = Get16(body);
      }
      break;
    case kExtFileName:
      names->file.assign(reinterpret_cast<const char*>(body), size);
      names->has_file = true;
      break;
    case kExtDirName:
      names->dir.assign(reinterpret_cast<const char*>(body), size);
      names->has_dir = true;
      break;
    case kExtDosAttributes:
      if (size >= 2) h->dos_attributes = body[0];
      break;
    case kExtWindowsTimes:
      if (size >= 24) {
        h->win_create = Get64(body);
        h->win_modify = Get64(body + 8);
        h->win_access = Get64(body + 16);
      }
      break;
    case kExtSizes64:
      if (size >= 16) {
        h->compressed_size = Get64(body);
        h->original_size = Get64(body + 8);
      }
      break;
    case kExtUnixMode:
      if (size >= 2) {
        h->unix_mode = Get16(body);
        h->has_unix_mode = true;
      }
      break;
    case kExtUnixOwner:
      if (size >= 4) {
        h->unix_gid = Get16(body);
        h->unix_uid = Get16(body + 2);
        h->has_unix_owner = true;
      }
      break;
    case kExtUnixGroupName:
      h->unix_group.assign(reinterpret_cast<const char*>(body), size);
      break;
    case kExtUnixUserName:
      h->unix_user.assign(reinterpret_cast<const char*>(body), size);
      break;
    case kExtUnicodeFileName:
      h->unicode_name = Utf16LeToUtf8(body, size, false);
      break;
    case kExtUnicodeDirName:
      h->unicode_dir = Utf16LeToUtf8(body, size, true);
      if (!h->unicode_dir.empty() && h->unicode_dir.back() != '/') h->unicode_dir.push_back('/');
      break;
    case kExtCodePage:
      if (size >= 4) h->utf8_path = Get32(body) == kCodePageUtf8;
      break;
    case kExtUnixTime:
      if (size >= 4) {
        h->unix_time = Get32(body);
        h->has_unix_time = true;
      }
      break;
    default:
      break;  // comments and anything newer: skipped by size
  }
}

// Walks the chain of extended headers in buf[pos, end) whose size fields are
// `width` bytes wide, starting with the size `first`. Returns the offset just
// past the chain via *stop, or an error if a size does not fit.
Error WalkExtended(const uint8_t* buf, size_t pos, size_t end, size_t width, uint64_t first, Header* h,
                   Names* names, bool* has_header_crc, uint16_t* header_crc, size_t* crc_field,
                   size_t* stop) {
  uint64_t next = first;
  while (next != 0) {
    if (next < width + 1 || next > end - pos) return Error::kBadHeader;
    size_t size = static_cast<size_t>(next);
    const uint8_t* p = buf + pos;
    uint8_t type = p[0];
    size_t body = size - 1 - width;
    if (type == kExtCrc && body >= 2) *crc_field = pos + 1;
    ApplyExtended(type, p + 1, body, h, names, has_header_crc, header_crc);
    next = width == 2 ? Get16(p + 1 + body) : Get32(p + 1 + body);
    pos += size;
  }
  *stop = pos;
  return Error::kOk;
}

// Offset of the first '|' of `path` that is not the trail byte of a CP932
// character, or npos.
size_t FindLinkBar(const std::string& path) {
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsCp932LeadByte(c) && i + 1 < path.size() && IsCp932TrailByte(static_cast<unsigned char>(path[i + 1])))
      ++i;
    else if (c == '|')
      return i;
  }
  return std::string::npos;
}

// Unix archivers store a symbolic link as a "-lhd-" entry "name|target"
// whose mode (when stored) says link.
void SplitLink(Header* h) {
  if (!h->IsDirectory()) return;
  if (h->has_unix_mode && (h->unix_mode & 0xF000) != 0xA000) return;
  size_t bar = FindLinkBar(h->path);
  if (bar == std::string::npos) return;
  h->link_target = h->path.substr(bar + 1);
  h->path.resize(bar);
  while (!h->path.empty() && h->path.back() == '/') h->path.pop_back();
  h->is_link = true;
}

void FinishPath(const std::string& base_name, const Names& names, Header* h) {
  std::string path;
  if (names.has_dir) {
    // Normalized first: a final 0x5C may be the trail byte of a character
    // and is then no separator.
    path = NormalizeStoredPath(names.dir);
    if (!path.empty() && path.back() != '/') path.push_back('/');
  }
  path += NormalizeStoredPath(names.has_file ? names.file : base_name);
  h->path = path;
  SplitLink(h);
  // Amiga archivers store a folder as an empty stored entry whose name ends
  // in a separator: it becomes a directory entry. (Method names are tested
  // by letter: tools that look for an archive behind a self-extracting
  // program take the first one in the file for the first header.)
  bool stored = h->method[1] == 'l' && h->method[2] == 'h' && h->method[3] == '0';
  if (stored && h->original_size == 0 && h->compressed_size == 0 && !h->path.empty() && h->path.back() == '/')
    h->method[3] = 'd';
  if (h->IsDirectory() && !h->path.empty() && h->path.back() != '/') h->path.push_back('/');
}

// Walks the sizes of a chain of extended headers in buf[pos, end) without
// applying them; false when one does not fit. *stop: just past the chain.
bool ChainFits(const uint8_t* buf, size_t pos, size_t end, size_t width, uint64_t first, size_t* stop) {
  uint64_t next = first;
  while (next != 0) {
    if (next < width + 1 || next > end - pos) return false;
    pos += static_cast<size_t>(next);
    next = width == 2 ? Get16(buf + pos - width) : Get32(buf + pos - width);
  }
  *stop = pos;
  return true;
}

// The part levels 0 and 1 share: the first 22 bytes, the name and the
// header's checksum.
struct ShortHeader {
  uint8_t buf[2 + 255];
  size_t end;  // the header's size
  size_t pos;  // just past the name
  std::string base_name;
};

Error ReadShortHeader(ByteSource* source, uint64_t offset, const uint8_t* head, Header* h, ShortHeader* s) {
  size_t hsize = head[0];  // bytes after the first two
  if (hsize < 20) return Error::kBadHeader;
  uint8_t* buf = s->buf;
  Error e = ReadExact(source, offset, buf, hsize + 2);
  if (e != Error::kOk) return e;
  uint8_t sum = 0;
  for (size_t i = 2; i < hsize + 2; ++i) sum = static_cast<uint8_t>(sum + buf[i]);
  if (sum != buf[1]) return Error::kBadHeader;
  memcpy(h->method, buf + 2, 5);
  h->method[5] = 0;
  h->compressed_size = Get32(buf + 7);
  h->original_size = Get32(buf + 11);
  h->dos_time = Get32(buf + 15);
  h->level = buf[20];
  size_t name_len = buf[21];
  s->end = hsize + 2;
  if (22 + name_len > s->end) return Error::kBadHeader;
  // Amiga archivers put a file comment after a zero byte in the name field:
  // the name ends there.
  const uint8_t* name = buf + 22;
  const void* zero = memchr(name, 0, name_len);
  size_t base_len = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - name) : name_len;
  s->base_name.assign(reinterpret_cast<const char*>(name), base_len);
  s->pos = 22 + name_len;
  return Error::kOk;
}

void FinishShortHeader(const std::string& base_name, const Names& names, Header* h) {
  FinishPath(base_name, names, h);
  if (!h->has_unix_time) h->unix_time = DosTimeToUnix(h->dos_time);
  if (h->IsDirectory()) h->has_crc = false;
}

// Level 0: the attribute byte, then an optional CRC and Unix extension.
Error ReadLevel0(ByteSource* source, uint64_t offset, const uint8_t* head, Header* h) {
  ShortHeader s;
  Error e = ReadShortHeader(source, offset, head, h, &s);
  if (e != Error::kOk) return e;
  const uint8_t* buf = s.buf;
  size_t pos = s.pos, end = s.end;
  h->dos_attributes = buf[19];
  h->os_id = kOsMsDos;
  if (pos + 2 <= end) {
    h->crc = Get16(buf + pos);
    h->has_crc = true;
    pos += 2;
  }
  // The Unix extension some tools append: 'U', time, mode, uid, gid.
  if (pos + 1 <= end) {
    h->os_id = buf[pos];
    if (buf[pos] == 'U' && end - pos >= 11) {
      h->unix_time = Get32(buf + pos + 2);
      h->has_unix_time = true;
      h->unix_mode = Get16(buf + pos + 6);
      h->has_unix_mode = true;
      h->unix_uid = Get16(buf + pos + 8);
      h->unix_gid = Get16(buf + pos + 10);
      h->has_unix_owner = true;
    }
  }
  h->header_size = end;
  FinishShortHeader(s.base_name, Names(), h);
  return Error::kOk;
}

// Level 1: CRC, OS id, first extended size, then extended headers that the
// compressed size counts.
Error ReadLevel1(ByteSource* source, uint64_t offset, const uint8_t* head, Header* h) {
  ShortHeader s;
  Error e = ReadShortHeader(source, offset, head, h, &s);
  if (e != Error::kOk) return e;
  const uint8_t* buf = s.buf;
  size_t pos = s.pos, end = s.end;
  if (pos + 5 > end) return Error::kBadHeader;
  h->crc = Get16(buf + pos);
  h->has_crc = true;
  h->os_id = buf[pos + 2];
  uint64_t next = Get16(buf + end - 2);
  uint64_t ext_total = 0;
  uint64_t at = offset + end;
  // The whole header, kept for the header CRC an extended header may hold.
  std::string whole(reinterpret_cast<const char*>(buf), end);
  Names names;
  bool has_header_crc = false;
  uint16_t header_crc = 0;
  size_t crc_field = 0;
  while (next != 0) {
    if (next < 3) return Error::kBadHeader;
    if (ext_total + next > h->compressed_size || ext_total + next > kMaxHeaderSize) return Error::kBadHeader;
    size_t start = whole.size();
    whole.resize(start + static_cast<size_t>(next));
    uint8_t* ext = reinterpret_cast<uint8_t*>(&whole[start]);
    e = ReadExact(source, at, ext, static_cast<size_t>(next));
    if (e != Error::kOk) return e;
    size_t body = static_cast<size_t>(next) - 3;
    if (ext[0] == kExtCrc && body >= 2) crc_field = start + 1;
    ApplyExtended(ext[0], ext + 1, body, h, &names, &has_header_crc, &header_crc);
    ext_total += next;
    at += next;
    next = Get16(ext + 1 + body);
  }
  if (has_header_crc) {
    whole[crc_field] = whole[crc_field + 1] = 0;
    if (Crc16(reinterpret_cast<const uint8_t*>(whole.data()), whole.size()) != header_crc) return Error::kBadHeader;
  }
  h->compressed_size -= ext_total;
  h->header_size = end + ext_total;
  FinishShortHeader(s.base_name, names, h);
  return Error::kOk;
}

// Level 2 (16-bit sizes) and level 3 (32-bit sizes).
Error ReadLevel23(ByteSource* source, uint64_t offset, const uint8_t* head, int level, Header* h) {
  size_t width = level == 2 ? 2 : 4;
  size_t fixed = level == 2 ? 26 : 32;
  uint64_t total = level == 2 ? Get16(head) : 0;
  if (level == 3) {
    if (Get16(head) != 4) return Error::kBadHeader;
    uint8_t more[32];
    Error e = ReadExact(source, offset, more, 32);
    if (e != Error::kOk) return e;
    total = Get32(more + 24);
  }
  if (total + 2 < fixed || total > kMaxHeaderSize) return Error::kBadHeader;
  // Two bytes more than declared: the OS-9 archiver's level 2 size leaves
  // out the size field itself.
  std::string buffer(static_cast<size_t>(total) + 2, '\0');
  uint8_t* buf = reinterpret_cast<uint8_t*>(&buffer[0]);
  size_t got = source->ReadAt(offset, buf, buffer.size());
  if (source->Failed()) return Error::kReadError;
  if (got < std::max<uint64_t>(total, fixed)) return got < total ? Error::kTruncated : Error::kBadHeader;
  uint64_t first = level == 2 ? Get16(buf + 24) : Get32(buf + 28);
  size_t size = static_cast<size_t>(total), stop = 0;
  if (total < fixed || !ChainFits(buf, fixed, size, width, first, &stop)) {
    // Accepted only in exactly that shape: the chain ends with its zero
    // size field at the declared size + 2.
    size += 2;
    if (level != 2 || got < size || !ChainFits(buf, fixed, size, width, first, &stop) || stop != size)
      return Error::kBadHeader;
  }
  memcpy(h->method, buf + 2, 5);
  h->method[5] = 0;
  h->compressed_size = Get32(buf + 7);
  h->original_size = Get32(buf + 11);
  h->unix_time = static_cast<int64_t>(Get32(buf + 15));
  h->has_unix_time = true;
  h->level = static_cast<uint8_t>(level);
  h->crc = Get16(buf + 21);
  h->has_crc = true;
  h->os_id = buf[23];
  Names names;
  bool has_header_crc = false;
  uint16_t header_crc = 0;
  size_t crc_field = 0;
  Error e = WalkExtended(buf, fixed, size, width, first, h, &names, &has_header_crc, &header_crc, &crc_field, &stop);
  if (e != Error::kOk) return e;
  if (has_header_crc) {
    buf[crc_field] = buf[crc_field + 1] = 0;
    if (Crc16(buf, size) != header_crc) return Error::kBadHeader;
  }
  h->header_size = size;
  h->dos_time = UnixToDosTime(h->unix_time);
  FinishPath(std::string(), names, h);
  if (h->IsDirectory()) h->has_crc = false;
  return Error::kOk;
}

}  // namespace

std::string NormalizeStoredPath(const std::string& raw) {
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(raw[i]);
    if (IsCp932LeadByte(c) && i + 1 < raw.size() && IsCp932TrailByte(static_cast<unsigned char>(raw[i + 1]))) {
      out.push_back(raw[i]);
      out.push_back(raw[++i]);
    } else if (c == '\\' || c == 0xFF || c == '/') {
      out.push_back('/');
    } else {
      out.push_back(raw[i]);
    }
  }
  return out;
}

int64_t DosTimeToUnix(uint32_t dos_time) {
  int year = 1980 + static_cast<int>((dos_time >> 25) & 0x7F);
  int month = static_cast<int>((dos_time >> 21) & 0x0F);
  int day = static_cast<int>((dos_time >> 16) & 0x1F);
  int hour = static_cast<int>((dos_time >> 11) & 0x1F);
  int minute = static_cast<int>((dos_time >> 5) & 0x3F);
  int second = static_cast<int>((dos_time & 0x1F) * 2);
  if (month < 1) month = 1;
  if (month > 12) month = 12;
  if (day < 1) day = 1;
  // Days from the civil date (proleptic Gregorian).
  int y = year - (month <= 2);
  int era = y / 400;
  int yoe = y - era * 400;
  int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  int64_t days = static_cast<int64_t>(era) * 146097 + doe - 719468;
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

uint32_t UnixToDosTime(int64_t t) {
  const int64_t kFirst = 315532800;  // 1980-01-01, the earliest DOS date
  const int64_t kBeyond = 4354819200;  // 2108-01-01, past the latest
  if (t >= kBeyond) return 0xFF9FBF7Du;  // 2107-12-31 23:59:58
  // Seconds since 1980 fit 32 bits over the whole DOS range, so everything
  // below is 32-bit arithmetic.
  uint32_t since = t < kFirst ? 0 : static_cast<uint32_t>(t - kFirst);
  uint32_t rem = since % 86400;
  // The civil date from days since 1970 (proleptic Gregorian), days >= 3652.
  uint32_t z = since / 86400 + 3652 + 719468;
  uint32_t era = z / 146097;
  uint32_t doe = z - era * 146097;
  uint32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  uint32_t y = yoe + era * 400;
  uint32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  uint32_t mp = (5 * doy + 2) / 153;
  uint32_t d = doy - (153 * mp + 2) / 5 + 1;
  uint32_t m = mp < 10 ? mp + 3 : mp - 9;
  y += (m <= 2);
  return ((y - 1980) << 25) | (m << 21) | (d << 16) | ((rem / 3600) << 11) | (((rem / 60) % 60) << 5) |
         ((rem % 60) / 2);
}

Error ReadHeader(ByteSource* source, uint64_t offset, Header* header) {
  *header = Header();
  uint8_t head[22];
  size_t got = source->ReadAt(offset, head, sizeof head);
  if (source->Failed()) return Error::kReadError;
  if (got == 0) return Error::kEndOfArchive;
  // A zero byte ends the archive, except that it is also the low byte of a
  // level 2 header whose size is a multiple of 256.
  if (head[0] == 0 && (got < sizeof head || head[20] != 2 || !IsMethodShaped(head + 2))) return Error::kEndOfArchive;
  if (got < sizeof head) return Error::kTruncated;
  if (!IsMethodShaped(head + 2)) return Error::kBadHeader;
  Error e;
  switch (head[20]) {
    case 0: e = ReadLevel0(source, offset, head, header); break;
    case 1: e = ReadLevel1(source, offset, head, header); break;
    case 2:
    case 3: e = ReadLevel23(source, offset, head, head[20], header); break;
    default: return Error::kBadHeader;
  }
  if (e != Error::kOk) return e;
  header->header_offset = offset;
  header->data_offset = offset + header->header_size;
  return Error::kOk;
}

}  // namespace lzh
