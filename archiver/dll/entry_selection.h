// Choosing the entries a command names. A name that is an entry's name as
// listed, byte for byte, names that entry alone (and, for a directory, what
// lies below it): a row chosen in a window is affected alone whatever its
// name holds. Any other name is a pattern: full paths compared without
// regard to case, wildcards, "DIR\*.*" for a whole directory, "*.*" for all.
#pragma once
#include <string>
#include <vector>

#include "archiver/dll/command_line.h"
#include "archiver/lzh/header.h"

namespace unlha {

// The names the command's text after the archive (and destination) holds:
// the whole text when it names an entry as it stands (an unquoted name with
// blanks or quotes), the pattern of "D\*.* D\*" when the text has that form, else its
// tokens.
std::vector<std::string> NamesFromText(const std::string& rest, const std::vector<lzh::Header>& entries);

// Marks in `chosen` the entries that `names` select (all for no names);
// `unmatched` receives the names that selected nothing.
// The entry `text` names: its listed name byte for byte, else the first
// equal without regard to case; entries.size() when none.
size_t FindEntry(const std::string& text, const std::vector<lzh::Header>& entries);

void SelectEntries(const std::vector<std::string>& names, const std::vector<lzh::Header>& entries,
                   bool full_paths, std::vector<bool>* chosen, std::vector<std::string>* unmatched);

}  // namespace unlha
