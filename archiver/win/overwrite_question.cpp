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

// The control's own text is the format of its line: the size, then the
// local date and time ("" for an unknown time).
void ShowFacts(HWND dialog, int id, const Facts& facts) {
  char size[24], time[32] = "";
  wsprintfA(size, "%I64u", facts.size.QuadPart);
  FILETIME local;
  SYSTEMTIME t;
  if ((facts.time.dwLowDateTime || facts.time.dwHighDateTime) && FileTimeToLocalFileTime(&facts.time, &local) &&
      FileTimeToSystemTime(&local, &t))
    wsprintfA(time, "%04u/%02u/%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  char format[128] = "";
  GetDlgItemTextA(dialog, id, format, sizeof format);
  char text[1025];  // wsprintfA writes at most 1024 characters and the NUL
  wsprintfA(text, format, size, time);
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
