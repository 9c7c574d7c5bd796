// The archives that the archive-spreading worms leave in a drive's root.
#pragma once

#include <string>

namespace morvane {

extern const char* const kDecoyArchives[20];

// Deletes each decoy archive from the root of the drive that holds `path`.
void DeleteDecoyArchives(const std::string& path);

}  // namespace morvane
