// Exact names beside the CP932 ones: extended headers 0x44 (file name) and
// 0x45 (directory name) hold UTF-16LE text as Windows archivers write it for
// names code page 932 cannot spell; header 0x46 names the code page of the
// ordinary name fields (65001: UTF-8, as some Unix archivers mark theirs).
// Here such text is kept as UTF-8.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace lzh {

enum : uint8_t {
  kExtUnicodeFileName = 0x44,
  kExtUnicodeDirName = 0x45,
  kExtCodePage = 0x46,
};
const uint32_t kCodePageUtf8 = 65001;
// Ends each directory component in header 0x45, as 0xFF does in 0x02.
const uint16_t kUnicodeDirSeparator = 0xFFFF;

// UTF-16LE bytes to UTF-8; a lone surrogate becomes U+FFFD, and
// kUnicodeDirSeparator (when `dir_separators`) and '\\' become '/'.
std::string Utf16LeToUtf8(const uint8_t* data, size_t size, bool dir_separators);

// UTF-8 to UTF-16LE bytes; '/' becomes kUnicodeDirSeparator when
// `dir_separators`. Invalid sequences become U+FFFD.
std::string Utf8ToUtf16Le(const std::string& text, bool dir_separators);

}  // namespace lzh
