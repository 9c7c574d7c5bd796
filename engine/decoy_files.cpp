#include "engine/decoy_files.h"

#include "engine/cleaning_actions.h"
#include "platform/platform.h"

namespace morvane {

const char* const kDecoyArchives[20] = {
    "\\bak.zip",   "\\bak.rar",  "\\install.zip", "\\install.rar", "\\work.zip",
    "\\work.rar",  "\\pass.zip", "\\pass.rar",    "\\letter.zip",  "\\letter.rar",
    "\\Tools.RAR", "\\love.RAR", "\\email.RAR",   "\\Recent.RAR",  "\\Documents.RAR",
    "\\book.RAR",  "\\user.RAR", "\\Bakeup.RAR",  "\\setup.RAR",   "\\setup.zip",
};

void DeleteDecoyArchives(const std::string& path) {
  const std::string drive = DrivePart(path);
  for (const char* decoy : kDecoyArchives) {
    const std::string name = drive + decoy;
    Files().SetAttributes(name, kAttrNormal);
    Files().Delete(name);
  }
}

}  // namespace morvane
