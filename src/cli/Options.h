#pragma once
// The command line of varnopel-split, parsed into plain values.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "session/SplitSession.h"
#include "split/SplitPlan.h"
#include "workspace/Reorder.h"

namespace varnopel::cli {

// Exit statuses, documented in --help and the README.
enum Exit : int {
  kExitOk = 0,
  kExitUnreadable = 1,   // an input cannot be read or decoded
  kExitUsage = 2,        // bad option or value
  kExitExists = 3,       // outputs exist and --force was not given
  kExitInvalidPath = 4,  // a path holds a control character
  kExitWrite = 5,        // an output cannot be created or written
};

// A mistake on the command line; what() says which.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Step { Reverse, Shuffle, SortAscending, SortDescending, Dedup };

struct Options {
  std::vector<std::string> files;
  SortOrder nameOrder = SortOrder::Numeric;

  SplitMode mode = SplitMode::Files;
  std::optional<int64_t> value;  // as given; the mode's default when absent
  bool deal = false;

  std::vector<Step> steps;  // reorderings, in the order given
  SortOrder lineOrder = SortOrder::Numeric;
  std::optional<uint64_t> seed;

  std::string outFolder;  // empty: beside the last input
  LineBreakChoice eol = LineBreakChoice::Same;
  bool force = false;
  std::vector<std::pair<int64_t, int64_t>> only;  // inclusive ranges; empty: all files
  int64_t header = 0;

  bool plan = false;
  bool detect = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
};

// Throws UsageError.
Options ParseOptions(int argc, char** argv);

// "1,3,5-7" into ranges. Throws UsageError.
std::vector<std::pair<int64_t, int64_t>> ParseFileNumbers(const std::string& text);

std::string HelpText();

}  // namespace varnopel::cli
