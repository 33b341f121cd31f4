#include "cli/Options.h"

#include <charconv>
#include <limits>

namespace varnopel::cli {

namespace {

// Counts of lines and files stay within 32 bits, like the window's number boxes.
constexpr uint64_t kMaxCount = std::numeric_limits<int32_t>::max();

uint64_t ParseNumber(const std::string& option, const std::string& text, uint64_t max) {
  uint64_t value = 0;
  const char* end = text.data() + text.size();
  // from_chars alone would take a leading '-' for unsigned types on some
  // libraries and stop at trailing junk; insist on plain digits.
  const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (!digits || ec != std::errc() || ptr != end || value > max) {
    throw UsageError(option + " expects a whole number from 0 to " + std::to_string(max) + ", not \"" + text + "\"");
  }
  return value;
}

SortOrder ParseOrder(const std::string& option, const std::string& text) {
  if (text == "numeric") return SortOrder::Numeric;
  if (text == "dictionary") return SortOrder::Dictionary;
  throw UsageError(option + " expects numeric or dictionary, not \"" + text + "\"");
}

}  // namespace

std::vector<std::pair<int64_t, int64_t>> ParseFileNumbers(const std::string& text) {
  std::vector<std::pair<int64_t, int64_t>> ranges;
  size_t at = 0;
  while (at <= text.size()) {
    size_t comma = text.find(',', at);
    if (comma == std::string::npos) comma = text.size();
    const std::string item = text.substr(at, comma - at);
    const size_t dash = item.find('-');
    const auto number = [](const std::string& s) {
      const int64_t v = static_cast<int64_t>(ParseNumber("--only", s, kMaxCount));
      if (v < 1) throw UsageError("--only counts files from 1");
      return v;
    };
    const int64_t lo = number(item.substr(0, dash));
    const int64_t hi = dash == std::string::npos ? lo : number(item.substr(dash + 1));
    if (hi < lo) throw UsageError("--only range \"" + item + "\" runs backwards");
    ranges.emplace_back(lo, hi);
    at = comma + 1;
  }
  return ranges;
}

Options ParseOptions(int argc, char** argv) {
  Options o;
  std::string modeOption;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      o.files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::optional<std::string> attached;  // --option=value
    if (const size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      attached = arg.substr(eq + 1);
      arg.resize(eq);
    }
    const auto value = [&]() -> std::string {
      if (attached) return *attached;
      if (i + 1 >= argc) throw UsageError(arg + " needs a value");
      return argv[++i];
    };
    const auto mode = [&](SplitMode m) {
      if (!modeOption.empty() && modeOption != arg) throw UsageError("give only one of --files, --lines and --head");
      modeOption = arg;
      o.mode = m;
      o.value = static_cast<int64_t>(ParseNumber(arg, value(), kMaxCount));
    };
    const auto flag = [&](bool& target) {
      if (attached) throw UsageError(arg + " takes no value");
      target = true;
    };

    if (arg == "--files") mode(SplitMode::Files);
    else if (arg == "--lines") mode(SplitMode::Lines);
    else if (arg == "--head") mode(SplitMode::Half);
    else if (arg == "--deal") flag(o.deal);
    else if (arg == "--reverse" || arg == "--shuffle" || arg == "--dedup") {
      bool given = false;
      flag(given);
      o.steps.push_back(arg == "--reverse" ? Step::Reverse : arg == "--shuffle" ? Step::Shuffle : Step::Dedup);
    } else if (arg == "--sort") {
      const std::string v = value();
      if (v == "asc") o.steps.push_back(Step::SortAscending);
      else if (v == "desc") o.steps.push_back(Step::SortDescending);
      else throw UsageError("--sort expects asc or desc, not \"" + v + "\"");
    } else if (arg == "--seed") {
      o.seed = ParseNumber(arg, value(), std::numeric_limits<uint64_t>::max());
    } else if (arg == "--order") {
      o.lineOrder = ParseOrder(arg, value());
    } else if (arg == "--name-order") {
      o.nameOrder = ParseOrder(arg, value());
    } else if (arg == "--out") {
      o.outFolder = value();
      if (o.outFolder.empty()) throw UsageError("--out needs a folder");
    } else if (arg == "--eol") {
      const std::string eol = value();
      if (eol == "same") o.eol = LineBreakChoice::Same;
      else if (eol == "crlf") o.eol = LineBreakChoice::CrLf;
      else if (eol == "cr") o.eol = LineBreakChoice::Cr;
      else if (eol == "lf") o.eol = LineBreakChoice::Lf;
      else throw UsageError("--eol expects same, crlf, cr or lf, not \"" + eol + "\"");
    } else if (arg == "--only") {
      o.only = ParseFileNumbers(value());
    } else if (arg == "--header") {
      o.header = static_cast<int64_t>(ParseNumber(arg, value(), kMaxCount));
    } else if (arg == "--force") flag(o.force);
    else if (arg == "--plan") flag(o.plan);
    else if (arg == "--detect") flag(o.detect);
    else if (arg == "--quiet" || arg == "-q") flag(o.quiet);
    else if (arg == "--help" || arg == "-h") flag(o.help);
    else if (arg == "--version" || arg == "-V") flag(o.version);
    else throw UsageError("unknown option " + arg);
  }
  if (o.help || o.version) return o;
  if (o.plan && o.detect) throw UsageError("give only one of --plan and --detect");
  if (o.files.empty()) throw UsageError("no input files");
  return o;
}

