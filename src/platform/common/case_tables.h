// The byte-wise case tables of the 8-bit code page: each platform layer
// builds them once from the system's own mapping (BuildCaseTables); the
// mapping functions of platform.h and the table comparison read them.
#pragma once

#include <string_view>

namespace zu::platform {

struct CaseTables {
  unsigned char upper[256];
  unsigned char lower[256];
};

// Asks the system for the mapping of every byte (posix/ or win32/).
CaseTables BuildCaseTables();
// The tables, built at the first use.
const CaseTables& GetCaseTables();
// Compares by the upper-case table, byte by byte, a shorter text first.
int CompareByCaseTable(std::string_view a, std::string_view b);

}  // namespace zu::platform
