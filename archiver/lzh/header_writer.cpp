#include "archiver/lzh/header_writer.h"

#include <cstring>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/header_reader.h"
#include "archiver/lzh/unicode_name.h"

namespace lzh {
namespace {

void Put8(std::string* out, unsigned v) { out->push_back(static_cast<char>(v & 0xFF)); }
void Put16(std::string* out, unsigned v) {
  Put8(out, v);
  Put8(out, v >> 8);
}
void Put32(std::string* out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Patch16(std::string* out, size_t at, unsigned v) {
  (*out)[at] = static_cast<char>(v & 0xFF);
  (*out)[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// Splits "a/b/c.txt" into "a/b/" and "c.txt"; a directory entry "a/b/" is
// all directory. '/' is never the second byte of a CP932 character, so the
// last one found is a real separator.
void SplitPath(const std::string& path, bool is_directory, std::string* dir, std::string* name) {
  std::string p = path;
  if (is_directory && !p.empty() && p.back() != '/') p += '/';
  size_t slash = p.rfind('/');
  if (slash == std::string::npos) {
    dir->clear();
    *name = p;
  } else {
    *dir = p.substr(0, slash + 1);
    *name = p.substr(slash + 1);
  }
}

// Directory with each component ended by 0xFF, as extended header 0x02 holds it.
std::string DirectoryField(const std::string& dir) {
  std::string field = dir;
  for (char& c : field)
    if (c == '/') c = static_cast<char>(0xFF);
  return field;
}

// One extended header: type, data, and the size field of the next one
// (patched when the next one is appended).
void AddExtended(std::string* out, size_t* next_size_at, uint8_t type, const std::string& data) {
  Patch16(out, *next_size_at, static_cast<unsigned>(1 + data.size() + 2));
  Put8(out, type);
  out->append(data);
  *next_size_at = out->size();
  Put16(out, 0);
}

std::string Le16(unsigned v) {
  std::string s;
  Put16(&s, v);
  return s;
}

std::string Le32(uint32_t v) {
  std::string s;
  Put32(&s, v);
  return s;
}

std::string Le64(uint64_t v) {
  return Le32(static_cast<uint32_t>(v)) + Le32(static_cast<uint32_t>(v >> 32));
}

uint32_t DosTimeOf(const Header& h) {
  if (h.dos_time != 0 || !h.has_unix_time) return h.dos_time;
  return UnixToDosTime(h.unix_time);
}

int64_t UnixTimeOf(const Header& h) {
  if (h.has_unix_time) return h.unix_time;
  return h.dos_time ? DosTimeToUnix(h.dos_time) : 0;
}

// Extended headers levels 1 and 2 share: directory, attributes, Windows
// time stamps, Unix mode and owner.
void AddCommonExtended(const Header& h, const std::string& dir, std::string* out,
                       size_t* next_size_at) {
  if (!dir.empty()) AddExtended(out, next_size_at, 0x02, DirectoryField(dir));
  // The exact name beside a CP932 spelling that lost something.
  if (!h.unicode_dir.empty()) AddExtended(out, next_size_at, kExtUnicodeDirName, Utf8ToUtf16Le(h.unicode_dir, true));
  if (!h.unicode_name.empty()) AddExtended(out, next_size_at, kExtUnicodeFileName, Utf8ToUtf16Le(h.unicode_name, false));
  AddExtended(out, next_size_at, 0x40, Le16(h.dos_attributes));
  if (h.win_modify) {
    AddExtended(out, next_size_at, 0x41,
                Le64(h.win_create) + Le64(h.win_modify) + Le64(h.win_access));
  }
  if (h.has_unix_mode) AddExtended(out, next_size_at, 0x50, Le16(h.unix_mode));
  if (h.has_unix_owner) AddExtended(out, next_size_at, 0x51, Le16(h.unix_gid) + Le16(h.unix_uid));
}

WriteStatus Level0(const Header& h, const std::string& dir, const std::string& name,
                   std::string* out) {
  std::string full = dir + name;
  for (char& c : full)
    if (c == '/') c = '\\';
  if (full.size() > 255 - 22) return WriteStatus::kBadHeader;
  std::string hdr;
  Put8(&hdr, 0);  // size, patched
  Put8(&hdr, 0);  // checksum, patched
  hdr.append(h.method, 5);
  Put32(&hdr, static_cast<uint32_t>(h.compressed_size));
  Put32(&hdr, static_cast<uint32_t>(h.original_size));
  Put32(&hdr, DosTimeOf(h));
  Put8(&hdr, h.dos_attributes);
  Put8(&hdr, 0);
  Put8(&hdr, static_cast<unsigned>(full.size()));
  hdr += full;
  Put16(&hdr, h.crc);
  hdr[0] = static_cast<char>(hdr.size() - 2);
  unsigned sum = 0;
  for (size_t i = 2; i < hdr.size(); i++) sum += static_cast<uint8_t>(hdr[i]);
  hdr[1] = static_cast<char>(sum & 0xFF);
  out->append(hdr);
  return WriteStatus::kOk;
}

WriteStatus Level1(const Header& h, const std::string& dir, const std::string& name,
                   std::string* out) {
  if (name.size() > 255 - 25) return WriteStatus::kBadHeader;
  std::string hdr;
  Put8(&hdr, 0);
  Put8(&hdr, 0);
  hdr.append(h.method, 5);
  size_t packed_at = hdr.size();
  Put32(&hdr, 0);
  Put32(&hdr, static_cast<uint32_t>(h.original_size));
  Put32(&hdr, DosTimeOf(h));
  Put8(&hdr, 0x20);
  Put8(&hdr, 1);
  Put8(&hdr, static_cast<unsigned>(name.size()));
  hdr += name;
  Put16(&hdr, h.crc);
  Put8(&hdr, h.os_id);
  size_t next_size_at = hdr.size();
  Put16(&hdr, 0);
  size_t base_size = hdr.size();
  AddCommonExtended(h, dir, &hdr, &next_size_at);
  if (h.has_unix_time) AddExtended(&hdr, &next_size_at, 0x54, Le32(static_cast<uint32_t>(h.unix_time)));
  uint64_t packed = h.compressed_size + (hdr.size() - base_size);
  if (packed > 0xFFFFFFFFu) return WriteStatus::kBadHeader;
  std::string packed_bytes = Le32(static_cast<uint32_t>(packed));
  hdr.replace(packed_at, 4, packed_bytes);
  hdr[0] = static_cast<char>(base_size - 2);
  unsigned sum = 0;
  for (size_t i = 2; i < base_size; i++) sum += static_cast<uint8_t>(hdr[i]);
  hdr[1] = static_cast<char>(sum & 0xFF);
  out->append(hdr);
  return WriteStatus::kOk;
}

WriteStatus Level2(const Header& h, const std::string& dir, const std::string& name,
                   std::string* out) {
  std::string hdr;
  Put16(&hdr, 0);  // total size, patched
  hdr.append(h.method, 5);
  Put32(&hdr, static_cast<uint32_t>(h.compressed_size));
  Put32(&hdr, static_cast<uint32_t>(h.original_size));
  Put32(&hdr, static_cast<uint32_t>(UnixTimeOf(h)));
  Put8(&hdr, 0x20);
  Put8(&hdr, 2);
  Put16(&hdr, h.crc);
  Put8(&hdr, h.os_id);
  size_t next_size_at = hdr.size();
  Put16(&hdr, 0);
  AddExtended(&hdr, &next_size_at, 0x00, Le16(0));
  size_t crc_at = hdr.size() - 4;
  if (!name.empty()) AddExtended(&hdr, &next_size_at, 0x01, name);
  AddCommonExtended(h, dir, &hdr, &next_size_at);
  // Sizes beyond 32 bits: the fields above keep the low halves, extended
  // header 0x42 holds both whole.
  if (h.compressed_size > 0xFFFFFFFFu || h.original_size > 0xFFFFFFFFu)
    AddExtended(&hdr, &next_size_at, 0x42, Le64(h.compressed_size) + Le64(h.original_size));
  // A header whose size has a zero low byte would start with the end
  // marker: pad it by one byte.
  if ((hdr.size() & 0xFF) == 0) Put8(&hdr, 0);
  if (hdr.size() > 0xFFFF) return WriteStatus::kBadHeader;
  Patch16(&hdr, 0, static_cast<unsigned>(hdr.size()));
  uint16_t crc = Crc16(reinterpret_cast<const uint8_t*>(hdr.data()), hdr.size());
  Patch16(&hdr, crc_at, crc);
  out->append(hdr);
  return WriteStatus::kOk;
}

}  // namespace

WriteStatus SerializeHeader(const Header& header, std::string* out) {
  // Only level 2 carries sizes beyond 32 bits.
  if ((header.compressed_size > 0xFFFFFFFFu || header.original_size > 0xFFFFFFFFu) && header.level != 2)
    return WriteStatus::kBadHeader;
  std::string dir, name;
  SplitPath(header.path, header.IsDirectory(), &dir, &name);
  if (header.IsLink()) name += "|" + header.link_target;  // stored as the reader found it
  // A file needs a name; a directory entry needs a directory.
  if (header.IsDirectory() ? (dir.empty() || dir == "/") : name.empty()) return WriteStatus::kBadHeader;
  switch (header.level) {
    case 0: return Level0(header, dir, name, out);
    case 1: return Level1(header, dir, name, out);
    case 2: return Level2(header, dir, name, out);
  }
  return WriteStatus::kBadHeader;
}

}  // namespace lzh
