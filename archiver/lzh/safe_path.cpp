#include "archiver/lzh/safe_path.h"

#include <cctype>
#include <cstring>

namespace lzh {
namespace {

bool IsDeviceName(const std::string& component) {
  // The part before the first dot decides ("NUL.txt" is still NUL).
  std::string base = component.substr(0, component.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  static const char* const kNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* name : kNames)
    if (base == name) return true;
  if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
      base[3] >= '1' && base[3] <= '9')
    return true;
  return false;
}

// Splits on '/' and '\\' outside double-byte characters.
std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsCp932LeadByte(c) && i + 1 < path.size() && IsCp932TrailByte(static_cast<unsigned char>(path[i + 1]))) {
      parts.back().push_back(path[i]);
      parts.back().push_back(path[++i]);
    } else if (c == '/' || c == '\\' || c == 0xFF) {
      parts.emplace_back();
    } else {
      parts.back().push_back(path[i]);
    }
  }
  return parts;
}

// Removes trailing dots and blanks, which Windows would drop when creating
// the file; a dot that is the trail byte of nothing is plain ASCII here.
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

}  // namespace

PathVerdict SafeRelativePath(const std::string& stored_path, std::vector<std::string>* components) {
  components->clear();
  std::string path = stored_path;
  // A drive prefix "X:" goes; the leading separator after it goes with the
  // empty component it makes.
  if (path.size() >= 2 && path[1] == ':' && isalpha(static_cast<unsigned char>(path[0]))) path.erase(0, 2);
  for (std::string& part : Split(path)) {
    if (part == "..") return PathVerdict::kParentDir;
    TrimTrailing(&part);
    if (part.empty()) continue;  // "", ".", "...", "a/./b"
    for (unsigned char c : part)
      if (c < 0x20 || c == ':' || c == 0x7F) return PathVerdict::kBadChar;
    if (EndsInLoneLeadByte(part)) return PathVerdict::kBadChar;
    if (IsDeviceName(part)) return PathVerdict::kDeviceName;
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
