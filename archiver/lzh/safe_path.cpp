#include "archiver/lzh/safe_path.h"

#include <cctype>
#include <cstring>

namespace lzh {
namespace {

// Splits on '/' and '\\' (and 0xFF, the level 1 directory separator) outside
// double-byte characters.
std::vector<std::string> Split(const std::string& path, NameEncoding encoding) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (encoding == NameEncoding::kCp932 && IsCp932LeadByte(c) && i + 1 < path.size() &&
        IsCp932TrailByte(static_cast<unsigned char>(path[i + 1]))) {
      parts.back().push_back(path[i]);
      parts.back().push_back(path[++i]);
    } else if (c == '/' || c == '\\' || (c == 0xFF && encoding == NameEncoding::kCp932)) {
      parts.emplace_back();
    } else {
      parts.back().push_back(path[i]);
    }
  }
  return parts;
}

// Removes trailing dots and blanks, which Windows would drop when creating
// the file; both are ASCII and never a trail byte.
void TrimTrailing(std::string* component) {
  while (!component->empty() && (component->back() == '.' || component->back() == ' ')) component->pop_back();
}

// True when the last byte starts a double-byte character that has no second
// byte: joined with '\\' the separator would become that second byte.
bool EndsInLoneLeadByte(const std::string& component) {
  size_t i = 0;
  while (i < component.size()) {
    bool pair = IsCp932LeadByte(static_cast<unsigned char>(component[i])) && i + 1 < component.size() &&
                IsCp932TrailByte(static_cast<unsigned char>(component[i + 1]));
    if (!pair && i + 1 == component.size()) return IsCp932LeadByte(static_cast<unsigned char>(component[i]));
    i += pair ? 2 : 1;
  }
  return false;
}

// Characters Windows does not allow in names (a Unix archive may hold them)
// become '_'; none of them can be a trail byte.
void ReplaceForbidden(std::string* component) {
  for (char& c : *component)
    if (c && strchr("*?\"<>|", c)) c = '_';
}

}  // namespace

bool IsDeviceName(const std::string& component) {
  std::string base = component.substr(0, component.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  static const char* const kNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* name : kNames)
    if (base == name) return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

PathVerdict SafeRelativePath(const std::string& stored_path, std::vector<std::string>* components,
                             NameEncoding encoding) {
  components->clear();
  std::string path = stored_path;
  // A drive prefix "X:" goes; the leading separator after it goes with the
  // empty component it makes. "\\?\C:\" and "\\.\C:\" leads lose their "?"
  // or "." component and then the drive.
  if (path.size() >= 4 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/') &&
      (path[2] == '?' || path[2] == '.') && (path[3] == '\\' || path[3] == '/'))
    path.erase(0, 4);
  if (path.size() >= 2 && path[1] == ':' && isalpha(static_cast<unsigned char>(path[0]))) path.erase(0, 2);
  for (std::string& part : Split(path, encoding)) {
    if (part == "..") return PathVerdict::kParentDir;
    TrimTrailing(&part);
    if (part.empty()) continue;  // "", ".", "...", "a/./b"
    for (unsigned char c : part)
      if (c < 0x20 || c == ':' || c == 0x7F) return PathVerdict::kBadChar;
    if (encoding == NameEncoding::kCp932 && EndsInLoneLeadByte(part)) return PathVerdict::kBadChar;
    if (IsDeviceName(part)) return PathVerdict::kDeviceName;
    ReplaceForbidden(&part);
    components->push_back(part);
  }
  if (components->empty()) return PathVerdict::kEmpty;
  return PathVerdict::kOk;
}

std::string JoinPath(const std::vector<std::string>& components, char separator) {
  std::string out;
  for (size_t i = 0; i < components.size(); ++i) {
    if (i) out.push_back(separator);
    out += components[i];
  }
  return out;
}

}  // namespace lzh
