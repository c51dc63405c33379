// "t ARCHIVE [name...]": decodes the entries and checks their CRCs, writing
// nothing. The findings go to the output, one line each, keyword first:
//   TESTED <entries> <faulty>       (CANCELLED ... when the user stopped it)
//   CRC|CUT|DAMAGED|METHOD|UNREADABLE <name>   a faulty entry
//   HEADER <offset>                 the archive's headers end damaged there
//   ARCHIVECUT <offset>             the file ends inside the header there
//   OK <name>                       a sound entry
// The counts come first and the faults before the sound entries, so a short
// buffer loses sound entries first. A caller that takes no output is shown
// the findings in the error box instead.
#include <cinttypes>
#include <cstdio>

#include "archiver/dll/archive_access.h"
#include "archiver/dll/commands.h"
#include "archiver/dll/entry_record.h"
#include "archiver/dll/entry_selection.h"
#include "archiver/dll/resource.h"

namespace unlha {

namespace {

const char* FaultKeyword(lzh::Error error, const LoadedArchive& archive, const lzh::Header& header) {
  switch (error) {
    case lzh::Error::kOk: return "OK";
    case lzh::Error::kCrcError: return "CRC";
    case lzh::Error::kUnknownMethod: return "METHOD";
    case lzh::Error::kReadError: return "UNREADABLE";
    case lzh::Error::kTruncated:
    case lzh::Error::kDamagedData: return DataRunsPastEnd(archive, header) ? "CUT" : "DAMAGED";
    default: return "DAMAGED";
  }
}

// The result code of a fault, as the error box's messages give it.
Result FaultCode(const std::string& keyword) {
  if (keyword == "CRC") return kErrFileCrc;
  if (keyword == "METHOD") return kErrUnknownType;
  if (keyword == "UNREADABLE") return kErrCannotRead;
  if (keyword == "CUT") return kErrHeaderBroken;
  return kErrHuffmanCode;
}

// A name on one line: control characters (never part of a CP932 character)
// would break the line apart.
std::string OneLine(std::string name) {
  for (char& c : name)
    if ((unsigned char)c < 0x20) c = '?';
  return name;
}

std::string Number(uint64_t value) {
  char text[32];
  snprintf(text, sizeof text, "%" PRIu64, value);
  return text;
}

// Where the walk over the headers stopped early, as a line; nothing for a
// whole walk or for a cut in the last entry's data (that entry's line says it).
std::string ArchiveFaultLine(const LoadedArchive& archive) {
  if (archive.Complete() || archive.last_data_cut) return std::string();
  const char* keyword = archive.end == lzh::Error::kTruncated ? "ARCHIVECUT " : "HEADER ";
  return keyword + Number(archive.end_offset) + "\r\n";
}

}  // namespace

void RunTest(Job& job) {
  LoadedArchive archive;
  if (!LoadArchive(job.command.archive_path, &archive, &job.report)) return;
  std::vector<bool> chosen;
  std::vector<std::string> unmatched;
  SelectEntries(job.command.names, archive.entries, true, &chosen, &unmatched);
  for (const std::string& name : unmatched) job.report.Fail(kErrNotExist, IDS_NOTHING_MATCHED, name);
  uint64_t total = 0, done = 0;
  for (size_t i = 0; i < archive.entries.size(); ++i)
    if (chosen[i]) total += archive.entries[i].original_size;
  const bool to_output = job.output.Wanted();
  std::string faults, sound;
  size_t tested = 0, faulty = 0;
  bool cancelled = false;
  job.progress.Begin(IDS_TESTING, total);
  for (size_t i = 0; i < archive.entries.size() && !cancelled; ++i) {
    const lzh::Header& header = archive.entries[i];
    if (!chosen[i] || header.IsDirectory()) continue;
    std::string name = DisplayName(header);
    job.progress.SetName(name);
    uint64_t base = done;
    lzh::Error error = archive.reader->Extract(header, nullptr, [&](uint64_t so_far, uint64_t) {
      return job.progress.Step(base + so_far);
    });
    done += header.original_size;
    if (error == lzh::Error::kCancelled) {
      job.report.Cancel();
      cancelled = true;
      break;
    }
    ++tested;
    std::string keyword = FaultKeyword(error, archive, header);
    std::string line = keyword + " " + OneLine(name) + "\r\n";
    if (error == lzh::Error::kOk) {
      sound += line;
      continue;
    }
    ++faulty;
    faults += line;
    if (to_output)
      job.report.Note(FaultCode(keyword));
    else
      ReportEntryError(error, archive, header, &job.report);
  }
  std::string archive_fault = cancelled ? std::string() : ArchiveFaultLine(archive);
  if (!cancelled && !archive.Complete()) {
    if (!to_output)
      ReportDamage(archive, job.command.archive, &job.report);
    else if (!archive_fault.empty())
      job.report.Note(kErrHeaderBroken);
  }
  job.output.Append((cancelled ? "CANCELLED " : "TESTED ") + Number(tested) + " " + Number(faulty) + "\r\n" +
                    faults + archive_fault + sound);
}

}  // namespace unlha
