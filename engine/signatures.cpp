#include "engine/signatures.h"

namespace morvane {

namespace {

constexpr VirusSignature kWanacry1{38,
                                   158930,
                                   131332,
                                   "ransom.wanacry.a",
                                   {0x33, 0xDB, 0x89, 0x5D},
                                   {0xF5, 0xFD, 0xFF, 0xFF},
                                   {0xE9, 0xF5, 0xA4, 0xA3}};
constexpr VirusSignature kWanacry2{38,
                                   12365,
                                   10444,
                                   "ransom.wanacry.a",
                                   {0x33, 0xDB, 0x89, 0x5D},
                                   {0x03, 0x00, 0x00, 0xE4},
                                   {0x44, 0x49, 0x4E, 0x47}};
constexpr VirusSignature kWanacry3{38,
                                   2106313,
                                   2785356,
                                   "ransom.wanacry.a",
                                   {0x33, 0xDB, 0x89, 0x5D},
                                   {0x5F, 0xAA, 0x0B, 0x64},
                                   {0x95, 0x88, 0x70, 0x05}};
constexpr VirusSignature kWanacry4{38,
                                   12365,
                                   10444,
                                   "ransom.wanacry.a",
                                   {0x33, 0xDB, 0x89, 0x5D},
                                   {0x03, 0x00, 0x00, 0xE4},
                                   {0x58, 0x50, 0x41, 0x44}};

// The slots after the records stay value-initialised, that is all zero.
constexpr SignatureTable kBuiltIn{kWanacry1, kWanacry2, kWanacry3, kWanacry4};

}  // namespace

const SignatureTable& BuiltInSignatures() {
  return kBuiltIn;
}

}  // namespace morvane
