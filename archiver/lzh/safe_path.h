// Mapping a stored entry path to a relative path under a destination folder.
//
// The stored path (Header::path, '/'-separated) is split into components that
// are safe to create below the destination on Windows and POSIX alike; callers
// join them with their own separator ('\\' in the DLL, '/' natively).
//
// Policy:
//   stripped (entry still extracted): leading separators, a drive prefix
//     ("C:"), empty and "." components, trailing dots and blanks of a component
//     (Windows drops them anyway);
//   refused (entry skipped and reported): any ".." component, a component that
//     names a device (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an
//     extension), a component with ':' (streams) or a control character, one
//     ending in the first byte of a double-byte character (joined with '\\'
//     it would swallow the separator), and a
//     path with no component left (for a directory entry such as "./" that
//     is the destination itself: skip it quietly).
// Components are raw CP932 bytes; a trail byte 0x5C inside a double-byte
// character never splits a component.
#pragma once
#include <string>
#include <vector>

namespace lzh {

enum class PathVerdict {
  kOk,          // components are usable (possibly after stripping)
  kParentDir,   // refused: ".." component
  kDeviceName,  // refused: reserved device name
  kBadChar,     // refused: ':' or control character
  kEmpty,       // refused: nothing left
};

PathVerdict SafeRelativePath(const std::string& stored_path, std::vector<std::string>* components);

// Joins components with `separator`.
std::string JoinPath(const std::vector<std::string>& components, char separator);

// True when byte `c` starts a CP932 double-byte character.
inline bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
// True when `c` may follow a lead byte.
inline bool IsCp932TrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

}  // namespace lzh
