// Test text helpers: test sources are UTF-8, the program's texts are code page
// 932 bytes.
#pragma once

#include <string>

// UTF-8 -> code page 932 bytes.
std::string Sjis(const char* utf8);
// Code page 932 bytes -> UTF-8 (for readable failure messages).
std::string Utf8(const std::string& sjis);
