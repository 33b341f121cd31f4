#pragma once
// The window program's own command line, read before Qt starts, so that
// --help and --version answer without a display. Every other argument is a
// file to load.
#include <string>
#include <vector>

namespace varnopel {

struct ProgramOptions {
  enum class Action { Open, Help, Version };
  Action action = Action::Open;
  // argv[0 .. qtCount) go to QApplication, which takes its own options
  // (-style, -platform ...) out; what it leaves are files. Everything from
  // "--" on is kept from Qt, which would take those options out even there.
  int qtCount = 1;
  // The arguments after "--": files, as given.
  std::vector<std::string> filesAfterEnd;
};

ProgramOptions ParseProgramOptions(int argc, const char* const* argv);

std::string ProgramHelpText();
std::string ProgramVersionText();

}  // namespace varnopel
