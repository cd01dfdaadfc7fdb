// Times Crc32OfFile on one file: prints the CRC-32 (final inversion applied,
// as zlib gives it) and the throughput in MB/s, best of a few runs.
//
//   crc32_bench FILE [RUNS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "support/crc.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: crc32_bench FILE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  std::error_code ec;
  const auto size = std::filesystem::file_size(argv[1], ec);
  if (ec) {
    std::fprintf(stderr, "crc32_bench: %s: %s\n", argv[1], ec.message().c_str());
    return 1;
  }
  double best = 1e30;
  uint32_t crc = 0;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    crc = zu::Crc32OfFile(argv[1], 0xFFFFFFFFu) ^ 0xFFFFFFFFu;
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (took.count() < best) best = took.count();
  }
  std::printf("%08x %.1f\n", crc, static_cast<double>(size) / 1e6 / best);
  return 0;
}
