// Fuzzes the rule engine in Detect mode on one in-memory file. Besides the built-in table, whose
// offsets reach megabytes into a file, a table with small offsets lets the fuzzer reach the
// matching path as well.
#include <cstddef>
#include <cstdint>
#include <span>

#include "app/run_state.h"
#include "engine/virus_rules.h"
#include "fuzz/memory_file_system.h"
#include "platform/platform.h"

namespace {

constexpr char kPath[] = "C:\\fuzz\\input.exe";

const morvane::SignatureTable& NearTable() {
  static const morvane::SignatureTable table{
      morvane::VirusSignature{
          0, 0, 16, "fuzz.near", {'U', 0x8B, 0xEC, 0x83}, {0, 0, 0, 0}, {1, 2, 3, 4}},
      morvane::VirusSignature{
          4092, -8, -4, "fuzz.edges", {0xC3, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}};
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  morvane::fuzzing::MemoryFileSystem files(kPath, std::span<const uint8_t>(data, size));
  morvane::Platform platform;
  platform.files = &files;
  morvane::ScopedPlatform installed(platform);
  morvane::ApplyVirusRules(kPath, morvane::Detect);
  morvane::ApplyVirusRules(kPath, morvane::Detect, NearTable());
  return 0;
}
