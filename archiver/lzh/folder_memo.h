// Making the folders of extracted entries below a destination, remembering
// every folder made or found: an entry in a folder seen before costs one
// lookup, and a new folder costs one probe (and one make) per new level, so
// deep paths cost time linear in their depth. The disk is reached only
// through the two calls the caller supplies (POSIX or Win32, narrow or wide
// paths).
#pragma once
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

// The folders known so far: a hash set of paths with open addressing, a few
// probes per lookup and far less code than a balanced tree (whose node and
// rebalancing code would weigh in every self-extracting program).
template <class String>
class PathSet {
 public:
  bool Contains(const String& path) const {
    if (slots_.empty()) return false;
    size_t mask = slots_.size() - 1;
    for (size_t i = Hash(path) & mask; !slots_[i].empty(); i = (i + 1) & mask)
      if (slots_[i] == path) return true;
    return false;
  }
  // `path` is never empty.
  void Insert(String path) {
    if (2 * (count_ + 1) > slots_.size()) Grow();
    if (Place(std::move(path))) ++count_;
  }

 private:
  static size_t Hash(const String& path) {
    size_t hash = 2166136261u;  // FNV-1a
    for (auto c : path) hash = (hash ^ static_cast<size_t>(c)) * 16777619u;
    return hash;
  }
  // False when the path was there already.
  bool Place(String path) {
    size_t mask = slots_.size() - 1, i = Hash(path) & mask;
    for (; !slots_[i].empty(); i = (i + 1) & mask)
      if (slots_[i] == path) return false;
    slots_[i] = std::move(path);
    return true;
  }
  void Grow() {
    std::vector<String> old(slots_.empty() ? 16 : 2 * slots_.size());
    old.swap(slots_);
    for (String& path : old)
      if (!path.empty()) Place(std::move(path));
  }

  std::vector<String> slots_;  // a power of two of them; empty ones are free
  size_t count_ = 0;
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
    while (known > 0 && !known_.Contains(path.substr(0, ends[known - 1]))) --known;
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
      known_.Insert(std::move(folder));
    }
    return FolderResult::kOk;
  }

 private:
  String root_;
  typename String::value_type separator_;
  Probe probe_;
  Make make_;
  PathSet<String> known_;
};

}  // namespace lzh
