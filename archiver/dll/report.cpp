#include "archiver/dll/report.h"

#include "archiver/dll/resource.h"
#include "archiver/lzh/cp932.h"
#include "archiver/win/wide_text.h"

namespace unlha {

namespace {
// An error box lists at most this many problems; the rest are counted.
const size_t kMaxLinesShown = 20;
// Longer names are cut: a box must stay readable, and laying out a line of
// many thousand characters takes the system minutes.
const size_t kMaxNameShown = 200;

std::string ShortenForBox(const std::string& name) {
  if (name.size() <= kMaxNameShown) return name;
  size_t length = 0;
  while (length < kMaxNameShown) {
    size_t step = lzh::IsCp932LeadByte((unsigned char)name[length]) && length + 1 < name.size() ? 2 : 1;
    if (length + step > kMaxNameShown) break;
    length += step;
  }
  return name.substr(0, length) + "...";
}
}  // namespace

std::string LoadText(UINT id) {
  char buffer[512];
  int length = LoadStringA(ModuleInstance(), id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

void Report::Fail(Result code, UINT message_id, const std::wstring& path) {
  Fail(code, message_id, winfs::Narrow(path));
}

void Report::Fail(Result code, UINT message_id, const std::string& name) {
  Fail(code, message_id, std::vector<std::string>(1, name));
}

void Report::Fail(Result code, UINT message_id, const std::vector<std::string>& texts) {
  if (result_ == kOk) result_ = code;
  std::string format = LoadText(message_id);
  std::string line;
  size_t from = 0, next = 0;
  for (size_t marker; (marker = format.find("%s", from)) != std::string::npos; from = marker + 2) {
    line += format.substr(from, marker - from);
    if (next < texts.size()) line += ShortenForBox(texts[next++]);
  }
  line += format.substr(from);
  // Identical lines (the same refusal for many entries) are shown once.
  if (!seen_.insert(line).second) return;
  lines_.push_back(line);
}

int Report::Finish() {
  if (lines_.empty()) return result_;
  std::string text;
  for (size_t i = 0; i < lines_.size() && i < kMaxLinesShown; ++i) {
    if (i) text += "\r\n";
    text += lines_[i];
  }
  if (lines_.size() > kMaxLinesShown) {
    char more[64];
    wsprintfA(more, LoadText(IDS_MORE_PROBLEMS).c_str(), (int)(lines_.size() - kMaxLinesShown));
    text += "\r\n";
    text += more;
  }
  std::string title = LoadText(IDS_TITLE);
  MessageBoxA(owner_, text.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
  return result_;
}

}  // namespace unlha
