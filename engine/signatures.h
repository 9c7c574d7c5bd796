// The built-in signature table: the records the rule engine compares, in slot order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace morvane {

constexpr size_t kSignatureNameSize = 20;
constexpr size_t kSignatureBytes = 4;

struct VirusSignature {
  int32_t epOffset;               // into the bytes read at the entry point's file position
  int32_t section1Offset;         // added to the first section's PointerToRawData
  int32_t section2Offset;         // added to the second section's PointerToRawData
  char name[kSignatureNameSize];  // zero-padded, not always terminated; empty ends the table
  uint8_t epBytes[kSignatureBytes];
  uint8_t section1Bytes[kSignatureBytes];
  uint8_t section2Bytes[kSignatureBytes];
};

constexpr size_t SIGNATURE_SLOTS = 80;
using SignatureTable = std::array<VirusSignature, SIGNATURE_SLOTS>;

// The four ransomware records followed by empty slots.
const SignatureTable& BuiltInSignatures();

// True when the slot holds a record (its name is not empty).
inline bool IsUsed(const VirusSignature& slot) {
  return slot.name[0] != '\0';
}

}  // namespace morvane
