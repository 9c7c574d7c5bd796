// Address conversion over hand-made section tables, where each row shows one rule of the
// conversion: containment order, the exclusive end, the raw-size fallback and the last-section
// fallback, with sizes that pass 2^32.
#include "engine/pe_image.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvane {
namespace {

static_assert(Fits(0, 0, 0));
static_assert(Fits(10, 4, 14) && !Fits(11, 4, 14));
static_assert(!Fits(15, 0, 14));
static_assert(!Fits(UINT64_MAX, 4, UINT64_MAX) && !Fits(4, UINT64_MAX, UINT64_MAX - 1));

struct Section {
  uint32_t virtualSize, virtualAddress, sizeOfRawData, pointerToRawData;
};

std::vector<uint8_t> Table(const std::vector<Section>& sections) {
  std::vector<uint8_t> table(sections.size() * kSectionHeaderSize);
  for (size_t i = 0; i < sections.size(); ++i) {
    const uint32_t fields[] = {sections[i].virtualSize, sections[i].virtualAddress,
                               sections[i].sizeOfRawData, sections[i].pointerToRawData};
    for (size_t f = 0; f < 4; ++f) {
      for (size_t b = 0; b < 4; ++b) table[i * 40 + 8 + f * 4 + b] = fields[f] >> (8 * b) & 0xFF;
    }
  }
  return table;
}

struct RvaCase {
  const char* name;
  std::vector<Section> sections;
  uint32_t rva;
  int64_t expected;
};

void PrintTo(const RvaCase& c, std::ostream* os) {
  *os << c.name;
}

class RvaTest : public ::testing::TestWithParam<RvaCase> {};

TEST_P(RvaTest, ConvertsToTheFilePosition) {
  const std::vector<uint8_t> table = Table(GetParam().sections);
  EXPECT_EQ(RvaToFileOffset(GetParam().rva, table), GetParam().expected);
}

const Section kText{0x1000, 0x1000, 0x800, 0x400};
const Section kData{0x1000, 0x2000, 0x1000, 0x1400};

INSTANTIATE_TEST_SUITE_P(
    Tables, RvaTest,
    ::testing::Values(
        RvaCase{"NoSections", {}, 0x1234, 0}, RvaCase{"InFirst", {kText, kData}, 0x1010, 0x410},
        RvaCase{"InSecond", {kText, kData}, 0x2010, 0x1410},
        RvaCase{"EndIsExclusive", {kText, {0x1000, 0x2000, 0x1000, 0x5000}}, 0x2000, 0x5000},
        RvaCase{"FirstContainingWins", {kText, {0x4000, 0x1000, 0, 0x9000}}, 0x1010, 0x410},
        RvaCase{"ZeroVirtualSizeUsesRawSize", {{0, 0x1000, 0x800, 0x600}, kData}, 0x17FF, 0xDFF},
        RvaCase{"PastRawSizeFallsThrough", {{0, 0x1000, 0x800, 0x600}, kData}, 0x1800, 0xC00},
        RvaCase{"OutsideUsesLastSection", {kText, kData}, 0x8000, 0x7400},
        RvaCase{"BelowEverySectionGoesNegative", {kText, kData}, 0x10, 0x10 - 0x2000 + 0x1400},
        RvaCase{"EndPastFourGiB",
                {{0x2000, 0xFFFFF000, 0, 0x400}, {0x1000, 0x1000, 0, 0x800}},
                0xFFFFFFFF,
                0x400 + 0xFFF},
        RvaCase{
            "SumsPastFourGiB", {{0x1000, 0x1000, 0, 0xFFFFFF00}}, 0x1800, 0xFFFFFF00ll + 0x800}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvane
