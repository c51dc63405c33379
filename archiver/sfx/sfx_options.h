// The command line both stubs understand.
//
//   [/d DIR | DIR]  destination folder (default: the folder of the .exe for the
//                   windowed stub, the current folder for the console stub)
//   /q              windowed stub only: no dialog, no questions, no message
//                   boxes; the exit code tells the outcome
//   /o              overwrite existing files without asking (otherwise the
//                   windowed stub asks, and the console stub and /q skip them)
//   /?              usage
// Switches may also start with '-', and are case-insensitive.
#pragma once
#include <string>

namespace sfx {

struct Options {
  std::string destination;  // empty: the stub's default
  bool quiet = false;
  bool overwrite = false;
  bool help = false;
  std::string error;        // non-empty: the command line was not understood
};

// Parses the arguments that follow the program name (Windows quoting rules:
// "a b" is one argument, quotes are removed).
Options ParseOptions(const char* arguments);

// The part of a full command line after the program name.
const char* SkipProgramName(const char* command_line);

}  // namespace sfx
