#include "app/ProgramOptions.h"

#include <string_view>

#include "shell/HelpAbout.h"

namespace varnopel {

ProgramOptions ParseProgramOptions(int argc, const char* const* argv) {
  ProgramOptions o;
  o.qtCount = argc;
  bool help = false;
  bool version = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") {
      o.qtCount = i;
      o.filesAfterEnd.assign(argv + i + 1, argv + argc);
      break;
    }
    // A file with one of these names is reached after "--" or as ./--help.
    if (arg == "--help" || arg == "-h") help = true;
    else if (arg == "--version" || arg == "-V") version = true;
  }
  if (help) o.action = ProgramOptions::Action::Help;
  else if (version) o.action = ProgramOptions::Action::Version;
  return o;
}

std::string ProgramHelpText() {
  return R"(Usage: varnopel [FILE...]
ヴァルノペル：テキストファイルを行単位で分割します。

Opens the window and reads the FILEs into it in name order, as files chosen
in its file dialog or dropped on it are. Every argument other than the
options below is a file, and so is every argument after --.

  -h, --help       print this text and exit
  -V, --version    print the version and exit

Settings are kept in $XDG_CONFIG_HOME/Quillmoor/varnopel/varnopel.ini
(~/.config/Quillmoor/varnopel/varnopel.ini when XDG_CONFIG_HOME is not set),
or in varnopel.ini beside the program when that folder cannot be made.

To split from a shell or a script without the window: varnopel-split --help.
The manual pages: man varnopel, man varnopel-split.
)";
}

std::string ProgramVersionText() {
  return std::string("varnopel ") + kProgramVersionText + " (" VARNOPEL_VERSION ")\n";
}

}  // namespace varnopel
