#include "archiver/lzh/stored_name.h"

#include "archiver/lzh/cp932.h"

namespace lzh {

std::string FoldCase(const std::string& name, char separator) {
  std::string folded = name;
  for (size_t i = 0; i < folded.size(); i += Cp932CharLength(folded, i)) {
    char& c = folded[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    else if (c == '/' || c == '\\') c = separator;
  }
  return folded;
}

std::string StoredNameKey(const std::string& name) {
  std::string folded = FoldCase(name, '/');
  std::string key;
  key.reserve(folded.size());
  size_t start = 0;
  while (start <= folded.size()) {
    size_t end = start;
    while (end < folded.size() && folded[end] != '/') end += Cp932CharLength(folded, end);
    std::string component = folded.substr(start, end - start);
    if (!component.empty() && component != ".") {
      if (!key.empty()) key += '/';
      key += component;
    }
    start = end + 1;
  }
  return key;
}

std::string EntryNameKey(const Header& header) {
  if (header.unicode_name.empty() && header.unicode_dir.empty()) return StoredNameKey(header.path);
  // ASCII case is folded; UTF-8 has no bytes that look like separators.
  std::string exact = header.unicode_dir + header.unicode_name;
  for (char& c : exact)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return std::string(1, '\x01') + StoredNameKey(header.path) + '\x01' + exact;
}

}  // namespace lzh
