#include "archiver/lzh/macbinary.h"

#include <algorithm>
#include <cstring>

namespace lzh {
namespace {

enum : size_t {
  kOldVersion = 0,
  kNameLength = 1,
  kName = 2,
  kNameField = 63,
  kZeroCompat1 = 74,
  kZeroCompat2 = 82,
  kDataLength = 83,
  kResourceLength = 87,
  kModified = 95,
  kCommentLength = 99,    // MacBinary I: everything from here on is zero
  kSecondaryLength = 120,
  kVersion = 122,
  kMinVersion = 123,
  kCrc = 124,
};

constexpr uint32_t kMacEpochToUnix = 2082844800;  // 1904-01-01 to 1970-01-01
constexpr int64_t kMaxZoneOffset = 14 * 3600;    // Mac times are local

uint32_t Be32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

bool AllZero(const uint8_t* p, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (p[i]) return false;
  return true;
}

// CRC-16/XMODEM (polynomial 0x1021, MSB first), as MacBinary II uses it.
uint16_t CrcXmodem(const uint8_t* p, size_t n) {
  uint16_t crc = 0;
  for (size_t i = 0; i < n; ++i) {
    crc = static_cast<uint16_t>(crc ^ (p[i] << 8));
    for (int bit = 0; bit < 8; ++bit)
      crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
  }
  return crc;
}

uint64_t Padded(uint64_t n) { return (n + 127) & ~uint64_t{127}; }

// The entry's own name: the last component of its path.
bool NameMatches(const Header& header, const uint8_t* name, size_t length) {
  size_t slash = header.path.rfind('/');
  size_t start = slash == std::string::npos ? 0 : slash + 1;
  return header.path.size() - start == length && memcmp(header.path.data() + start, name, length) == 0;
}

}  // namespace

bool FindMacBinaryFork(const Header& header, const uint8_t* head, ForkRange* fork) {
  if (head[kOldVersion] || head[kZeroCompat1] || head[kZeroCompat2]) return false;
  size_t name_length = head[kNameLength];
  if (name_length == 0 || name_length > kNameField) return false;
  if (head[kVersion] >= 129 || head[kMinVersion] >= 129) {
    // MacBinary II and later: the CRC vouches for the header.
    if (head[kMinVersion] != 129 || head[kVersion] < 129) return false;
    if (CrcXmodem(head, kCrc) != ((head[kCrc] << 8) | head[kCrc + 1])) return false;
    if (head[kSecondaryLength] || head[kSecondaryLength + 1]) return false;
  } else if (!AllZero(head + kCommentLength, kMacBinaryHeaderSize - kCommentLength) ||
             !AllZero(head + kName + name_length, kNameField - name_length)) {
    return false;
  }
  if (!NameMatches(header, head + kName, name_length)) return false;
  uint64_t data = Be32(head + kDataLength), resource = Be32(head + kResourceLength);
  // The forks padded one by one, or the whole padded once.
  uint64_t size = header.original_size;
  if (size != kMacBinaryHeaderSize + Padded(data) + Padded(resource) &&
      size != Padded(kMacBinaryHeaderSize + data + resource))
    return false;
  uint32_t modified = Be32(head + kModified);
  if (modified < kMacEpochToUnix) return false;
  int64_t difference = static_cast<int64_t>(modified - kMacEpochToUnix) - header.unix_time;
  if (difference > kMaxZoneOffset || difference < -kMaxZoneOffset) return false;
  fork->offset = kMacBinaryHeaderSize;
  fork->length = data ? data : resource;
  return true;
}

bool MacBinaryFilter::Applies(const Header& header) {
  return header.os_id == 'm' && header.original_size >= kMacBinaryHeaderSize;
}

bool MacBinaryFilter::Write(const uint8_t* data, size_t size) {
  if (!decided_) {
    size_t take = std::min(size, kMacBinaryHeaderSize - held_);
    memcpy(head_ + held_, data, take);
    held_ += take;
    data += take;
    size -= take;
    if (held_ < kMacBinaryHeaderSize) return true;
    decided_ = true;
    unwrap_ = FindMacBinaryFork(header_, head_, &fork_);
    at_ = kMacBinaryHeaderSize;
    if (!unwrap_ && !out_->Write(head_, kMacBinaryHeaderSize)) return false;
  }
  if (!unwrap_) return size == 0 || out_->Write(data, size);
  // Only the part of this piece that lies inside the fork.
  uint64_t start = at_, end = at_ + size;
  at_ = end;
  uint64_t from = std::max(start, fork_.offset), to = std::min(end, fork_.offset + fork_.length);
  if (from >= to) return true;
  return out_->Write(data + (from - start), static_cast<size_t>(to - from));
}

}  // namespace lzh
