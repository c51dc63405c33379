// libFuzzer target over the library's command-line parser (scripts/fuzz.sh).
// Input: the command line, then after a NUL byte the paths that exist, one a
// line (a trailing '\' marks a folder). Wildcards of the names are matched
// against the other names, so slow matching counts as a finding too.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "archiver/dll/command_line.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  fprintf(stderr, "command line: %s\n", what);
  abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t nul = input.find('\0');
  std::string line = input.substr(0, nul);
  std::set<std::string> files, folders;
  if (nul != std::string::npos) {
    for (size_t start = nul + 1; start <= input.size();) {
      size_t end = input.find('\n', start);
      if (end == std::string::npos) end = input.size();
      std::string path = input.substr(start, end - start);
      if (!path.empty() && path.back() == '\\') {
        path.pop_back();
        folders.insert(path);
      } else if (!path.empty()) {
        files.insert(path);
      }
      start = end + 1;
    }
  }
  unlha::PathProbe probe;
  probe.is_file = [&](const std::string& p) { return files.count(p) > 0; };
  probe.is_directory = [&](const std::string& p) { return folders.count(p) > 0; };
  unlha::Tokenize(line);
  unlha::Command command;
  if (!unlha::ParseCommand(line, probe, &command)) return 0;
  Check(std::string("lxeumdnst").find(command.name) != std::string::npos, "unknown command accepted");
  Check(!command.archive.empty(), "no archive");
  for (const std::string& name : command.names) {
    std::string pattern = unlha::FoldName(name);
    Check(unlha::WildcardMatch("*", pattern), "* does not match everything");
    if (pattern.find_first_of("*?") == std::string::npos) Check(unlha::WildcardMatch(pattern, pattern), "no self-match");
    for (const std::string& other : command.names) unlha::WildcardMatch(pattern, unlha::FoldName(other));
  }
  return 0;
}
