// Plans for changing an archive: which old entries stay, which are replaced,
// removed or renamed, and which new files and directories join. A plan is a
// list of items in the order of the new archive; RunEditPlan writes it.
// Names compare without regard to ASCII case (as Windows archivers do); the
// second byte of a CP932 double-byte character is never folded.
#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archiver/lzh/archive_sink.h"
#include "archiver/lzh/archive_writer.h"
#include "archiver/lzh/header.h"
#include "archiver/lzh/held_output.h"
#include "archiver/lzh/stored_name.h"

namespace lzh {

// A file or directory from disk offered to the archive. `info.path` is the
// stored name ('/' between components, directories may end in '/'), with
// times, attributes and OS id filled in.
struct NewItem {
  Header info;
  bool is_directory = false;
};

struct EditItem {
  enum Kind {
    kCopy,          // old entry `old_index`, bytes unchanged
    kCopyRenamed,   // old entry `old_index` under `header` (data unchanged)
    kAddFile,       // new item `new_index` (compressed from its source)
    kAddDirectory,  // new item `new_index`
  };
  Kind kind = kCopy;
  size_t old_index = 0;
  size_t new_index = 0;
  Header header;  // kCopyRenamed only
};

using EditPlan = std::vector<EditItem>;


// True when `disk` (a new item's header) is newer than the stored `entry`;
// compares MS-DOS times when either side lacks a Unix time.
bool IsNewerThan(const Header& disk, const Header& entry);

// Update: every new item whose name is not in the archive is appended;
// an item whose name is there replaces that entry in place when it is newer
// (or always, when `only_newer` is false); all other entries are copied.
// `added[i]` tells whether new item i went in (for moving files afterwards).
EditPlan PlanUpdate(const std::vector<Header>& old_entries, const std::vector<NewItem>& items,
                    bool only_newer, std::vector<bool>* added = nullptr);

// Delete: drops the entries whose full path is in `paths`; `matched[i]`
// tells whether paths[i] named any entry.
EditPlan PlanDelete(const std::vector<Header>& old_entries, const std::vector<std::string>& paths,
                    std::vector<bool>* matched = nullptr);

// Delete: drops exactly the entries marked in `chosen` (one flag per old
// entry), whatever other entries share their names.
EditPlan PlanDelete(const std::vector<bool>& chosen);

// Rename: entry `index` gets `new_path`, every other entry stays as it is.
// Returns false (and an empty plan) when the index is out of range or the new
// name is already taken by another entry.
bool PlanRename(const std::vector<Header>& old_entries, size_t index, const std::string& new_path,
                EditPlan* plan);

// Opens the content of new item `index`; nullptr when it cannot be read.
using OpenItemFn = std::function<std::unique_ptr<ByteSource>(size_t index)>;

struct EditOptions {
  WriterOptions writer;
  // Files compressed at once (0: one per core). The archive is the same
  // whatever the number.
  unsigned threads = 1;
  // Compressed bytes a file waiting for its turn keeps in memory; the rest
  // goes to a scratch file from `scratch` (null: tmpfile()).
  size_t held_in_memory = size_t{4} << 20;
  ScratchFactory scratch;
  // Told, in archive order, when new item `index` is about to be written.
  std::function<void(size_t index)> item_started;
};

// Writes the archive the plan describes into `sink`, ending with the end
// marker. `old_archive` may be null when the plan copies nothing. When the
// failure lies with a new item (its file cannot be opened or read, or its
// name or size does not fit the header), `*failed_item` (when given) names
// it; it is SIZE_MAX for any other failure. `open_item` is called ahead of
// the item's turn, on a worker thread when there are several.
WriteStatus RunEditPlan(const EditPlan& plan, ByteSource* old_archive, const std::vector<Header>& old_entries,
                        const std::vector<NewItem>& items, const OpenItemFn& open_item, ArchiveSink& sink,
                        const EditOptions& options, size_t* failed_item = nullptr);

// The same on one thread with default options.
WriteStatus RunEditPlan(const EditPlan& plan, ByteSource* old_archive,
                        const std::vector<Header>& old_entries, const std::vector<NewItem>& items,
                        const OpenItemFn& open_item, ArchiveSink& sink, const WriterOptions& options);

}  // namespace lzh
