// The windowed self-extracting program: asks for a destination folder
// (default: the folder of the program) and extracts its archive there with a
// progress window.
//
//   NAME.exe [/d DIR] [/q] [/o]
//
// /q runs unattended: no dialog, no question, no message box; existing files
// are kept unless /o is given. Without /q an existing file brings a question
// (Yes / No / Overwrite all / Cancel), and /o skips the question. The exit
// code tells the outcome either way: see ExitCode in extractor.h.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "archiver/sfx/extractor.h"
#include "archiver/sfx/gui_progress.h"
#include "archiver/sfx/gui_setup_dialog.h"
#include "archiver/sfx/own_archive.h"
#include "archiver/sfx/sfx_options.h"
#include "archiver/sfx/sfx_resource.h"
#include "archiver/sfx/sfx_start.h"
#include "archiver/sfx/sfx_texts.h"
#include "archiver/win/wide_text.h"

namespace {

const size_t kMaxProblemLines = 15;

void ShowMessage(const std::string& text, UINT icon) {
  std::string title = sfx::LoadText(IDS_TITLE);
  MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_SETFOREGROUND | icon);
}

// One closing message: what was extracted, and every problem (the first few).
void ShowSummary(const sfx::Summary& summary, const std::vector<std::string>& problems,
                 const std::string& destination) {
  if (summary.no_archive) return ShowMessage(sfx::LoadText(IDS_NO_ARCHIVE), MB_ICONERROR);
  if (summary.no_destination)
    return ShowMessage(sfx::FormatText(IDS_NO_DESTINATION, destination.c_str()), MB_ICONERROR);
  std::string text = summary.cancelled ? sfx::LoadText(IDS_CANCELLED)
                                       : sfx::FormatText(IDS_DONE, summary.extracted, destination.c_str());
  if (!problems.empty()) {
    text += "\r\n\r\n" + sfx::LoadText(IDS_PROBLEMS);
    for (size_t i = 0; i < problems.size() && i < kMaxProblemLines; ++i) text += "\r\n" + problems[i];
    if (problems.size() > kMaxProblemLines)
      text += "\r\n" + sfx::FormatText(IDS_MORE_PROBLEMS, static_cast<unsigned>(problems.size() - kMaxProblemLines));
  }
  UINT icon = (summary.archive_damaged || summary.failed) ? MB_ICONERROR
              : problems.empty() && !summary.cancelled    ? MB_ICONINFORMATION
                                                          : MB_ICONEXCLAMATION;
  ShowMessage(text, icon);
}

int RunQuiet(sfx::OwnArchive* archive, const sfx::Options& options, const std::wstring& destination) {
  sfx::Summary summary = sfx::ExtractAll(
      archive->source(), destination,
      options.overwrite ? sfx::OverwritePolicy::kAlways : sfx::OverwritePolicy::kNever, nullptr);
  return sfx::ExitCodeOf(summary);
}

int RunWithWindows(HINSTANCE instance, sfx::OwnArchive* archive, const sfx::Options& options,
                   const std::wstring& proposed) {
  // The dialog speaks the system code page; a folder it cannot spell stays
  // exact as long as the user keeps it.
  std::string shown = winfs::Narrow(proposed), destination = shown;
  if (!sfx::AskDestination(instance, archive->FileName(), &destination)) return sfx::kExitCancelled;
  std::wstring chosen = destination == shown ? proposed : winfs::Widen(destination);
  sfx::Summary summary;
  std::vector<std::string> problems;
  {
    sfx::ProgressWindow progress(instance);
    summary = sfx::ExtractAll(archive->source(), chosen,
                              options.overwrite ? sfx::OverwritePolicy::kAlways : sfx::OverwritePolicy::kAsk,
                              &progress);
    problems = progress.problems();
  }
  ShowSummary(summary, problems, destination);
  return sfx::ExitCodeOf(summary);
}

}  // namespace

int SfxMain() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  sfx::Options options = sfx::ParseOptions(sfx::SkipProgramName(GetCommandLineA()));
  sfx::OwnArchive archive;
  bool opened = archive.Open();
  if (!options.error.empty() || options.help) {
    if (!options.quiet) {
      std::string text;
      if (!options.error.empty()) text = sfx::FormatText(IDS_BAD_ARGUMENT, options.error.c_str()) + "\r\n\r\n";
      text += sfx::FormatText(IDS_USAGE_GUI, opened ? archive.FileName().c_str() : "SFX");
      ShowMessage(text, options.error.empty() ? MB_ICONINFORMATION : MB_ICONERROR);
    }
    return options.error.empty() ? sfx::kExitOk : sfx::kExitNoArchive;
  }
  if (!opened) {
    if (!options.quiet) ShowMessage(sfx::LoadText(IDS_NO_ARCHIVE), MB_ICONERROR);
    return sfx::kExitNoArchive;
  }

  std::wstring destination = options.destination.empty() ? archive.Folder() : winfs::Widen(options.destination);
  if (options.quiet) return RunQuiet(&archive, options, destination);
  return RunWithWindows(instance, &archive, options, destination);
}
