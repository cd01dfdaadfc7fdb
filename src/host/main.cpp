// zus: the console interpreter of ZuScript.
#include <string>
#include <vector>

#include "host/host_run.h"

int main(int argc, char** argv) {
  return zu::host::RunHost(std::vector<std::string>(argv + 1, argv + argc));
}
