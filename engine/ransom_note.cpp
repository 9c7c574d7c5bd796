#include "engine/ransom_note.h"

namespace morvane {

namespace {

constexpr std::string_view kRansomNoteName = "@wanadecryptor@.bmp";

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool IsRansomNotePicture(std::string_view path) {
  const size_t separator = path.find_last_of("\\/");
  const std::string_view name =
      separator == std::string_view::npos ? path : path.substr(separator + 1);
  if (name.size() != kRansomNoteName.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (AsciiLower(name[i]) != kRansomNoteName[i]) return false;
  }
  return true;
}

}  // namespace morvane
