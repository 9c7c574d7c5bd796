// Writes the engine's small PE fixtures into a folder as the fuzzer's seed corpus.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/engine/pe_fixtures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  for (const auto& seed : morvane::testing::SeedFixtures()) {
    std::ofstream(folder / seed.name, std::ios::binary) << seed.bytes;
  }
  return 0;
}
