#include "archiver/win/overwrite_question.h"

#include "archiver/win/entry_time.h"
#include "archiver/win/overwrite_question_ids.h"

namespace winfs {

namespace {

struct Facts {
  ULARGE_INTEGER size;
  FILETIME time;  // UTC; zero when unknown
};

struct Question {
  const std::string* name;
  Facts on_disk, in_archive;
};

// "1,234,567"
std::string Grouped(ULONGLONG value) {
  char digits[24];
  int count = 0;
  do {
    digits[count++] = (char)('0' + value % 10);
    value /= 10;
  } while (value);
  std::string text;
  while (count-- > 0) {
    text += digits[count];
    if (count && count % 3 == 0) text += ',';
  }
  return text;
}

// Local "YYYY/MM/DD hh:mm:ss", or "" for an unknown time.
std::string LocalTimeText(const FILETIME& utc) {
  FILETIME local;
  SYSTEMTIME t;
  if (!utc.dwLowDateTime && !utc.dwHighDateTime) return std::string();
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return std::string();
  char text[32];
  wsprintfA(text, "%04u/%02u/%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return text;
}

// The control's own text is the format of its line.
void ShowFacts(HWND dialog, int id, const Facts& facts) {
  char format[128] = "";
  GetDlgItemTextA(dialog, id, format, sizeof format);
  char text[1025];  // wsprintfA writes at most 1024 characters and the NUL
  wsprintfA(text, format, Grouped(facts.size.QuadPart).c_str(), LocalTimeText(facts.time).c_str());
  SetDlgItemTextA(dialog, id, text);
}

void OnInitDialog(HWND dialog, const Question* question) {
  SetDlgItemTextA(dialog, IDC_OVERWRITE_NAME, question->name->c_str());
  ShowFacts(dialog, IDC_OVERWRITE_ON_DISK, question->on_disk);
  ShowFacts(dialog, IDC_OVERWRITE_IN_ARCHIVE, question->in_archive);
  MessageBeep(MB_ICONQUESTION);
}

INT_PTR CALLBACK QuestionProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, reinterpret_cast<const Question*>(lparam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDYES:
        case IDNO:
        case IDC_OVERWRITE_ALL:
        case IDCANCEL:
          EndDialog(dialog, LOWORD(wparam));
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

OverwriteAnswer AskOverwrite(HINSTANCE resources, HWND owner, const std::string& name, const std::wstring& path,
                             const lzh::Header& entry) {
  Question question = {&name, {}, {}};
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    question.on_disk.size.LowPart = data.nFileSizeLow;
    question.on_disk.size.HighPart = data.nFileSizeHigh;
    question.on_disk.time = data.ftLastWriteTime;
  }
  question.in_archive.size.QuadPart = entry.original_size;
  EntryFileTime(entry, &question.in_archive.time);
  INT_PTR answer = DialogBoxParamA(resources, MAKEINTRESOURCEA(IDD_OVERWRITE), owner, QuestionProc,
                                   reinterpret_cast<LPARAM>(&question));
  switch (answer) {
    case IDYES: return OverwriteAnswer::kYes;
    case IDC_OVERWRITE_ALL: return OverwriteAnswer::kAll;
    case IDNO: return OverwriteAnswer::kNo;
    default: return OverwriteAnswer::kCancel;  // Cancel, or no dialog at all
  }
}

}  // namespace winfs
