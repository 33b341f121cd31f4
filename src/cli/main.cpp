// varnopel-split: the command-line companion of the window, on the same core.
#include <cstdio>
#include <exception>
#include <iostream>

#include "cli/Options.h"
#include "cli/SplitCommand.h"

int main(int argc, char** argv) {
  using namespace varnopel::cli;
  Options options;
  try {
    options = ParseOptions(argc, argv);
  } catch (const UsageError& e) {
    std::cerr << "varnopel-split: " << e.what() << "\nTry 'varnopel-split --help'.\n";
    return kExitUsage;
  }
  if (options.help) {
    std::cout << HelpText();
    return kExitOk;
  }
  if (options.version) {
    std::cout << "varnopel-split V" VARNOPEL_VERSION_SHORT " (" VARNOPEL_VERSION ")\n";
    return kExitOk;
  }
  try {
    return RunCommand(options);
  } catch (const UsageError& e) {
    std::cerr << "varnopel-split: " << e.what() << "\n";
    return kExitUsage;
  } catch (const std::exception& e) {  // the run catches its own; this is a last guard
    std::cerr << "varnopel-split: " << e.what() << "\n";
    return kExitUnreadable;
  }
}
