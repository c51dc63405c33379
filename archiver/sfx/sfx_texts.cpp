#include "archiver/sfx/sfx_texts.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "archiver/sfx/sfx_resource.h"

namespace sfx {
namespace {

unsigned ErrorTextId(lzh::Error error) {
  switch (error) {
    case lzh::Error::kTruncated:
      return IDS_ERROR_TRUNCATED;
    case lzh::Error::kBadHeader:
      return IDS_ERROR_BAD_HEADER;
    case lzh::Error::kUnknownMethod:
      return IDS_ERROR_UNKNOWN_METHOD;
    case lzh::Error::kDamagedData:
      return IDS_ERROR_DAMAGED_DATA;
    case lzh::Error::kCrcError:
      return IDS_ERROR_CRC;
    case lzh::Error::kReadError:
      return IDS_ERROR_READ;
    case lzh::Error::kWriteError:
      return IDS_ERROR_WRITE;
    default:
      return IDS_ERROR_OTHER;
  }
}

unsigned RefusalTextId(lzh::PathVerdict verdict) {
  switch (verdict) {
    case lzh::PathVerdict::kParentDir:
      return IDS_REFUSED_PARENT;
    case lzh::PathVerdict::kDeviceName:
      return IDS_REFUSED_DEVICE;
    case lzh::PathVerdict::kBadChar:
      return IDS_REFUSED_CHAR;
    default:
      return IDS_REFUSED_EMPTY;
  }
}

}  // namespace

std::string LoadText(unsigned id) {
  char buffer[1024];
  int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

std::string FormatText(unsigned id, ...) {
  std::string format = LoadText(id);
  char buffer[2048];
  va_list arguments;
  va_start(arguments, id);
  int length = _vsnprintf(buffer, sizeof buffer - 1, format.c_str(), arguments);
  va_end(arguments);
  buffer[sizeof buffer - 1] = 0;
  return length < 0 ? std::string(buffer) : std::string(buffer, length);
}

std::string SystemErrorText(unsigned long error) {
  char* text = nullptr;
  DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result;
  if (length && text) {
    result.assign(text, length);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
      result.pop_back();
  } else {
    char number[32];
    wsprintfA(number, "(%lu)", error);
    result = number;
  }
  if (text) LocalFree(text);
  return result;
}

std::string DescribeProblem(const Problem& problem) {
  const char* name = problem.name.c_str();
  switch (problem.kind) {
    case ProblemKind::kRefusedName:
      return FormatText(RefusalTextId(problem.verdict), name);
    case ProblemKind::kKeptExisting:
      return FormatText(IDS_KEPT_EXISTING, name);
    case ProblemKind::kDamaged:
      return FormatText(IDS_DAMAGED_ENTRY, name, LoadText(ErrorTextId(problem.error)).c_str());
    case ProblemKind::kWriteFailed:
      return FormatText(IDS_WRITE_FAILED, name, SystemErrorText(problem.win_error).c_str());
    case ProblemKind::kLinkSkipped:
      return FormatText(IDS_LINK_SKIPPED, name);
    case ProblemKind::kArchiveDamaged:
      if (problem.name.empty())
        return FormatText(IDS_ARCHIVE_DAMAGED, LoadText(ErrorTextId(problem.error)).c_str());
      return FormatText(IDS_ARCHIVE_DAMAGED_AFTER, name, LoadText(ErrorTextId(problem.error)).c_str());
  }
  return std::string();
}

}  // namespace sfx
