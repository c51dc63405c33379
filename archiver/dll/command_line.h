// Parsing of the command lines Unlha() receives. The line is split like a
// command line (blanks separate, double quotes group, "" inside quotes is a
// quote of the text); archive, destination
// and work paths may arrive unquoted with blanks in them, so those are found
// by joining successive tokens and asking the file system.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace unlha {

struct Token {
  std::string text;   // without quotes
  size_t begin = 0;   // position of the raw token in the line
  size_t end = 0;
  bool quoted = false;
};

std::vector<Token> Tokenize(const std::string& line);

// What the parser needs to know about the disk.
struct PathProbe {
  std::function<bool(const std::string&)> is_file;
  std::function<bool(const std::string&)> is_directory;
  // Either of the two in one question; may be left empty.
  std::function<bool(const std::string&)> exists;
};

struct Command {
  char name = 0;             // l x e u m d n s
  int recurse = 0;           // -r (1), -r1, -r2
  bool with_dir_name = false;  // -x: keep directories (x) / the folder's own name (u -r, m -r)
  bool full_paths = false;   // -p
  bool quiet = false;        // -n: no progress window
  // -o: x and e replace existing files without asking; s replaces a file of
  // the program's name.
  bool overwrite = false;
  std::string work_dir;      // -w<dir>, empty when absent
  std::string folder;        // -f<folder>: u and m store new entries under this folder of the archive
  int sfx_window = -1;       // -gw / -jw value, -1 when absent
  std::string archive;
  std::string destination;   // x, e
  std::vector<std::string> names;
  std::string rest;          // raw text after the archive (after the destination for x, e)
  // The disk paths above as wide names: the line is in the system code
  // page, the disk is reached by wide names only.
  std::wstring archive_path;
  std::wstring destination_path;
  std::wstring work_path;
};

// Fills `command`; returns false when the line has no command letter or no
// archive.
bool ParseCommand(const std::string& line, const PathProbe& probe, Command* command);

// The probe over the real file system.
PathProbe DiskProbe();

// Names as patterns and entries are compared: lzh::FoldCase with '\'.
std::string FoldName(const std::string& name);

// True when the pattern (with * and ?) matches the whole name; both already
// folded. "*.*" matches names without a dot too.
bool WildcardMatch(const std::string& pattern, const std::string& name);

}  // namespace unlha
