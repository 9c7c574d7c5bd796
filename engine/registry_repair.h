// Removes what would start an infected file again: autostart values in the Run, RunOnce and
// RunServices keys, and services whose "ImagePath" names the file.
#pragma once

#include <string>

#include "platform/registry.h"

namespace morvane {

struct AutorunKey {
  RegRoot root;
  const char* subkey;
};

extern const AutorunKey AUTORUN_VALUE_KEYS[9];
extern const char kServicesKey[];

// Value names and data, and service key paths, are read into buffers of this size.
constexpr size_t kRepairBuffer = 512;

void RepairInfectionRegistry(const std::string& path);

// The command, upper-cased, begins with the path, upper-cased.
bool CommandStartsWithFile(const std::string& data, const std::string& path);
// The command names the file (base name and extension) as a whole path component: after the
// start, a quotation mark, "\", "/" or a blank, and before the end, a quotation mark, a blank or
// a comma. A bare substring test would let "1.exe" match every command holding a "1".
bool CommandNamesFile(const std::string& data, const std::string& path);
bool DeleteRegistryValue(RegRoot root, const std::string& subkey, const std::string& name);

}  // namespace morvane
