#include "archiver/dll/command_line.h"

#include <windows.h>

#include "archiver/lzh/cp932.h"
#include "archiver/lzh/stored_name.h"
#include "archiver/win/wide_text.h"
#include "archiver/win/win_path.h"

namespace unlha {

namespace {

// How many tokens an unquoted path may span.
const size_t kMaxJoin = 32;
// Joins of disk names that no folder can rule out (names without any
// separator) allowed in one line: enough for thousands of names with
// blanks, while a long line of missing names fails quickly.
const size_t kMaxLooseJoins = 4096;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool EndsWithNoCase(const std::string& text, const char* suffix) {
  size_t length = strlen(suffix);
  if (text.size() < length) return false;
  return lstrcmpiA(text.c_str() + text.size() - length, suffix) == 0;
}

// The raw line text covering tokens first..last, or "" when one of them is
// quoted (quoted tokens never join).
std::string Join(const std::string& line, const std::vector<Token>& tokens, size_t first,
                 size_t last) {
  for (size_t k = first; k <= last; ++k) {
    if (tokens[k].quoted) return std::string();
  }
  return line.substr(tokens[first].begin, tokens[last].end - tokens[first].begin);
}

// Picks how many tokens from `first` make the archive path.
size_t ResolveArchive(const std::string& line, const std::vector<Token>& tokens, size_t first,
                      const PathProbe& probe, std::string* path) {
  *path = tokens[first].text;
  if (tokens[first].quoted) return 1;
  size_t limit = std::min(tokens.size(), first + kMaxJoin);
  size_t best = 0;
  for (size_t last = first; last < limit; ++last) {
    std::string joined = Join(line, tokens, first, last);
    if (joined.empty()) break;
    if (probe.is_file(joined)) {
      best = last - first + 1;
      *path = joined;
    }
  }
  if (best) return best;
  for (size_t last = first; last < limit; ++last) {
    std::string joined = Join(line, tokens, first, last);
    if (joined.empty()) break;
    if (EndsWithNoCase(joined, ".lzh") || EndsWithNoCase(joined, ".exe") ||
        EndsWithNoCase(joined, ".lha")) {
      *path = joined;
      return last - first + 1;
    }
  }
  return 1;
}

// Picks how many tokens from `first` make the destination directory.
size_t ResolveDestination(const std::string& line, const std::vector<Token>& tokens, size_t first,
                          const PathProbe& probe, std::string* path) {
  *path = tokens[first].text;
  if (tokens[first].quoted) return 1;
  size_t limit = std::min(tokens.size(), first + kMaxJoin);
  // 1: the longest join that ends in a separator and exists;
  // 2: the shortest join that ends in a separator;
  // 3: the longest existing directory.
  size_t existing_with_separator = 0, with_separator = 0, existing = 0;
  std::string joins[kMaxJoin];
  for (size_t last = first; last < limit; ++last) {
    std::string joined = Join(line, tokens, first, last);
    if (joined.empty()) break;
    size_t count = last - first + 1;
    joins[count - 1] = joined;
    bool is_dir = probe.is_directory(joined);
    if (lzh::EndsWithSeparator(joined)) {
      if (is_dir) existing_with_separator = count;
      if (!with_separator) with_separator = count;
    }
    if (is_dir) existing = count;
  }
  size_t count = existing_with_separator ? existing_with_separator
                 : with_separator        ? with_separator
                 : existing              ? existing
                                         : 1;
  *path = joins[count - 1].empty() ? tokens[first].text : joins[count - 1];
  return count;
}

// Strips a trailing wildcard component ("DIR\*.*" -> "DIR") for the
// existence test of names given to u and m.
std::string WithoutPattern(const std::string& name) {
  size_t cut = name.find_first_of("*?");
  if (cut == std::string::npos) return name;
  size_t slash = name.find_last_of("\\/", cut);
  return slash == std::string::npos ? std::string(".") : name.substr(0, slash);
}

// The last separator of `path`, a trail byte 0x5C of a double-byte
// character excepted; npos when none.
size_t LastSeparator(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (lzh::IsCp932LeadByte((unsigned char)path[i]) && i + 1 < path.size())
      ++i;
    else if (path[i] == '\\' || path[i] == '/')
      last = i;
  }
  return last;
}

bool Exists(const PathProbe& probe, const std::string& path) {
  return probe.exists ? probe.exists(path) : probe.is_file(path) || probe.is_directory(path);
}

// "C:\..." or "\\server...": a word that starts a path of its own never
// continues the one before it (no name holds a ':' or starts with "\\").
bool StartsAPath(const std::string& word) {
  bool drive = word.size() >= 3 && word[1] == ':' && (word[2] == '\\' || word[2] == '/');
  bool share = word.size() >= 2 && (word[0] == '\\' || word[0] == '/') && (word[1] == '\\' || word[1] == '/');
  return drive || share;
}

// Whether a joined disk name can still lead to an existing path: the folder
// it names so far must exist (the last folder asked is remembered in
// `known_folder`). A join with no separator at all has no folder to ask and
// is charged to `loose`.
bool JoinCanExist(const std::string& joined, const PathProbe& probe, size_t* loose, std::string* known_folder) {
  size_t slash = LastSeparator(joined);
  if (slash == std::string::npos) {
    if (*loose == 0) return false;
    --*loose;
    return true;
  }
  std::string folder = joined.substr(0, slash);
  if (folder.empty() || (folder.size() == 2 && folder[1] == ':')) folder += joined[slash];  // a root
  if (folder == *known_folder) return true;
  if (!probe.is_directory(folder)) return false;
  *known_folder = folder;
  return true;
}

// Parses one switch token ("-r1xp", "-wC:\TEMP", "-gw1"); returns the
// position in the token where a -w path starts, or npos.
size_t ParseSwitch(const std::string& text, Command* command) {
  for (size_t i = 1; i < text.size(); ++i) {
    char c = (char)(text[i] | 0x20);
    auto digit = [&](int fallback) {
      if (i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9') return text[++i] - '0';
      return fallback;
    };
    switch (c) {
      case 'r': command->recurse = digit(1); break;
      case 'x': command->with_dir_name = digit(1) != 0; break;
      case 'p': command->full_paths = digit(1) != 0; break;
      case 'n': command->quiet = digit(1) != 0; break;
      case 'o': command->overwrite = digit(1) != 0; break;
      case 'w':
        if (i + 1 < text.size() && (text[i + 1] | 0x20) == 'd') ++i;  // -wd<dir>
        return i + 1;
      case 'f':  // the rest of the token is the folder; quoted when it holds a blank
        command->folder = text.substr(i + 1);
        return std::string::npos;
      case 'g':
      case 'j':
        if (i + 1 < text.size() && (text[i + 1] | 0x20) == 'w') {
          ++i;
          int value = digit(1);
          // -jw0 -gw0 asks for the console stub; any window switch set to 1 wins.
          if (value == 1 || command->sfx_window < 0) command->sfx_window = value;
        }
        break;
      default: break;  // switches we do not need are accepted and ignored
    }
  }
  return std::string::npos;
}

}  // namespace

std::vector<Token> Tokenize(const std::string& line) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    Token token;
    token.begin = i;
    bool in_quotes = false;
    while (i < line.size() && (in_quotes || !IsBlank(line[i]))) {
      if (line[i] == '"') {
        // Inside quotes a doubled quote is one quote of the text, so any
        // name can be passed whole.
        if (in_quotes && i + 1 < line.size() && line[i + 1] == '"') {
          token.text += '"';
          i += 2;
          continue;
        }
        in_quotes = !in_quotes;
        token.quoted = true;
      } else {
        token.text += line[i];
      }
      ++i;
    }
    token.end = i;
    tokens.push_back(token);
  }
  return tokens;
}

