// The one rule for turning a stored entry path into a relative path below a
// destination folder, shared by the library, the self-extractors and lzhtool.
//
// The stored path (Header::path, '/'-separated) is split into components that
// are safe to create below the destination on Windows and POSIX alike; callers
// join them with their own separator ('\\' on Windows, '/' natively).
//
// Policy (what every peer does with names from DOS, Mac and Unix archivers):
//   stripped (entry still extracted inside the destination): leading
//     separators, a drive prefix ("C:", also a UNC or "\\?\" lead), empty
//     and "." components, trailing dots and blanks of a component (Windows
//     drops them anyway);
//   replaced: characters Windows forbids in names (* ? " < > |) become '_';
//   refused (entry skipped and reported): any ".." component, a component
//     that names a device (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or
//     without an extension), a component with ':' (streams) or a control
//     character, one ending in the first byte of a CP932 double-byte
//     character (joined with '\\' it would swallow the separator), and a
//     path with no component left (for a directory entry
//     such as "./" that is the destination itself: skip it quietly).
// Components are raw bytes in the stored name's encoding: for CP932 a trail
// byte 0x5C inside a double-byte character never splits a component; UTF-8
// has no such bytes.
#pragma once
#include <string>
#include <vector>

#include "archiver/lzh/cp932.h"

namespace lzh {

enum class PathVerdict {
  kOk,          // components are usable (possibly after stripping)
  kParentDir,   // refused: ".." component
  kDeviceName,  // refused: reserved device name
  kBadChar,     // refused: ':' or control character
  kEmpty,       // refused: nothing left
};

enum class NameEncoding { kCp932, kUtf8 };

PathVerdict SafeRelativePath(const std::string& stored_path, std::vector<std::string>* components,
                             NameEncoding encoding = NameEncoding::kCp932);

// Joins components with `separator`.
std::string JoinPath(const std::vector<std::string>& components, char separator);

// True for a name (component) Windows reserves for a device: "NUL.txt" too.
bool IsDeviceName(const std::string& component);

}  // namespace lzh
