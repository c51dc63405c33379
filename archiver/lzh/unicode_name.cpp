#include "archiver/lzh/unicode_name.h"

namespace lzh {
namespace {

void AppendUtf8(uint32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void AppendUtf16(uint32_t c, std::string* out) {
  auto put = [out](uint32_t unit) {
    out->push_back(static_cast<char>(unit & 0xFF));
    out->push_back(static_cast<char>(unit >> 8));
  };
  if (c >= 0x10000) {
    c -= 0x10000;
    put(0xD800 | (c >> 10));
    put(0xDC00 | (c & 0x3FF));
  } else {
    put(c);
  }
}

}  // namespace

std::string Utf16LeToUtf8(const uint8_t* data, size_t size, bool dir_separators) {
  std::string out;
  size_t units = size / 2;
  for (size_t i = 0; i < units; ++i) {
    uint32_t c = data[2 * i] | (data[2 * i + 1] << 8);
    if (c == 0) break;  // some writers end the text with a zero
    if ((dir_separators && c == kUnicodeDirSeparator) || c == '\\') {
      out.push_back('/');
      continue;
    }
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
      uint32_t low = data[2 * i + 2] | (data[2 * i + 3] << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00), &out);
        ++i;
        continue;
      }
    }
    AppendUtf8(c >= 0xD800 && c < 0xE000 ? 0xFFFD : c, &out);
  }
  return out;
}

std::string Utf8ToUtf16Le(const std::string& text, bool dir_separators) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    uint8_t b = static_cast<uint8_t>(text[i]);
    uint32_t c = 0xFFFD;
    size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (length == 1) {
      c = b;
    } else if (length && i + length <= text.size()) {
      c = b & (0x7F >> length);
      for (size_t k = 1; k < length; ++k) {
        uint8_t next = static_cast<uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
          c = 0xFFFD;
          length = k;
          break;
        }
        c = (c << 6) | (next & 0x3F);
      }
    } else {
      length = 1;
    }
    i += length;
    if (c == '/' && dir_separators) c = kUnicodeDirSeparator;
    AppendUtf16(c > 0x10FFFF ? 0xFFFD : c, &out);
  }
  return out;
}

}  // namespace lzh
