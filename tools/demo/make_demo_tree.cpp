// Writes the demo tree of tools/demo.sh: a small Windows-like folder tree with generated files
// that carry the ransomware's signature bytes (harmless: nothing in them runs), a ransom-note
// picture, look-alikes that must be left alone, and ordinary files.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "engine/signatures.h"
#include "tests/engine/pe_fixtures.h"

namespace {

namespace fs = std::filesystem;
using morvane::BuiltInSignatures;
using morvane::testing::MatchingLayout;
using morvane::testing::Render;

void Write(const fs::path& root, const std::string& relative, const std::string& bytes) {
  const fs::path file = root / relative;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

// A PE file one byte away from a record: real-looking, and not a virus.
std::string NearMiss() {
  morvane::testing::PeLayout layout = MatchingLayout(BuiltInSignatures()[1]);
  layout.patches[morvane::testing::kSection2Patch].bytes[0] ^= 0x20;
  return Render(layout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_demo_tree FOLDER\n";
    return 2;
  }
  const fs::path root = argv[1];
  const auto& records = BuiltInSignatures();
  Write(root, "Windows/tasksche.exe", Render(MatchingLayout(records[0])));
  Write(root, "Windows/System32/mssecsvc.exe", Render(MatchingLayout(records[1])));
  Write(root, "Users/Public/Downloads/invoice.exe", Render(MatchingLayout(records[3])));
  Write(root, "Users/Public/Desktop/@WanaDecryptor@.bmp", "BM ransom note picture");
  Write(root, "Users/Public/Desktop/notes about @WanaDecryptor@.bmp.txt", "kept: only a name");
  Write(root, "Users/Public/Documents/report.doc", "an ordinary document\n");
  Write(root, "Users/Public/Documents/photo.jpg", std::string(4096, '\xFF'));
  Write(root, "Program Files/Tool/tool.exe", NearMiss());
  Write(root, "Program Files/Tool/readme.txt", "MZ is not enough to be a program\n");
  Write(root, "Program Files/Tool/old.~ak", "a leftover the walk skips");
  std::cout << "demo tree written to " << root.string() << "\n";
  return 0;
}
