// Minimal PE files built in code for the engine's tests, fuzz seeds and benchmark trees. A
// layout names every header field the rule engine reads, so a test states its one mutation and
// Render() writes the bytes. The three compared places of a record are patches, so a near miss
// is one changed byte in one patch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/signatures.h"

namespace morvane::testing {

struct FixtureSection {
  uint32_t virtualSize;
  uint32_t virtualAddress;
  uint32_t sizeOfRawData;
  uint32_t pointerToRawData;
};

struct Patch {
  uint64_t offset;
  std::string bytes;
};

// Indices of the compared places in a matching layout's patches.
constexpr size_t kEntryPatch = 0;
constexpr size_t kSection1Patch = 1;
constexpr size_t kSection2Patch = 2;

struct PeLayout {
  std::string magic = "MZ";
  uint32_t eLfanew = 0x40;
  bool writeNtHeaders = true;
  bool writePeSignature = true;
  uint16_t numberOfSections = 2;  // as the file header declares it
  uint32_t entryRva = 0x1000;
  std::vector<FixtureSection> sections;  // the headers written into the table
  std::vector<Patch> patches;
  uint64_t minimumSize = 0;
};

// Two sections (.text at file 0x400, .data at 0x1400 by default), the entry point at the start of
// .text, and the record's three byte groups where the engine compares them. `textRaw` moves both
// sections' raw data (.data follows .text by 0x1000 bytes).
PeLayout MatchingLayout(const VirusSignature& record, uint32_t textRaw = 0x400);
// The layout's bytes; headers that would lie beyond a 64 MiB sanity bound are left out.
std::string Render(const PeLayout& layout);

// The end of the furthest byte the engine compares in a matching layout.
uint64_t ComparedEnd(const PeLayout& layout);

struct NamedFixture {
  std::string name;
  std::string bytes;
};

// Small fixtures of every shape the engine must handle (matches, near misses, hostile headers),
// used as fuzz seeds and in the benchmark tree. Each stays below kSeedSizeLimit.
constexpr size_t kSeedSizeLimit = 32 * 1024;
std::vector<NamedFixture> SeedFixtures();

}  // namespace morvane::testing
