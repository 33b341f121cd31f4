// varnopel-split: the command-line companion of the window, on the same core.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>

#include "cli/Options.h"
#include "cli/SplitCommand.h"
#include "split/SystemErrorText.h"

namespace {

using namespace varnopel::cli;

// What went to standard output must have arrived: a plan or a detection
// lost on a full disk is a failure, not a success.
int Finish(int status) {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int error = errno;
  if (flushed && !std::ferror(stdout) && std::cout.good()) return status;
  std::cerr << "varnopel-split: cannot write standard output"
            << (error != 0 ? ": " + varnopel::SystemErrorText(error) : std::string()) << "\n";
  return status == kExitOk ? kExitWrite : status;
}

int Run(int argc, char** argv) {
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

}  // namespace

int main(int argc, char** argv) {
  // A file over the size limit (ulimit -f) then fails its write with EFBIG
  // like a full disk, instead of the signal killing the run and leaving the
  // temporary file behind.
  std::signal(SIGXFSZ, SIG_IGN);
  return Finish(Run(argc, argv));
}
