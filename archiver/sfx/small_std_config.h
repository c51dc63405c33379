// Read before anything else in the self-extracting programs (-include, see
// CMakeLists.txt). They are built with the standard library's assertions on
// only so that its string code is compiled here without exceptions instead of
// linked from its prebuilt copies. A failed assertion there would report the
// file, line, full function signature and condition: a few hundred bytes of
// text for each use of operator[] or back(), over 8 KB in all. Here it stops
// the program at once, which is all the report could lead to anyway.
#pragma once
#include <bits/c++config.h>

#undef __glibcxx_assert_impl
#define __glibcxx_assert_impl(condition) \
  if (__builtin_expect(!bool(condition), false)) __builtin_trap();
