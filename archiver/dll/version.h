#pragma once

namespace unlha {
// UnlhaGetVersion's answer: 1.30 (callers require 22 or more in the low word).
enum { kVersion = 130 };
}  // namespace unlha
