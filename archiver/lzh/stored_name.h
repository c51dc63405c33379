// When two stored names are the same entry. Archivers on Windows treat names
// without regard to ASCII case, and '/' and '\\' as one separator; the second
// byte of a CP932 double-byte character is never folded or split on.
#pragma once
#include <string>

#include "archiver/lzh/header.h"

namespace lzh {

// ASCII letters to lower case and both separators to `separator`, leaving
// double-byte characters whole.
std::string FoldCase(const std::string& name, char separator);

// The form names compare in: FoldCase with '/', and no empty or "."
// components (archives made from "." store "./a.txt" for what is shown and
// addressed as "a.txt"), so no trailing separator either.
std::string StoredNameKey(const std::string& name);

// The key of an entry's name: StoredNameKey of its path, or, for an entry
// that carries an exact name CP932 cannot spell, a key of that name (so
// "caf\xC3\xA9.txt", stored as "cafe.txt", is not the entry "cafe.txt").
std::string EntryNameKey(const Header& header);

inline bool SameStoredName(const std::string& a, const std::string& b) { return StoredNameKey(a) == StoredNameKey(b); }

}  // namespace lzh
