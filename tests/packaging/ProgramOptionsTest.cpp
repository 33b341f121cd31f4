// The window program's command line: what answers before Qt starts, and
// which arguments reach Qt and which are files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ProgramOptions.h"

namespace varnopel {
namespace {

using Action = ProgramOptions::Action;

ProgramOptions Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "varnopel");
  return ParseProgramOptions(static_cast<int>(args.size()), args.data());
}

TEST(ProgramOptions, DecidesTheActionAndWhatQtSees) {
  struct Case {
    std::vector<const char*> args;
    Action action;
    int qtCount;  // argv entries given to Qt, the program's name included
    std::vector<std::string> filesAfterEnd;
  };
  const Case cases[] = {
      {{}, Action::Open, 1, {}},
      {{"a.txt", "b.txt"}, Action::Open, 3, {}},
      {{"--help"}, Action::Help, 2, {}},
      {{"-h"}, Action::Help, 2, {}},
      {{"--version"}, Action::Version, 2, {}},
      {{"-V"}, Action::Version, 2, {}},
      {{"a.txt", "--version"}, Action::Version, 3, {}},
      {{"--version", "--help"}, Action::Help, 3, {}},
      // Anything else stays a file (or a Qt option, which Qt takes).
      {{"-x", "--helpful", "-style", "fusion"}, Action::Open, 5, {}},
      // "--" ends the options: what follows is never an option, not even Qt's.
      {{"--", "--help"}, Action::Open, 1, {"--help"}},
      {{"a.txt", "--", "-style", "--", "-V"}, Action::Open, 2, {"-style", "--", "-V"}},
      {{"a.txt", "--"}, Action::Open, 2, {}},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const char* a : c.args) line += std::string(" ") + a;
    SCOPED_TRACE("varnopel" + line);
    const ProgramOptions o = Parse(c.args);
    EXPECT_EQ(o.action, c.action);
    EXPECT_EQ(o.qtCount, c.qtCount);
    EXPECT_EQ(o.filesAfterEnd, c.filesAfterEnd);
  }
}

TEST(ProgramOptions, HelpAndVersionTexts) {
  const std::string help = ProgramHelpText();
  EXPECT_EQ(help.rfind("Usage: varnopel [FILE...]\n", 0), 0u);
  EXPECT_NE(help.find("Quillmoor/varnopel/varnopel.ini"), std::string::npos);
  EXPECT_NE(help.find("varnopel-split"), std::string::npos);
  EXPECT_EQ(ProgramVersionText(), "varnopel V2.6 (" VARNOPEL_VERSION ")\n");
}

}  // namespace
}  // namespace varnopel
