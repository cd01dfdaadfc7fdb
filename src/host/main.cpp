// zus: the command-line host (placeholder until the host lands).
#include <cstdio>

int main() {
  std::puts("ZuScript 2.10 (host not built yet)");
  return 0;
}
