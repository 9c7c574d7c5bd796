#include "engine/delete_on_reboot.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/run_state.h"
#include "engine/kox_path.h"
#include "platform/file_system.h"
#include "platform/platform.h"

namespace morvane {

namespace {

constexpr char kWininitName[] = "\\wininit.ini";
constexpr char kRenameHeader[] = "[rename]";
constexpr char kLineEnd[] = "\r\n";
// The Windows folder and file names are built in buffers of this size.
constexpr size_t kRebootPathBuffer = 520;
// Only the end of an existing wininit.ini is read to find its last section; the file is small
// in practice, and a section header further back than this is taken as not there.
constexpr size_t kWininitTailLimit = 1 << 20;

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

// The name of the last "[section]" in `text`, or empty when it has none.
std::string LastSection(const std::string& text) {
  std::string section;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t first = text.find_first_not_of(" \t", start);
    if (first < end && text[first] == '[') {
      const size_t close = text.find(']', first);
      if (close < end) section = text.substr(first, close - first + 1);
    }
    start = end + 1;
  }
  return section;
}

bool EndsWithLineEnd(const std::string& text) {
  return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

// The last kWininitTailLimit bytes of the file, or nothing when it cannot be read.
std::optional<std::string> ReadTail(const std::string& name) {
  std::unique_ptr<File> file = Files().Open(name, OpenMode::Read);
  if (!file) return std::nullopt;
  const std::optional<uint64_t> size = file->Size();
  if (!size) return std::nullopt;
  const uint64_t length = std::min<uint64_t>(*size, kWininitTailLimit);
  std::string tail(static_cast<size_t>(length), '\0');
  if (file->ReadAt(*size - length, tail.data(), tail.size()) != tail.size()) return std::nullopt;
  return tail;
}

bool AppendToExisting(const std::string& name, const std::string& line) {
  const std::optional<std::string> tail = ReadTail(name);
  if (!tail) return false;
  std::unique_ptr<File> file = Files().Open(name, OpenMode::WriteExisting);
  const std::optional<uint64_t> size = file ? file->Size() : std::nullopt;
  if (!size) return false;
  const std::string appendix = WininitAppendix(*tail, line);
  return file->WriteAt(*size, appendix.data(), appendix.size()) && file->Close();
}

bool CreateWithLine(const std::string& name, const std::string& line) {
  std::unique_ptr<File> file = Files().Open(name, OpenMode::CreateWrite);
  if (!file) return false;
  const std::string text = std::string(kRenameHeader) + kLineEnd + line;
  return file->WriteAt(0, text.data(), text.size()) && file->Close();
}

}  // namespace

std::string WininitAppendix(const std::string& existing, const std::string& line) {
  std::string appendix;
  if (!existing.empty() && !EndsWithLineEnd(existing)) appendix += kLineEnd;
  if (!EqualsNoCase(LastSection(existing), kRenameHeader)) {
    appendix += std::string(kRenameHeader) + kLineEnd;
  }
  return appendix + line;
}

bool ScheduleDeleteNt(const std::string& path, int deleteOnly) {
  if (deleteOnly == 1) return Files().MoveFileEx(path, "", kMoveDelayUntilReboot);
  const std::string copy = PATH_WITH_KOX_ENDING(path);
  if (copy.empty()) return false;
  // Without REPLACE_EXISTING the move fails at start-up: the infected file still stands there.
  return Files().MoveFileEx(copy, path, kMoveDelayUntilReboot | kMoveReplaceExisting);
}

bool ScheduleDeleteWininit(const std::string& path, int deleteOnly) {
  const std::string windows = Files().WindowsDirectory();
  const std::string name = windows + kWininitName;
  if (windows.empty() || name.size() >= kRebootPathBuffer) return false;
  std::string line;
  if (deleteOnly == 1) {
    line = "NUL=" + path + kLineEnd;
  } else {
    const std::string copy = PATH_WITH_KOX_ENDING(path);
    if (copy.empty()) return false;
    line = path + "=" + copy + kLineEnd;
  }
  if (Files().Exists(name)) return AppendToExisting(name, line);
  return CreateWithLine(name, line);
}

bool DeleteOnReboot(const std::string& path, int deleteOnly) {
  if (path.empty() || path.size() >= kRebootPathBuffer) return false;
  return isWin9x.load() == 1 ? ScheduleDeleteWininit(path, deleteOnly)
                             : ScheduleDeleteNt(path, deleteOnly);
}

}  // namespace morvane