std::string HelpText() {
  return R"(Usage: varnopel-split [OPTIONS] FILE...
ヴァルノペル：テキストファイルを行単位で分割します。

Reads the files (sorted by name), joins their lines, applies the reorderings
in the order given, and writes the split as NAME-1.EXT, NAME-2.EXT, ... named
after the last input and placed beside it. The files are written in the code
page of the last input (UTF-8 always with a byte-order mark).

Split mode (one of):
  --files N        N files, the lines shared as evenly as blocks allow (default 1)
  --lines L        files of L lines; L above the line count gives one file
  --head H         two files: the first H lines, then the rest
  --deal           deal the lines out to the files in turn instead of blocks

Reordering, applied in the order given:
  --reverse        reverse the lines
  --shuffle        shuffle the lines; --seed S makes the order repeatable
  --sort asc|desc  sort the lines
  --dedup          drop repeated lines, keeping the first of each in input
                   order (as awk '!seen[$0]++'); add --reverse for the
                   window's order, the kept lines in reverse
  --order numeric|dictionary
                   comparison for --sort: numeric (1, 2, 10; case ignored,
                   the default) or dictionary (1, 10, 2; case counts)

Input:
  --name-order numeric|dictionary
                   order of the input files (default numeric)

Output:
  --out DIR        write into DIR instead of beside the last input
  --eol same|crlf|cr|lf
                   line break (default same: the one found in the last input)
  --only LIST      write only these file numbers, for example 1,3,5-7
  --header K       put the first K lines (after reordering) at the top of
                   every file and leave them out of the split
  --force          replace existing files; without it nothing is written
                   when any of the files to write exists

Information (writes nothing):
  --plan           print each file to write and its line count (header lines
                   not counted), tab-separated
  --detect         print, tab-separated, each input with its code page name,
                   code page number, line break and line count

  -q, --quiet      no progress (shown only when standard error is a terminal)
  -h, --help       this text
  -V, --version    the version

Exit status:
    0  done, also when there were no lines to split
    1  an input cannot be read or decoded, or there is not memory enough to
       hold it; nothing was written
    2  usage error; nothing was written
    3  files to write exist and --force was not given; nothing was written
    4  a path holds a control character; nothing was written
    5  an output file cannot be created or written; files finished before it
       stay, the one in hand is not left behind. Also when standard output
       cannot be written (--plan, --detect)
  130  interrupted (128 + signal number); as for 5
)";
}

}  // namespace varnopel::cli
