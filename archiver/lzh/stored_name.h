// When two stored names are the same entry. Archivers on Windows treat names
// without regard to ASCII case, and '/' and '\\' as one separator; the second
// byte of a CP932 double-byte character is never folded or split on.
#pragma once
#include <string>

namespace lzh {

// ASCII letters to lower case and both separators to `separator`, leaving
// double-byte characters whole.
std::string FoldCase(const std::string& name, char separator);

// The form names compare in: FoldCase with '/', and no empty or "."
// components (archives made from "." store "./a.txt" for what is shown and
// addressed as "a.txt"), so no trailing separator either.
std::string StoredNameKey(const std::string& name);

inline bool SameStoredName(const std::string& a, const std::string& b) { return StoredNameKey(a) == StoredNameKey(b); }

}  // namespace lzh
