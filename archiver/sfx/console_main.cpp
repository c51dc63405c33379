// The console self-extracting program: extracts its archive into the current
// folder, or the folder named on the command line, printing each name.
//
//   NAME.exe [/o] [DIR]      (also "/d DIR")
//
// An existing file is overwritten only with /o; otherwise it is kept and
// reported, and the exit code is 1. Exit codes: see ExitCode in extractor.h.
#include <windows.h>

#include <cstdio>
#include <string>

#include "archiver/sfx/extractor.h"
#include "archiver/sfx/own_archive.h"
#include "archiver/sfx/sfx_options.h"
#include "archiver/sfx/sfx_resource.h"
#include "archiver/sfx/sfx_start.h"
#include "archiver/sfx/sfx_texts.h"
#include "archiver/win/wide_text.h"
#include "archiver/win/win_path.h"

namespace {

void PrintLine(FILE* stream, const std::string& text) {
  fputs(text.c_str(), stream);
  fputc('\n', stream);
  fflush(stream);
}

// Ctrl+C and closing the console stop extraction cleanly (no half-written
// file is left behind) instead of killing the process.
volatile LONG g_interrupted = 0;

BOOL WINAPI OnConsoleControl(DWORD) {
  InterlockedExchange(&g_interrupted, 1);
  return TRUE;
}

class ConsoleEvents : public sfx::ExtractEvents {
 public:
  bool OnProgress(uint64_t, uint64_t) override { return g_interrupted == 0; }
  void OnEntry(const std::string& name) override { PrintLine(stdout, "  " + name); }
  void OnProblem(const sfx::Problem& problem) override { PrintLine(stderr, sfx::DescribeProblem(problem)); }
};

}  // namespace

int SfxMain() {
  sfx::Options options = sfx::ParseOptions(sfx::SkipProgramName(GetCommandLineA()));
  sfx::OwnArchive archive;
  bool opened = archive.Open();
  if (!options.error.empty()) {
    PrintLine(stderr, sfx::FormatText(IDS_BAD_ARGUMENT, options.error.c_str()));
    options.help = true;
  }
  if (options.help) {
    std::string usage = sfx::FormatText(IDS_USAGE_CONSOLE, opened ? archive.FileName().c_str() : "SFX");
    fputs(usage.c_str(), stderr);
    return options.error.empty() ? sfx::kExitOk : sfx::kExitNoArchive;
  }
  if (!opened) {
    PrintLine(stderr, sfx::LoadText(IDS_NO_ARCHIVE));
    return sfx::kExitNoArchive;
  }

  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  ConsoleEvents events;
  std::wstring destination = winfs::Widen(options.destination);
  sfx::Summary summary =
      sfx::ExtractAll(archive.source(), destination,
                      options.overwrite ? sfx::OverwritePolicy::kAlways : sfx::OverwritePolicy::kNever, &events);
  if (summary.no_archive)
    PrintLine(stderr, sfx::LoadText(IDS_NO_ARCHIVE));
  else if (summary.no_destination)
    PrintLine(stderr, sfx::FormatText(IDS_NO_DESTINATION, options.destination.c_str()));
  else if (summary.cancelled)
    PrintLine(stderr, sfx::LoadText(IDS_CANCELLED));
  else
    PrintLine(stdout, sfx::FormatText(IDS_DONE, summary.extracted,
                                      winfs::Narrow(winfs::FullPath(destination)).c_str()));
  return sfx::ExitCodeOf(summary);
}
