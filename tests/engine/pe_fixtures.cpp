#include "tests/engine/pe_fixtures.h"

#include <algorithm>

namespace morvane::testing {

namespace {

constexpr uint64_t kRenderLimit = 64ull << 20;
constexpr uint32_t kSectionSpan = 0x1000;

void PutLe(std::string& bytes, uint64_t offset, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

std::string Bytes(const uint8_t* data) {
  return std::string(reinterpret_cast<const char*>(data), 4);
}

uint64_t NtEnd(const PeLayout& layout) {
  return uint64_t{layout.eLfanew} + 248 + 40 * layout.sections.size();
}

uint64_t RenderedSize(const PeLayout& layout) {
  uint64_t size = std::max<uint64_t>(layout.minimumSize, 64);
  if (layout.writeNtHeaders && NtEnd(layout) <= kRenderLimit) size = std::max(size, NtEnd(layout));
  for (const Patch& patch : layout.patches)
    size = std::max(size, patch.offset + patch.bytes.size());
  return size;
}

void WriteNtHeaders(const PeLayout& layout, std::string& bytes) {
  const uint64_t nt = layout.eLfanew;
  if (layout.writePeSignature) bytes.replace(nt, 4, std::string("PE\0\0", 4));
  PutLe(bytes, nt + 4, 0x14C, 2);  // i386
  PutLe(bytes, nt + 6, layout.numberOfSections, 2);
  PutLe(bytes, nt + 20, 224, 2);    // SizeOfOptionalHeader
  PutLe(bytes, nt + 24, 0x10B, 2);  // PE32 magic
  PutLe(bytes, nt + 40, layout.entryRva, 4);
  for (size_t i = 0; i < layout.sections.size(); ++i) {
    const uint64_t at = nt + 248 + 40 * i;
    const FixtureSection& s = layout.sections[i];
    bytes.replace(at, 5, i == 0 ? ".text" : ".data");
    PutLe(bytes, at + 8, s.virtualSize, 4);
    PutLe(bytes, at + 12, s.virtualAddress, 4);
    PutLe(bytes, at + 16, s.sizeOfRawData, 4);
    PutLe(bytes, at + 20, s.pointerToRawData, 4);
  }
}

PeLayout WithByteFlipped(PeLayout layout, size_t patch) {
  layout.patches[patch].bytes[1] ^= 0x01;
  return layout;
}

}  // namespace

PeLayout MatchingLayout(const VirusSignature& record, uint32_t textRaw) {
  const uint32_t dataRaw = textRaw + kSectionSpan;
  PeLayout layout;
  layout.sections = {{kSectionSpan, 0x1000, kSectionSpan, textRaw},
                     {kSectionSpan, 0x2000, kSectionSpan, dataRaw}};
  layout.patches = {{uint64_t{textRaw} + record.epOffset, Bytes(record.epBytes)},
                    {uint64_t{textRaw} + record.section1Offset, Bytes(record.section1Bytes)},
                    {uint64_t{dataRaw} + record.section2Offset, Bytes(record.section2Bytes)}};
  layout.minimumSize = dataRaw + kSectionSpan;
  return layout;
}

std::string Render(const PeLayout& layout) {
  std::string bytes(RenderedSize(layout), '\0');
  bytes.replace(0, std::min<size_t>(2, layout.magic.size()), layout.magic);
  PutLe(bytes, 0x3C, layout.eLfanew, 4);
  if (layout.writeNtHeaders && NtEnd(layout) <= kRenderLimit) WriteNtHeaders(layout, bytes);
  for (const Patch& patch : layout.patches)
    bytes.replace(patch.offset, patch.bytes.size(), patch.bytes);
  return bytes;
}

uint64_t ComparedEnd(const PeLayout& layout) {
  uint64_t end = 0;
  for (const Patch& patch : layout.patches) end = std::max(end, patch.offset + patch.bytes.size());
  return end;
}

std::vector<NamedFixture> SeedFixtures() {
  const PeLayout match = MatchingLayout(BuiltInSignatures()[1]);
  PeLayout zm = match;
  zm.magic = "ZM";
  PeLayout record4 = MatchingLayout(BuiltInSignatures()[3]);
  PeLayout oneSection = match;
  oneSection.numberOfSections = 1;
  PeLayout manySections = match;
  manySections.numberOfSections = 0xFFFF;
  PeLayout farHeader = match;
  farHeader.eLfanew = 0x80000000u;
  PeLayout wrapped = match;
  wrapped.sections[1].pointerToRawData = 0xFFFFFFFFu;
  PeLayout outside = match;
  outside.entryRva = 0x90000000u;
  std::vector<NamedFixture> seeds = {
      {"match-record2", Render(match)},
      {"match-record4", Render(record4)},
      {"match-zm", Render(zm)},
      {"miss-entry", Render(WithByteFlipped(match, kEntryPatch))},
      {"miss-section1", Render(WithByteFlipped(match, kSection1Patch))},
      {"miss-section2", Render(WithByteFlipped(match, kSection2Patch))},
      {"one-section", Render(oneSection)},
      {"many-sections", Render(manySections)},
      {"far-header", Render(farHeader)},
      {"wrapped-raw-pointer", Render(wrapped)},
      {"entry-outside", Render(outside)},
      {"text", "just some text, not an executable\n"},
  };
  return seeds;
}

}  // namespace morvane::testing
