// Four kinds of action, chosen by the matched name: the ransomware file is replaced by a folder
// of its name (so it cannot be written there again); a file infector's buried host is moved back
// to the front of its file; a companion worm's renamed host gets its name back; anything else is
// all virus and is deleted, with the worm's companion files. Every step is tried once and its
// failure ignored: the file check entry's repeated passes notice a file that survived.
#include "engine/cleaning_actions.h"

#include <algorithm>
#include <cstring>

#include "app/run_state.h"
#include "engine/decoy_files.h"
#include "platform/platform.h"

namespace morvane {

namespace {

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

uint32_t ReadLe32(File& file, uint64_t offset) {
  uint8_t bytes[4] = {};
  if (file.ReadAt(offset, bytes, sizeof bytes) != sizeof bytes) return 0;
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void DeleteNormal(const std::string& path) {
  Files().SetAttributes(path, kAttrNormal);
  Files().Delete(path);
}

int ReplaceByFolder(File& file, const std::string& path) {
  Files().SetAttributes(path, kAttrNormal);
  file.Close();
  const std::string renamed = path + ".~ak";
  Files().Rename(path, renamed);
  Files().CreateDirectory(path);
  Files().Delete(renamed);
  return 1;
}

struct InfectorRow {
  const char* name;
  uint64_t hostStart;
  uint64_t lengthAt;    // where the host's length is recorded, or 0 for none
  uint64_t virusBytes;  // bytes removed in all, where no length is recorded
};

constexpr InfectorRow kInfectorRows[] = {
    {"WIN32.Supnot.ay", 49160, 49152, 0}, {"WIN32.Supnot.ax", 57352, 57344, 0},
    {"WIN32.Supnot.bh", 73736, 73728, 0}, {"WIN32.Supnot.ah", 57352, 57344, 0},
    {"WIN32.LOVEGATE", 49160, 0, 176648}, {"WIN32.LOVEGATE.I", 49160, 0, 220536},
};

// The host's final length, or 0 when the row cannot restore it: a recorded length of 0 or one
// past the end would cut the host or pad it with zeros, and a file no longer than the virus
// bytes has no host at all. Such files are deleted as whole viruses.
uint64_t HostLength(const InfectorRow& row, File& file, uint64_t size) {
  if (size <= row.hostStart) return 0;
  if (row.lengthAt == 0) return size > row.virusBytes ? size - row.virusBytes : 0;
  const uint64_t recorded = ReadLe32(file, row.lengthAt);
  return recorded <= size - row.hostStart ? recorded : 0;
}

// 1 when a row applied; 0 to go on with the following steps.
int RestoreBuriedHost(const std::string& name, File& file, uint64_t size, uint8_t* buffer) {
  for (const InfectorRow& row : kInfectorRows) {
    if (name != row.name) continue;
    const uint64_t hostLength = HostLength(row, file, size);
    if (hostLength == 0) return 0;
    if (ShiftHostToFront(file, buffer, size, row.hostStart)) file.Resize(hostLength);
    file.Close();
    return 1;
  }
  return 0;
}

constexpr uint64_t kNimdaSearchStart = 45056;
constexpr uint64_t kNimdaSearchLength = 20480;
constexpr uint64_t kNimdaMinimumSize = 57344;

// -1 when the name is no NIMDA row; otherwise the action's result.
int RestoreEmbeddedProgram(const std::string& name, File& file, const std::string& path,
                           uint64_t size, uint8_t* buffer) {
  if (name != "I-WORM.NIMDA" && name != "I-WORM.NIMDA.E") return -1;
  if (size <= kNimdaMinimumSize) {
    file.Close();
    Files().Delete(path);
    return 1;
  }
  const uint64_t wanted = std::min(size - kNimdaSearchStart, kNimdaSearchLength);
  const size_t got = file.ReadAt(kNimdaSearchStart, buffer, static_cast<size_t>(wanted));
  for (size_t i = 0; i + 1 < got; ++i) {
    const bool mz = buffer[i] == 'M' && buffer[i + 1] == 'Z';
    const bool zm = buffer[i] == 'Z' && buffer[i + 1] == 'M';
    if (!mz && !zm) continue;
    ShiftHostToFront(file, buffer, size, kNimdaSearchStart + i);
    file.Close();
    return 1;
  }
  return 0;
}

std::string WithEnding(const std::string& path, const char* ending) {
  std::string renamed = path;
  renamed.replace(renamed.size() - 3, 3, ending);
  return renamed;
}

int RestoreRenamedHost(File& file, const std::string& path) {
  file.Close();
  DeleteNormal(path);
  DeleteNormal(DrivePart(path) + "\\autorun.inf");
  if (path.size() < 3) return 1;
  for (const char* ending : {"zmx", "~ex"}) {
    const std::string host = WithEnding(path, ending);
    Files().SetAttributes(host, kAttrNormal);
    Files().Rename(host, path);
  }
  return 1;
}

void DeleteInSystemFolder(const std::string& folder, const char* name) {
  // Without the folder the name would point into the current drive's root instead.
  if (!folder.empty()) Files().Delete(folder + name);
}

int DeleteWholeVirus(const std::string& name, File& file, const std::string& path) {
  if (name == "I-WORM.DVLDR") ScanRunState.startupCheckNeeded.store(1);
  if (name == "I-WORM.SUPNOT.F" || name == "I-WORM.SUPNOT.G" || name == "I-WORM.SUPNOT.I") {
    DeleteInSystemFolder(Files().SystemDirectory(), "\\KERNEL66.dLL");
  }
  if (name == "I-WORM.SUPNOT.G") DeleteInSystemFolder(Files().WindowsDirectory(), "\\drwtsn16.exe");
  file.Close();
  Files().Remove(path);
  Files().Delete(path);
  return 1;
}

}  // namespace

std::string DrivePart(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

bool ShiftHostToFront(File& file, uint8_t* buffer, uint64_t size, uint64_t from) {
  if (size <= from) return false;
  const uint64_t length = size - from;
  const uint64_t blocks = length / kShiftBlockSize + 1;
  bool ok = true;
  for (uint64_t k = 0; k < blocks; ++k) {
    const size_t got = file.ReadAt(from + k * kShiftBlockSize, buffer, kShiftBlockSize);
    if (got > 0) ok = file.WriteAt(k * kShiftBlockSize, buffer, got) && ok;
  }
  return file.Resize(length) && ok;
}

int CleanInfectedFile(File& file, const std::string& path, uint64_t size, uint8_t* buffer) {
  const std::string name = LastVirusName;
  if (Contains(name, "ransom.wanacry")) return ReplaceByFolder(file, path);
  if (Contains(name, "Supnot") || Contains(name, "LOVEGATE")) DeleteDecoyArchives(path);
  if (RestoreBuriedHost(name, file, size, buffer) == 1) return 1;
  if (const int embedded = RestoreEmbeddedProgram(name, file, path, size, buffer); embedded >= 0) {
    return embedded;
  }
  if (Contains(name, "I-Worm.Supnot")) return RestoreRenamedHost(file, path);
  return DeleteWholeVirus(name, file, path);
}

}  // namespace morvane
