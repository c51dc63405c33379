// lzhtool: list, test and extract LZH archives natively (tests, benchmarks).
//   lzhtool l ARCHIVE        list entries
//   lzhtool t ARCHIVE        test every entry's data
//   lzhtool x ARCHIVE DIR    extract below DIR (made if missing), restoring modification times
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "archiver/lzh/folder_memo.h"
#include "archiver/lzh/reader.h"
#include "archiver/lzh/safe_path.h"

namespace {

int Usage() {
  fprintf(stderr, "usage: lzhtool l|t ARCHIVE\n       lzhtool x ARCHIVE DIR\n");
  return 2;
}

// Modification time as seconds since 1970: the archive's Unix time, or its
// MS-DOS time read as local time.
time_t ModificationTime(const lzh::Header& h) {
  if (h.has_unix_time) return static_cast<time_t>(h.unix_time);
  struct tm t = {};
  t.tm_year = static_cast<int>((h.dos_time >> 25) & 0x7F) + 80;
  t.tm_mon = static_cast<int>((h.dos_time >> 21) & 0x0F) - 1;
  t.tm_mday = static_cast<int>((h.dos_time >> 16) & 0x1F);
  t.tm_hour = static_cast<int>((h.dos_time >> 11) & 0x1F);
  t.tm_min = static_cast<int>((h.dos_time >> 5) & 0x3F);
  t.tm_sec = static_cast<int>((h.dos_time & 0x1F) * 2);
  t.tm_isdst = -1;
  return mktime(&t);
}

void PrintEntry(const lzh::Header& h) {
  time_t t = ModificationTime(h);
  struct tm local;
  localtime_r(&t, &local);
  char when[32];
  strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
  printf("%s %10llu %10llu %04X %s %s\n", h.method, static_cast<unsigned long long>(h.compressed_size),
         static_cast<unsigned long long>(h.original_size), h.has_crc ? h.crc : 0, when, h.path.c_str());
}

lzh::DiskObject Probe(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return lzh::DiskObject::kNothing;
  if (S_ISLNK(info.st_mode)) return lzh::DiskObject::kLink;
  return S_ISDIR(info.st_mode) ? lzh::DiskObject::kFolder : lzh::DiskObject::kOther;
}

bool MakeFolder(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

// Prints why the folders of `h` could not be made; false then.
bool FoldersMade(lzh::FolderResult result, const lzh::Header& h) {
  switch (result) {
    case lzh::FolderResult::kOk: return true;
    // Writing through a link could land outside the destination.
    case lzh::FolderResult::kLinkInTheWay: fprintf(stderr, "%s: refused, a link is in the way\n", h.path.c_str()); break;
    case lzh::FolderResult::kFileInTheWay: fprintf(stderr, "%s: a file is in the way of its folder\n", h.path.c_str()); break;
    case lzh::FolderResult::kCannotMake: fprintf(stderr, "%s: cannot create its folder\n", h.path.c_str()); break;
  }
  return false;
}

// Makes the destination and any missing parent; true when it is a folder.
bool MakeDestination(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0777);
  mkdir(path.c_str(), 0777);
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void SetTime(const std::string& path, time_t t) {
  struct timeval times[2] = {{t, 0}, {t, 0}};
  utimes(path.c_str(), times);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  std::string command = argv[1];
  if (command != "l" && command != "t" && command != "x") return Usage();
  if (command == "x" && argc < 4) return Usage();
  if (command == "x" && !MakeDestination(argv[3])) {
    fprintf(stderr, "lzhtool: cannot create %s\n", argv[3]);
    return 1;
  }
  std::unique_ptr<lzh::StdioSource> source(lzh::StdioSource::Open(argv[2]));
  if (!source) {
    fprintf(stderr, "lzhtool: cannot open %s\n", argv[2]);
    return 1;
  }
  lzh::ArchiveReader reader(source.get());
  int failures = 0;
  lzh::Header h;
  lzh::Error e;
  struct Dir {
    std::string path;
    time_t time;
  };
  std::vector<Dir> dirs;  // times set last, after their contents
  lzh::FolderMemo<std::string, lzh::DiskObject (*)(const std::string&), bool (*)(const std::string&)> folders(
      command == "x" ? argv[3] : "", '/', Probe, MakeFolder);
  mode_t file_mask = umask(0);
  umask(file_mask);
  while ((e = reader.Next(&h)) == lzh::Error::kOk) {
    if (command == "l") {
      PrintEntry(h);
      continue;
    }
    if (command == "t") {
      lzh::Error r = reader.Extract(h, nullptr);
      if (r != lzh::Error::kOk) {
        fprintf(stderr, "%s: %s\n", h.path.c_str(), lzh::ErrorText(r));
        ++failures;
      }
      continue;
    }
    if (h.IsLink()) {
      fprintf(stderr, "%s -> %s: link not extracted\n", h.path.c_str(), h.link_target.c_str());
      ++failures;
      continue;
    }
    std::vector<std::string> parts;
    lzh::PathVerdict verdict = lzh::SafeRelativePath(h.path, &parts);
    if (verdict == lzh::PathVerdict::kEmpty && h.IsDirectory()) continue;  // "./": the destination itself
    if (verdict != lzh::PathVerdict::kOk) {
      fprintf(stderr, "%s: refused unsafe name\n", h.path.c_str());
      ++failures;
      continue;
    }
    std::string path = std::string(argv[3]) + "/" + lzh::JoinPath(parts, '/');
    // The entry's own name may be a link: it is replaced, not written through.
    if (!FoldersMade(folders.Ensure(parts, parts.size() - (h.IsDirectory() ? 0 : 1)), h)) {
      ++failures;
      continue;
    }
    if (h.IsDirectory()) {
      dirs.push_back({path, ModificationTime(h)});
      continue;
    }
    // Written to a new file beside the target and renamed over it when
    // complete: a damaged entry never replaces a good file.
    std::string work = path + ".XXXXXX";
    int fd = mkstemp(&work[0]);
    std::unique_ptr<lzh::StdioSink> sink(fd < 0 ? nullptr : lzh::StdioSink::Create(work.c_str()));
    if (fd >= 0) close(fd);
    if (!sink) {
      if (fd >= 0) unlink(work.c_str());
      fprintf(stderr, "%s: cannot create\n", path.c_str());
      ++failures;
      continue;
    }
    lzh::Error r = reader.Extract(h, sink.get());
    if (!sink->Close() && r == lzh::Error::kOk) r = lzh::Error::kWriteError;
    if (r == lzh::Error::kOk && rename(work.c_str(), path.c_str()) != 0) r = lzh::Error::kWriteError;
    if (r != lzh::Error::kOk) {
      unlink(work.c_str());
      fprintf(stderr, "%s: %s\n", h.path.c_str(), lzh::ErrorText(r));
      ++failures;
      continue;
    }
    // The work file was made private; the result gets the usual mode.
    chmod(path.c_str(), h.has_unix_mode && (h.unix_mode & 0777) ? (h.unix_mode & 0777) : (0666 & ~file_mask));
    SetTime(path, ModificationTime(h));
  }
  for (auto it = dirs.rbegin(); it != dirs.rend(); ++it) SetTime(it->path, it->time);
  if (e != lzh::Error::kEndOfArchive) {
    fprintf(stderr, "lzhtool: %s\n", lzh::ErrorText(e));
    return 1;
  }
  return failures ? 1 : 0;
}
