// Code page 932 (Shift-JIS) byte classes: stored names are CP932 bytes, and a
// second byte of a double-byte character may be '\\' or an ASCII letter that
// must never be taken for a separator or folded.
#pragma once
#include <cstddef>
#include <string>

namespace lzh {

// True when byte `c` starts a CP932 double-byte character.
inline bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
// True when `c` may follow a lead byte.
inline bool IsCp932TrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// Bytes of the character at `at`: 2 for a lead byte with a byte after it.
inline size_t Cp932CharLength(const std::string& text, size_t at) {
  return IsCp932LeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// Position of the last '\\' or '/' outside double-byte characters, or npos.
inline size_t LastSeparator(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); i += Cp932CharLength(path, i))
    if (path[i] == '\\' || path[i] == '/') last = i;
  return last;
}

// True when the path ends in a separator outside double-byte characters
// ("\x95\x5C", 表, ends in none).
inline bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && LastSeparator(path) == path.size() - 1;
}

}  // namespace lzh
