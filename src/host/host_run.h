// The zus program: the main sequence from the command line to the exit code,
// with the one place where failures of a run are caught and reported.
#pragma once

#include <string>
#include <vector>

namespace zu::host {

// Runs zus with the command-line arguments (program name excluded) and
// returns the exit code. Writes the banner, messages and reports to standard
// output; never lets an exception out.
int RunHost(const std::vector<std::string>& args);

}  // namespace zu::host
