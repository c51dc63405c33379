#include "archiver/win/wide_text.h"

namespace winfs {

std::wstring Widen(const std::string& text, UINT code_page) {
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string Narrow(const std::wstring& text, UINT code_page, bool* exact, const char* fallback) {
  if (exact) *exact = true;
  if (text.empty()) return std::string();
  int length = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
  if (length <= 0) {
    if (exact) *exact = false;
    return std::string();
  }
  std::string bytes(static_cast<size_t>(length), '\0');
  // UTF-8 takes no default character.
  WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), &bytes[0], length,
                      code_page == CP_UTF8 ? nullptr : fallback, nullptr);
  // A best-fit spelling ("cafe" for "café") reports no default character, so
  // the round trip is the only sure test of an exact spelling.
  if (exact && Widen(bytes, code_page) != text) *exact = false;
  return bytes;
}

}  // namespace winfs
