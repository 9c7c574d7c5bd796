// Writes the engine benchmark's tree: mostly small files that are not programs, a few thousand
// PE files of every shape the fixtures know, and a few that match a built-in record.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/signatures.h"
#include "tests/engine/pe_fixtures.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kFilesPerFolder = 100;
constexpr size_t kFoldersPerLevel = 32;

struct TreeShape {
  size_t files = 100000;
  size_t peFiles = 3000;
  size_t positives = 5;
};

fs::path FolderFor(const fs::path& root, size_t index) {
  const size_t folder = index / kFilesPerFolder;
  return root / ("d" + std::to_string(folder / kFoldersPerLevel)) /
         ("e" + std::to_string(folder % kFoldersPerLevel));
}

std::string TextBody(std::mt19937& random) {
  static const char kWords[] = "lorem ipsum dolor sit amet consectetur adipiscing elit sed do ";
  std::string body(100 + random() % 1900, ' ');
  for (size_t i = 0; i < body.size(); ++i)
    body[i] = kWords[(i + random() % 7) % (sizeof(kWords) - 1)];
  return body;
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_bench_tree FOLDER [FILES [PE_FILES [POSITIVES]]]\n");
    return 2;
  }
  TreeShape shape;
  if (argc > 2) shape.files = std::strtoul(argv[2], nullptr, 10);
  if (argc > 3) shape.peFiles = std::strtoul(argv[3], nullptr, 10);
  if (argc > 4) shape.positives = std::strtoul(argv[4], nullptr, 10);
  const fs::path root = argv[1];

  // The fixtures that match are left out of the PE mix so that the positives stay few.
  std::vector<morvane::testing::NamedFixture> seeds;
  for (auto& seed : morvane::testing::SeedFixtures()) {
    if (seed.name.rfind("match-", 0) != 0) seeds.push_back(std::move(seed));
  }
  const std::string positive =
      morvane::testing::Render(morvane::testing::MatchingLayout(morvane::BuiltInSignatures()[1]));
  std::mt19937 random(4);
  // PE files and positives are spread evenly through the tree.
  const size_t peEvery = shape.peFiles == 0 ? 0 : shape.files / shape.peFiles;
  const size_t positiveEvery = shape.positives == 0 ? 0 : shape.files / shape.positives;
  for (size_t i = 0; i < shape.files; ++i) {
    if (i % kFilesPerFolder == 0) fs::create_directories(FolderFor(root, i));
    const fs::path folder = FolderFor(root, i);
    const std::string stem = "f" + std::to_string(i);
    if (positiveEvery != 0 && i % positiveEvery == positiveEvery / 2) {
      Write(folder / (stem + ".exe"), positive);
    } else if (peEvery != 0 && i % peEvery == 0) {
      Write(folder / (stem + ".dll"), seeds[(i / peEvery) % seeds.size()].bytes);
    } else {
      Write(folder / (stem + ".txt"), TextBody(random));
    }
  }
  std::printf("%zu files under %s\n", shape.files, root.c_str());
  return 0;
}
