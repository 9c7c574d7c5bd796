// The ransomware's ransom-note picture, which the engine deletes wherever it meets it.
#pragma once

#include <string_view>

namespace morvane {

// True when the file's own name (after the last "\" or "/") is "@wanadecryptor@.bmp" in any
// ASCII letter case. A folder of that name or a longer name that contains it is not the picture.
bool IsRansomNotePicture(std::string_view path);

}  // namespace morvane
