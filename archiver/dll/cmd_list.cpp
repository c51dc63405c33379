// "l ARCHIVE": a listing in the style of LHA's l command.
#include <cinttypes>
#include <cstdio>

#include "archiver/dll/archive_access.h"
#include "archiver/dll/commands.h"
#include "archiver/dll/entry_record.h"

namespace unlha {

namespace {

const char kRule[] =
    "----------------------------------------------- -------- -------- ------ -------- -------- ----- ----\r\n";

std::string RatioText(uint64_t packed, uint64_t original) {
  char text[16];
  if (!original) return "  0.0%";
  unsigned per_mille = (unsigned)((packed * 1000 + original / 2) / original);
  if (per_mille > 9999) per_mille = 9999;
  snprintf(text, sizeof text, "%3u.%u%%", per_mille / 10, per_mille % 10);
  return text;
}

std::string Line(const lzh::Header& header) {
  EntryRecord record;
  FillRecord(header, &record);
  char text[128];
  snprintf(text, sizeof text, " %8" PRIu64 " %8" PRIu64 " %6s %02u-%02u-%02u %02u:%02u:%02u %-5.5s %04X\r\n",
           header.original_size, header.compressed_size,
           RatioText(header.compressed_size, header.original_size).c_str(),
           (unsigned)(((record.wDate >> 9) + 80) % 100), (unsigned)((record.wDate >> 5) & 15),
           (unsigned)(record.wDate & 31), (unsigned)(record.wTime >> 11),
           (unsigned)((record.wTime >> 5) & 63), (unsigned)((record.wTime & 31) * 2), header.method,
           (unsigned)header.crc);
  std::string name = record.szFileName;
  // Names up to 47 bytes share the line; longer ones get a line of their own.
  if (name.size() <= 47) {
    name.append(47 - name.size(), ' ');
    return name + text;
  }
  return name + "\r\n" + std::string(47, ' ') + text;
}

}  // namespace

void RunList(Job& job) {
  LoadedArchive archive;
  if (!LoadArchive(job.command.archive_path, &archive, &job.report)) return;
  std::string text;
  text += "Listing of archive : " + job.command.archive + "\r\n";
  char heading[160];
  snprintf(heading, sizeof heading, "%-47s %8s %8s %6s %-8s %-8s %-5s %-4s\r\n", " Name", "Original", "Packed",
           "Ratio", "  Date", "  Time", "Type", "CRC");
  text += heading;
  text += kRule;
  uint64_t original = 0, packed = 0;
  size_t files = 0;
  for (const lzh::Header& header : archive.entries) {
    text += Line(header);
    if (!header.IsDirectory()) {
      ++files;
      original += header.original_size;
      packed += header.compressed_size;
    }
  }
  text += kRule;
  char total[160];
  char count[32];
  snprintf(count, sizeof count, " %u files", (unsigned)files);
  snprintf(total, sizeof total, "%-47s %8" PRIu64 " %8" PRIu64 " %6s\r\n", count, original, packed,
           RatioText(packed, original).c_str());
  text += total;
  job.output.Append(text);
  if (!archive.Complete()) ReportDamage(archive, job.command.archive, &job.report);
}

}  // namespace unlha