bool ParseCommand(const std::string& line, const PathProbe& probe, Command* command) {
  *command = Command();
  std::vector<Token> tokens = Tokenize(line);
  if (tokens.empty() || tokens[0].text.size() != 1) return false;
  char name = (char)(tokens[0].text[0] | 0x20);
  if (!strchr("lxeumdnst", name)) return false;
  command->name = name;

  size_t i = 1;
  while (i < tokens.size() && tokens[i].text.size() > 1 && tokens[i].text[0] == '-') {
    size_t work = ParseSwitch(tokens[i].text, command);
    if (work == std::string::npos) {
      ++i;
      continue;
    }
    command->work_dir = tokens[i].text.substr(work);
    size_t consumed = 1;
    if (!tokens[i].quoted) {
      size_t limit = std::min(tokens.size(), i + kMaxJoin);
      for (size_t last = i + 1; last < limit; ++last) {
        std::string joined = Join(line, tokens, i, last);
        if (joined.empty()) break;
        joined = joined.substr(work);
        if (probe.is_directory(joined)) {
          command->work_dir = joined;
          consumed = last - i + 1;
        }
      }
    }
    i += consumed;
  }
  if (i >= tokens.size()) return false;

  i += ResolveArchive(line, tokens, i, probe, &command->archive);
  if (command->archive.empty()) return false;  // "" names nothing

  if ((name == 'x' || name == 'e') && i < tokens.size()) {
    i += ResolveDestination(line, tokens, i, probe, &command->destination);
  }
  if (i < tokens.size()) {
    command->rest = line.substr(tokens[i].begin);
    while (!command->rest.empty() && IsBlank(command->rest.back())) command->rest.pop_back();
  }

  bool disk_names = name == 'u' || name == 'm';
  size_t loose_joins = kMaxLooseJoins;
  std::string known_folder;
  while (i < tokens.size()) {
    size_t consumed = 1;
    std::string text = tokens[i].text;
    // A disk name that does not exist may be a path with blanks that came
    // unquoted: take the longest join that does exist.
    if (disk_names && !tokens[i].quoted) {
      std::string base = WithoutPattern(text);
      if (!Exists(probe, base)) {
        size_t limit = std::min(tokens.size(), i + kMaxJoin);
        for (size_t last = i + 1; last < limit; ++last) {
          std::string joined = Join(line, tokens, i, last);
          if (joined.empty() || StartsAPath(tokens[last].text)) break;
          std::string joined_base = WithoutPattern(joined);
          if (!JoinCanExist(joined_base, probe, &loose_joins, &known_folder)) break;
          if (Exists(probe, joined_base)) {
            text = joined;
            consumed = last - i + 1;
          }
        }
      }
    }
    command->names.push_back(text);
    i += consumed;
  }
  command->archive_path = winfs::Widen(command->archive);
  command->destination_path = winfs::Widen(command->destination);
  command->work_path = winfs::Widen(command->work_dir);
  return true;
}

