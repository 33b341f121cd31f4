#pragma once
#include "cli/Options.h"

namespace varnopel::cli {

// Reads the inputs, reorders, and prints the plan or the detection, or
// writes the split. Returns the exit status; messages go to standard error.
int RunCommand(const Options& options);

}  // namespace varnopel::cli
