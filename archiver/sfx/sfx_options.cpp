#include "archiver/sfx/sfx_options.h"

#include <vector>

namespace sfx {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Splits on blanks outside double quotes; quotes are dropped.
std::vector<std::string> SplitArguments(const char* text) {
  std::vector<std::string> arguments;
  const char* p = text;
  for (;;) {
    while (IsBlank(*p)) ++p;
    if (!*p) break;
    std::string argument;
    bool quoted = false;
    for (; *p && (quoted || !IsBlank(*p)); ++p) {
      if (*p == '"')
        quoted = !quoted;
      else
        argument += *p;
    }
    arguments.push_back(argument);
  }
  return arguments;
}

bool IsSwitch(const std::string& argument) {
  return argument.size() >= 2 && (argument[0] == '/' || argument[0] == '-');
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

const char* SkipProgramName(const char* command_line) {
  const char* p = command_line;
  while (IsBlank(*p)) ++p;
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && !IsBlank(*p)) ++p;
  }
  return p;
}

Options ParseOptions(const char* arguments) {
  Options options;
  std::vector<std::string> list = SplitArguments(arguments);
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string& argument = list[i];
    if (!IsSwitch(argument)) {
      if (!options.destination.empty()) {
        options.error = argument;
        return options;
      }
      options.destination = argument;
      continue;
    }
    std::string name;
    for (size_t k = 1; k < argument.size(); ++k) name += Lower(argument[k]);
    if (name == "q") {
      options.quiet = true;
    } else if (name == "o") {
      options.overwrite = true;
    } else if (name == "?" || name == "h") {
      options.help = true;
    } else if (name == "d" && i + 1 < list.size() && options.destination.empty()) {
      options.destination = list[++i];
    } else if (name.size() > 1 && name[0] == 'd' && options.destination.empty()) {
      options.destination = argument.substr(2);  // "/dDIR"
    } else {
      options.error = argument;
      return options;
    }
  }
  return options;
}

}  // namespace sfx
