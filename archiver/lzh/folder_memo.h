// Making the folders of extracted entries below a destination, remembering
// every folder made or found: an entry in a folder seen before costs one
// lookup, and a new folder costs one probe (and one make) per new level, so
// deep paths cost time linear in their depth. The disk is reached only
// through the two calls the caller supplies (POSIX or Win32, narrow or wide
// paths).
#pragma once
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace lzh {

// What a path names on disk.
enum class DiskObject { kNothing, kFolder, kLink, kOther };

enum class FolderResult {
  kOk,
  kLinkInTheWay,  // a component is a symbolic link: writing through it could leave the destination
  kFileInTheWay,  // a component is a file (or anything but a folder)
  kCannotMake,    // the system refused to make a folder
};

// Probe: DiskObject(const String& path); Make: bool(const String& path).
template <class String, class Probe, class Make>
class FolderMemo {
 public:
  // `root` (the destination, which exists) and `separator` start every path.
  FolderMemo(String root, typename String::value_type separator, Probe probe, Make make)
      : root_(std::move(root)), separator_(separator), probe_(std::move(probe)), make_(std::move(make)) {}

  // Makes the folders root/components[0]/.../components[count-1].
  FolderResult Ensure(const std::vector<String>& components, size_t count) {
    String path = root_;
    std::vector<size_t> ends;
    for (size_t i = 0; i < count; ++i) {
      path += separator_;
      path += components[i];
      ends.push_back(path.size());
    }
    // The deepest folder already known; everything above it is known too.
    size_t known = count;
    while (known > 0 && !known_.count(path.substr(0, ends[known - 1]))) --known;
    for (size_t i = known; i < count; ++i) {
      String folder = path.substr(0, ends[i]);
      DiskObject object = probe_(folder);
      if (object == DiskObject::kNothing && !make_(folder)) {
        object = probe_(folder);  // made meanwhile by someone else?
        if (object == DiskObject::kNothing) return FolderResult::kCannotMake;
      } else if (object == DiskObject::kNothing) {
        object = DiskObject::kFolder;
      }
      if (object == DiskObject::kLink) return FolderResult::kLinkInTheWay;
      if (object == DiskObject::kOther) return FolderResult::kFileInTheWay;
      known_.insert(folder);
    }
    return FolderResult::kOk;
  }

 private:
  String root_;
  typename String::value_type separator_;
  Probe probe_;
  Make make_;
  std::set<String> known_;
};

}  // namespace lzh
