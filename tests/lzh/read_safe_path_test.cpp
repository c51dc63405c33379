// Stored names mapped to paths under a destination: what is stripped, what
// is refused.
#include <gtest/gtest.h>

#include "archiver/lzh/safe_path.h"

namespace {

std::string Map(const std::string& stored, lzh::PathVerdict* verdict = nullptr) {
  std::vector<std::string> parts;
  lzh::PathVerdict v = lzh::SafeRelativePath(stored, &parts);
  if (verdict) *verdict = v;
  return v == lzh::PathVerdict::kOk ? lzh::JoinPath(parts, '\\') : "<refused>";
}

TEST(SafePath, HarmlessPrefixesAndComponentsAreStripped) {
  EXPECT_EQ(Map("a/b/c.txt"), "a\\b\\c.txt");
  EXPECT_EQ(Map("/etc/passwd"), "etc\\passwd");
  EXPECT_EQ(Map("C:/Windows/x.dll"), "Windows\\x.dll");
  EXPECT_EQ(Map("c:x.txt"), "x.txt");
  EXPECT_EQ(Map("//server/share/f"), "server\\share\\f");
  EXPECT_EQ(Map("a//./b/"), "a\\b");
  EXPECT_EQ(Map("dir./name. "), "dir\\name");
  EXPECT_EQ(Map("a\\b"), "a\\b");
  EXPECT_EQ(Map("\\\\?\\C:\\long.txt"), "long.txt");
  EXPECT_EQ(Map("//./C:/dev.txt"), "dev.txt");
  // Characters Windows forbids become '_' (a Unix archive may hold them).
  EXPECT_EQ(Map("a*b/c?<d>|\"e.txt"), "a_b\\c__d___e.txt");
}

TEST(SafePath, Utf8NamesHaveNoDoubleByteCharacters) {
  // "\xE3\x81\x82" is one UTF-8 character; read as CP932 its last byte
  // would pair with the separator after it.
  std::vector<std::string> parts;
  ASSERT_EQ(lzh::SafeRelativePath("\xE3\x81\x82\\..\\x", &parts, lzh::NameEncoding::kUtf8),
            lzh::PathVerdict::kParentDir);
  ASSERT_EQ(lzh::SafeRelativePath("\xE3\x81\x82\\b\xC3\xA9", &parts, lzh::NameEncoding::kUtf8), lzh::PathVerdict::kOk);
  EXPECT_EQ(parts, (std::vector<std::string>{"\xE3\x81\x82", "b\xC3\xA9"}));
}

TEST(SafePath, EscapesAndDevicesAreRefused) {
  lzh::PathVerdict v;
  for (const char* p : {"../x", "a/../../x", "a/..", "..\\x", "C:\\..\\x"}) {
    EXPECT_EQ(Map(p, &v), "<refused>") << p;
    EXPECT_EQ(v, lzh::PathVerdict::kParentDir) << p;
  }
  for (const char* p : {"CON", "a/nul.txt", "Com1", "lpt9.log", "aux .c"}) {
    EXPECT_EQ(Map(p, &v), "<refused>") << p;
    EXPECT_EQ(v, lzh::PathVerdict::kDeviceName) << p;
  }
  EXPECT_EQ(Map("COM10"), "COM10");
  EXPECT_EQ(Map("console.txt"), "console.txt");
  Map("a/b:stream", &v);
  EXPECT_EQ(v, lzh::PathVerdict::kBadChar);
  Map("a\tb", &v);
  EXPECT_EQ(v, lzh::PathVerdict::kBadChar);
  Map("/./", &v);
  EXPECT_EQ(v, lzh::PathVerdict::kEmpty);
  // A lone first byte of a double-byte character before a separator (or
  // left by trimming) would join the next component on Windows.
  for (const char* p : {"dir\x95/x", "dir\x95./x", "a/\x81 "}) {
    EXPECT_EQ(Map(p, &v), "<refused>") << p;
    EXPECT_EQ(v, lzh::PathVerdict::kBadChar) << p;
  }
  EXPECT_EQ(Map("dir\x95\x40/x"), "dir\x95\x40\\x");
}

TEST(SafePath, TrailByte5CStaysInItsCharacter) {
  // "表\示" : the first 0x5C is the trail byte of 0x95, the second separates.
  EXPECT_EQ(Map("\x95\x5C\\\x8E\xA6.txt"), "\x95\x5C\\\x8E\xA6.txt");
  std::vector<std::string> parts;
  ASSERT_EQ(lzh::SafeRelativePath("\x95\x5C\\\x8E\xA6.txt", &parts), lzh::PathVerdict::kOk);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0], "\x95\x5C");
  // ".." behind a trail byte is not a component of its own (the trailing
  // dots go, as Windows would drop them).
  EXPECT_EQ(Map("\x81\x5C..\\x"), "\x81\x5C\\x");
}

}  // namespace