PathProbe DiskProbe() {
  PathProbe probe;
  probe.is_file = [](const std::string& path) { return winfs::FileExists(winfs::Widen(path)); };
  probe.is_directory = [](const std::string& path) { return winfs::DirectoryExists(winfs::Widen(path)); };
  probe.exists = [](const std::string& path) {
    return GetFileAttributesW(winfs::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  return probe;
}

std::string FoldName(const std::string& name) { return lzh::FoldCase(name, '\\'); }

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  // "*.*" at the end means any name, with or without a dot.
  std::string p = pattern;
  if (p.size() >= 3 && p.compare(p.size() - 3, 3, "*.*") == 0) p.erase(p.size() - 2);
  // Iterative matcher with one backtrack point; '?' takes one whole
  // character (two bytes for a double-byte one).
  size_t pi = 0, ni = 0, star_p = std::string::npos, star_n = 0;
  auto char_length = [&](size_t at) {
    return (lzh::IsCp932LeadByte((unsigned char)name[at]) && at + 1 < name.size()) ? 2 : 1;
  };
  while (ni < name.size()) {
    if (pi < p.size() && p[pi] == '*') {
      star_p = pi++;
      star_n = ni;
    } else if (pi < p.size() && p[pi] == '?') {
      ++pi;
      ni += char_length(ni);
    } else if (pi < p.size()) {
      size_t length = (lzh::IsCp932LeadByte((unsigned char)p[pi]) && pi + 1 < p.size()) ? 2 : 1;
      if (p.compare(pi, length, name, ni, length) == 0) {
        pi += length;
        ni += length;
        continue;
      }
      if (star_p == std::string::npos) return false;
      pi = star_p + 1;
      star_n += char_length(star_n);
      ni = star_n;
    } else {
      if (star_p == std::string::npos) return false;
      pi = star_p + 1;
      star_n += char_length(star_n);
      ni = star_n;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace unlha
