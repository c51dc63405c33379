// Where a path really leads once links and junctions are followed: the
// extractors use it so that a link planted in the destination (or an
// existing file that is a link) never lets an entry be written elsewhere.
#pragma once
#include <string>

namespace winfs {

// The final path of an existing file or folder, links followed; empty when
// it does not exist or the system cannot tell (before Windows Vista).
std::wstring ResolvedPath(const std::wstring& path);

// False when the deepest existing part of `path` really lies in a place
// outside `resolved_base` (a ResolvedPath). True when `resolved_base` is
// empty, i.e. when the system cannot resolve paths at all.
bool StaysBelow(const std::wstring& path, const std::wstring& resolved_base);

}  // namespace winfs
