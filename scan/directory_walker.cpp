// Design: the walk is a plain depth-first recursion over the platform's directory search, with
// the stop flag tested on entry, at the head of every entry and after each file is counted, so
// that a Stop ends the walk at the next entry. Two guards keep hostile trees harmless: a path
// that does not fit the 512-byte path buffer is skipped rather than cut (a cut path names some
// other file), which also bounds the depth of the recursion; and a folder link that leads back
// into a folder still being walked is not entered again. Folder identities are only asked for
// when a link is met, so a tree without links costs nothing extra.
#include "scan/directory_walker.h"

#include "platform/main_view.h"
#include "platform/platform.h"
#include "scan/results_list.h"

namespace morvane {

namespace {

bool IsStopped() {
  return ScanRunState.StopRequested();
}

// Names such as "a.~ak" carry "~" as their third byte from the end.
bool HasTildeMark(const std::string& name) {
  return name.size() >= 3 && name[name.size() - 3] == '~';
}

bool Fits(const std::string& path) {
  return path.size() < kWalkPathBuffer;
}

}  // namespace

void DirectoryWalker::WalkDirectory(const std::string& path, ScanMode mode) {
  open_.clear();
  WalkFolder(path, mode);
}

void DirectoryWalker::WalkFolder(const std::string& path, ScanMode mode) {
  if (IsStopped()) return;
  std::string base = path;
  if (base.empty() || base.back() != '\\') base += '\\';
  // Not even a one-byte name would fit below this folder.
  if (!Fits(base + 'x')) return;

  DirEntry entry;
  std::unique_ptr<DirSearch> search = Files().FindFirst(base + "*.*", entry);
  if (!search) return;
  open_.push_back(Level{&base, false, std::nullopt});
  bool stop = false;
  do {
    if (IsStopped()) break;
    if (entry.attributes & kAttrDirectory) {
      if (entry.name.empty() || entry.name[0] == '.') continue;
      const std::string folder = base + entry.name;
      if ((entry.attributes & kAttrReparsePoint) && LeadsBackIntoWalk(folder)) continue;
      WalkFolder(folder, mode);
      continue;
    }
    VisitFile(base, entry.name, mode, stop);
    if (stop) break;
  } while (search->Next(entry));
  open_.pop_back();
}

void DirectoryWalker::VisitFile(const std::string& base, const std::string& name, ScanMode mode,
                                bool& stop) {
  if (HasTildeMark(name)) return;
  const std::string fullPath = base + name;
  if (!Fits(fullPath)) return;
  view_.SetControlText(kIdStatusLine, fullPath);
  view_.SetControlText(kIdFilesCounter, std::to_string(ScanRunState.filesScanned.fetch_add(1) + 1));
  if (IsStopped()) {
    stop = true;
    return;
  }
  const int detectResult = mode == Clean ? steps_.checkFile(fullPath, Detect) : 0;
  const int result = steps_.checkFile(fullPath, mode);
  if (result > 0) {
    ReportFinding(view_, fullPath, mode == Clean ? Cleaned : Detected);
  } else if (detectResult > 0) {
    ReportFinding(view_, fullPath, NotCleanedInUse);
  }
}

bool DirectoryWalker::LeadsBackIntoWalk(const std::string& folder) {
  const std::optional<DirectoryId> target = Files().FolderId(folder);
  if (!target) return false;
  for (Level& level : open_) {
    if (!level.idKnown) {
      level.id = Files().FolderId(*level.base);
      level.idKnown = true;
    }
    if (level.id == target) return true;
  }
  return false;
}

}  // namespace morvane
