#include "app/console_options.h"

namespace morvane {

const char kConsoleUsage[] =
    "Usage: morvane-scan [--clean] PATH\n"
    "\n"
    "Walks the folder tree PATH (for example a mounted Windows volume) and checks every file\n"
    "for the worm-borne ransomware \"ransom.wanacry.a\" and the older worms the tool knows.\n"
    "Ransom-note pictures are deleted wherever they are met. Each finding is printed as one\n"
    "line: path, virus name and handling result, separated by tabs; the counters of files,\n"
    "viruses and cleaned viruses follow at the end.\n"
    "\n"
    "  --clean   remove what is found (without it, nothing but ransom notes is changed)\n"
    "  --help    show this text\n"
    "\n"
    "Exit status: 0 nothing found, 1 a virus was found, 2 error.\n";

ConsoleOptions ParseConsoleOptions(const std::vector<std::string>& args) {
  ConsoleOptions options;
  bool pathSeen = false;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      options.help = true;
    } else if (!optionsEnded && arg == "--clean") {
      options.mode = Clean;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      options.error = "unknown option " + arg;
      return options;
    } else if (pathSeen) {
      options.error = "only one PATH may be given";
      return options;
    } else {
      options.path = arg;
      pathSeen = true;
    }
  }
  if (!options.help && !pathSeen) options.error = "no PATH given";
  return options;
}

}  // namespace morvane
