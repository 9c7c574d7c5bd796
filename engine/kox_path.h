// The name of the cleaned working copy of a file that is in use.
#pragma once

#include <string>

namespace morvane {

// The path with its last three characters overwritten by "KOX" ("a.exe" gives "a.KOX"); the
// length is unchanged. Empty for a path shorter than three characters, which has no such copy
// (an empty name makes the copy fail instead of naming some other file).
std::string PATH_WITH_KOX_ENDING(const std::string& path);

}  // namespace morvane
