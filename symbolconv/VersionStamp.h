#pragma once
// The version stamp of symbol files: 1004 in the high 16 bits and the count
// of successful conversions on this machine in the low 16 bits, kept under
// HKLM "Software\Runemark\". Registry failures never fail a conversion.
#include <cstdint>

namespace runemark {

constexpr std::uint32_t kConverterVersion = 1004;

// Creates the key with Version 1004 and SubVersion 0 when it is missing.
std::uint32_t ReadVersionStamp();
// Counts one more successful conversion.
void BumpSubVersion();

}  // namespace runemark
