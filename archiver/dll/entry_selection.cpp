#include "archiver/dll/entry_selection.h"

#include "archiver/dll/entry_record.h"
#include "archiver/lzh/cp932.h"

namespace unlha {

namespace {

// The name as listed, without a directory's trailing '\' (a last byte 0x5C
// may be the second byte of a character, as in "表").
std::string ListedEntryName(const lzh::Header& header) {
  std::string name = DisplayName(header);
  if (lzh::EndsWithSeparator(name)) name.pop_back();
  return name;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string BaseOf(const std::string& folded) {
  size_t last = lzh::LastSeparator(folded);
  return last == std::string::npos ? folded : folded.substr(last + 1);
}

bool HasSeparator(const std::string& folded) { return BaseOf(folded).size() != folded.size(); }

// Whether `name`, taken as it stands, names the listed entry `listed`: the
// same bytes (the last component only, for a name without a separator when
// paths are not compared whole), or a directory of that name above it.
bool NamesLiterally(const std::string& name, const std::string& listed, bool full_paths) {
  bool by_base = !full_paths && !HasSeparator(name);
  if ((by_base ? BaseOf(listed) : listed) == name) return true;
  return listed.size() > name.size() && listed.compare(0, name.size(), name) == 0 && listed[name.size()] == '\\';
}

// Whether one folded pattern selects one folded entry name.
bool Selects(const std::string& pattern, const std::string& name, bool full_paths) {
  if (pattern == "*" || pattern == "*.*" || pattern == "\\*" || pattern == "\\*.*" || pattern == "\\")
    return true;
  std::string directory;
  if (EndsWith(pattern, "\\*.*")) directory = pattern.substr(0, pattern.size() - 3);
  else if (EndsWith(pattern, "\\*")) directory = pattern.substr(0, pattern.size() - 1);
  else if (EndsWith(pattern, "\\")) directory = pattern;
  if (!directory.empty() && directory.find_first_of("*?") == std::string::npos) {
    // A whole directory and everything below it.
    return name.compare(0, directory.size(), directory) == 0 && name.size() > directory.size();
  }
  bool wild = pattern.find_first_of("*?") != std::string::npos;
  bool by_base = !full_paths && !HasSeparator(pattern);
  const std::string& subject = by_base ? BaseOf(name) : name;
  if (wild) return WildcardMatch(pattern, subject);
  if (subject == pattern) return true;
  // A plain directory name selects what lies below it.
  return name.size() > pattern.size() && name.compare(0, pattern.size(), pattern) == 0 &&
         name[pattern.size()] == '\\';
}

}  // namespace

std::vector<std::string> NamesFromText(const std::string& rest, const std::vector<lzh::Header>& entries) {
  std::vector<std::string> names;
  if (rest.empty()) return names;
  for (const lzh::Header& header : entries) {
    if (ListedEntryName(header) == rest) {
      names.push_back(rest);
      return names;
    }
  }
  if (rest.find('"') == std::string::npos) {
    std::string folded = FoldName(rest);
    for (const lzh::Header& header : entries) {
      if (FoldName(ListedEntryName(header)) == folded) {
        names.push_back(rest);
        return names;
      }
    }
    // "D\*.* D\*" names the directory D, which may hold blanks.
    if (rest.size() > 5 && (rest.size() - 5) % 2 == 0) {
      std::string directory = rest.substr(0, (rest.size() - 5) / 2);
      if (rest == directory + "*.* " + directory + "*") {
        names.push_back(directory + "*.*");
        return names;
      }
    }
  }
  for (const Token& token : Tokenize(rest)) names.push_back(token.text);
  return names;
}

size_t FindEntry(const std::string& text, const std::vector<lzh::Header>& entries) {
  for (size_t i = 0; i < entries.size(); ++i)
    if (ListedEntryName(entries[i]) == text) return i;
  std::string folded = FoldName(text);
  for (size_t i = 0; i < entries.size(); ++i)
    if (FoldName(ListedEntryName(entries[i])) == folded) return i;
  return entries.size();
}

void SelectEntries(const std::vector<std::string>& names, const std::vector<lzh::Header>& entries,
                   bool full_paths, std::vector<bool>* chosen, std::vector<std::string>* unmatched) {
  chosen->assign(entries.size(), names.empty());
  std::vector<std::string> listed_entries, folded_entries;
  for (const lzh::Header& header : entries) {
    listed_entries.push_back(ListedEntryName(header));
    folded_entries.push_back(FoldName(listed_entries.back()));
  }
  for (const std::string& name : names) {
    bool any = false;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (NamesLiterally(name, listed_entries[i], full_paths)) {
        (*chosen)[i] = true;
        any = true;
      }
    }
    if (!any) {
      std::string pattern = FoldName(name);
      for (size_t i = 0; i < entries.size(); ++i) {
        if (Selects(pattern, folded_entries[i], full_paths)) {
          (*chosen)[i] = true;
          any = true;
        }
      }
    }
    if (!any) unmatched->push_back(name);
  }
}

}  // namespace unlha
