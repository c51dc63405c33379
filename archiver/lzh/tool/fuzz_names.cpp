// libFuzzer target over the name-safety rules (scripts/fuzz.sh): whatever a
// stored name holds, the components it maps to stay below the destination
// on Windows and POSIX, and mapping them again changes nothing. A breach
// aborts.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "archiver/lzh/archive_edit.h"
#include "archiver/lzh/header_reader.h"
#include "archiver/lzh/safe_path.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  fprintf(stderr, "names: %s\n", what);
  abort();
}

// A separator outside double-byte characters, as Windows would see it.
bool HasSeparator(const std::string& s) {
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (lzh::IsCp932LeadByte(c) && i + 1 < s.size() && lzh::IsCp932TrailByte(static_cast<unsigned char>(s[i + 1]))) {
      ++i;
    } else if (c == '/' || c == '\\' || c == 0xFF) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string raw(reinterpret_cast<const char*>(data), size);
  std::string stored = lzh::NormalizeStoredPath(raw);
  Check(lzh::NormalizeStoredPath(stored) == stored, "normalising twice changes the name");
  std::vector<std::string> parts;
  lzh::PathVerdict verdict = lzh::SafeRelativePath(stored, &parts);
  if (verdict != lzh::PathVerdict::kOk) {
    Check(parts.empty() || verdict != lzh::PathVerdict::kEmpty, "empty verdict with components");
    return 0;
  }
  Check(!parts.empty(), "accepted with no component");
  for (const std::string& part : parts) {
    Check(!part.empty() && part != "." && part != "..", "empty or dot component");
    Check(!HasSeparator(part), "separator inside a component");
    Check(part.back() != '.' && part.back() != ' ', "trailing dot or blank");
    for (unsigned char c : part) Check(c >= 0x20 && c != ':' && c != 0x7F, "control character or colon");
  }
  Check(!(parts[0].size() >= 2 && parts[0][1] == ':'), "drive prefix kept");
  // The joined form maps to the same components with either separator.
  for (char separator : {'/', '\\'}) {
    std::vector<std::string> again;
    Check(lzh::SafeRelativePath(lzh::JoinPath(parts, separator), &again) == lzh::PathVerdict::kOk && again == parts,
          "mapping is not stable");
  }
  // Names equal by the edit rules stay equal whatever their case.
  std::string upper = stored;
  for (size_t i = 0; i < upper.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(upper[i]);
    if (lzh::IsCp932LeadByte(c) && i + 1 < upper.size()) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      upper[i] = static_cast<char>(c - 32);
    }
  }
  Check(lzh::SameStoredName(stored, upper), "case changes the name");
  return 0;
}
