#include "cli/SplitCommand.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <iostream>
#include <new>
#include <random>
#include <string_view>

#include "decoding/CheckCCode.h"
#include "split/OutputFile.h"
#include "split/OutputFileName.h"
#include "split/SplitRun.h"
#include "split/SystemErrorText.h"
#include "workspace/Compare.h"
#include "workspace/LineList.h"
#include "workspace/ReadMemory.h"
#include "workspace/Reorder.h"
#include "workspace/SortList.h"

namespace varnopel::cli {

namespace {

// Control characters would garble a terminal or a tab-separated listing.
std::string Printable(std::string_view text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      out += "\\x";
      out += hex[u >> 4];
      out += hex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::string LineBreakName(std::string_view lb) {
  if (lb == "\r\n") return "CRLF";
  if (lb == "\r") return "CR";
  if (lb == "\n") return "LF";
  return "-";
}

void Fail(const std::string& message) { std::cerr << "varnopel-split: " << message << "\n"; }

// One status line on a terminal, redrawn at most every 100 ms.
class Progress {
 public:
  explicit Progress(bool on) : on_(on) {}
  bool on() const { return on_; }

  void show(const std::string& text, bool now = false) {
    if (!on_) return;
    const auto t = std::chrono::steady_clock::now();
    if (!now && shown_ && t - last_ < std::chrono::milliseconds(100)) return;
    last_ = t;
    shown_ = true;
    std::cerr << "\r\033[K" << text << std::flush;
  }
  void clear() {
    if (on_ && shown_) std::cerr << "\r\033[K" << std::flush;
    shown_ = false;
  }

 private:
  bool on_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_{};
};

// What the inputs gave: the lines and the code page and line break of the
// last file read, which the output takes over.
struct Loaded {
  LineList list;
  int32_t codePage = cp::ShiftJis;
  std::string lineBreak = "\r\n";
  size_t files = 0;
};

std::vector<std::string> SortedNames(std::vector<std::string> names, SortOrder order) {
  const auto compare = order == SortOrder::Numeric ? CompareLogical : CompareOrdinal;
  SortList(names, [compare](const std::string& a, const std::string& b) { return compare(a, b); });
  return names;
}

// Reads every input; with `detect`, prints one line per file instead of
// stopping at the first that fails. Returns the exit status.
int Load(const std::vector<std::string>& names, bool detect, Progress& progress, Loaded& out) {
  int status = kExitOk;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& path = names[i];
    progress.show("varnopel-split: reading " + std::to_string(i + 1) + "/" + std::to_string(names.size()) + " " +
                  Printable(path));
    try {
      const DecodedFile file = ReadTextFile(path, out.codePage, out.lineBreak);
      const size_t count = out.list.appendText(file.text, file.lineBreak);
      ++out.files;
      if (detect) {
        progress.clear();
        std::cout << Printable(path) << '\t' << CodePageName(file.codePage) << '\t' << file.codePage << '\t'
                  << (file.codePage > 0 ? LineBreakName(out.lineBreak) : "-") << '\t' << count << '\n';
      }
    } catch (const std::bad_alloc&) {
      progress.clear();
      Fail("cannot read " + Printable(path) + ": it needs about " + std::to_string(MegabytesToRead(path)) +
           " MB of memory, and that much is not available");
      if (!detect) return kExitUnreadable;
      status = kExitUnreadable;
    } catch (const std::exception& e) {  // TextFileError, a line of 4 GiB
      progress.clear();
      Fail("cannot read " + Printable(path) + ": " + e.what());
      if (!detect) return kExitUnreadable;
      status = kExitUnreadable;
    }
  }
  progress.clear();
  return status;
}

void Reorder(const Options& o, LineList& list) {
  std::mt19937_64 random;
  if (o.seed) {
    random.seed(*o.seed);
  } else {
    std::random_device device;
    std::seed_seq seq{device(), device(), device(), device()};
    random.seed(seq);
  }
  for (const Step step : o.steps) {
    switch (step) {
      case Step::Reverse: ReverseLines(list); break;
      case Step::Shuffle: ShuffleLines(list, random); break;
      case Step::SortAscending: SortLines(list, o.lineOrder, false); break;
      case Step::SortDescending: SortLines(list, o.lineOrder, true); break;
      case Step::Dedup: RemoveDuplicates(list, {}); break;
    }
  }
}

volatile std::sig_atomic_t gSignal = 0;
extern "C" void OnSignal(int signal) { gSignal = signal; }

// Stops the run between lines; unwinding removes the file in hand.
struct Interrupted {};

class Callbacks : public SplitCallbacks {
 public:
  Callbacks(const Options& o, std::string folder, std::string input, std::string lineBreak, int64_t lines,
            Progress& progress)
      : o_(o), folder_(std::move(folder)), input_(std::move(input)), lineBreak_(std::move(lineBreak)), lines_(lines),
        progress_(progress) {}

  std::string current;                // the path in hand, for messages
  std::vector<std::string> appeared;  // existing files found only during the run
  int64_t written = 0;

  // Throws InvalidPathError naming the offending path. Checked here as well
  // because the name maker leaves the folder unchecked when the input's name
  // has no base part.
  std::string path(int64_t k) const {
    for (const std::string* p : {&input_, &folder_}) {
      if (std::any_of(p->begin(), p->end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        throw InvalidPathError(*p);
      }
    }
    return OutputFileName(folder_, input_, k);
  }
  bool selected(int64_t k) const {
    if (o_.only.empty()) return true;
    return std::any_of(o_.only.begin(), o_.only.end(), [k](const auto& r) { return r.first <= k && k <= r.second; });
  }

  void fileStarted(int64_t k, int64_t files) override {
    file_ = k;
    files_ = files;
    report(true);
  }
  bool isChecked(int64_t k) override { return selected(k); }
  bool dealOut() override { return o_.deal; }
  std::string pathFor(int64_t k) override { return current = path(k); }
  bool overwriteWithoutAsking() override { return o_.force; }
  OverwriteAnswer askOverwrite(const std::string& path) override {
    // Created by someone else after the check before the run.
    appeared.push_back(path);
    return OverwriteAnswer::Cancel;
  }
  std::string lineBreak() override { return lineBreak_; }
  void progress(int64_t value) override {
    value_ = value;
    if ((value & 4095) == 0) report(false);
    if (gSignal) throw Interrupted{};
  }
  void keepResponsive() override {
    report(false);
    if (gSignal) throw Interrupted{};
  }
  void fileWritten(int64_t, const std::string&, int64_t) override { ++written; }

 private:
  void report(bool now) {
    if (!progress_.on()) return;
    const int64_t percent = lines_ > 0 ? std::min<int64_t>(100, value_ * 100 / lines_) : 100;
    progress_.show("varnopel-split: file " + std::to_string(file_) + "/" + std::to_string(files_) + "  " +
                       std::to_string(percent) + "%",
                   now);
  }

  const Options& o_;
  const std::string folder_;
  const std::string input_;
  const std::string lineBreak_;
  const int64_t lines_;
  Progress& progress_;
  int64_t file_ = 0;
  int64_t files_ = 0;
  int64_t value_ = 0;
};

// The mode's number checked against the lines to split, as the window's
// number boxes bound it.
int64_t PlanValue(const Options& o, int64_t n) {
  const std::string count = std::to_string(n);
  switch (o.mode) {
    case SplitMode::Files: {
      const int64_t f = o.value.value_or(1);
      if (f < 1 || f > n) throw UsageError("--files must be from 1 to " + count + ", the lines to split");
      return f;
    }
    case SplitMode::Lines: {
      const int64_t l = o.value.value_or(n);
      if (l < 1) throw UsageError("--lines must be 1 or more");
      return std::min(l, n);
    }
    case SplitMode::Half: {
      const int64_t h = o.value.value_or(0);
      if (h > n) throw UsageError("--head must be from 0 to " + count + ", the lines to split");
      return h;
    }
  }
  return 1;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The folder must take new files: said before anything is written.
bool CheckFolder(const std::string& folder) {
  const std::string f = folder.empty() ? "." : folder;
  struct stat st {};
  int error = 0;
  if (::stat(f.c_str(), &st) != 0) error = errno;
  else if (!S_ISDIR(st.st_mode)) error = ENOTDIR;
  else if (::access(f.c_str(), W_OK | X_OK) != 0) error = errno;
  if (error == 0) return true;
  Fail("cannot write into " + Printable(f) + ": " + SystemErrorText(error));
  return false;
}

}  // namespace

int RunCommand(const Options& o) {
  Progress progress(!o.quiet && !o.detect && !o.plan && ::isatty(STDERR_FILENO));
  const std::vector<std::string> names = SortedNames(o.files, o.nameOrder);

  Loaded in;
  if (const int status = Load(names, o.detect, progress, in); status != kExitOk || o.detect) return status;

  Reorder(o, in.list);
  LineList& list = in.list;
  if (o.header > static_cast<int64_t>(list.count())) {
    throw UsageError("--header " + std::to_string(o.header) + " is more than the " + std::to_string(list.count()) +
                     " lines read");
  }
  // The header stays in the list's chunks; only its spans leave the split.
  std::vector<std::string_view> header;
  for (int64_t i = 0; i < o.header; ++i) header.push_back(list[static_cast<size_t>(i)]);
  list.lines().erase(list.lines().begin(), list.lines().begin() + o.header);

  const int64_t n = static_cast<int64_t>(list.count());
  if (n == 0) {
    if (!o.quiet && !o.plan) Fail("no lines to split; nothing written");
    return kExitOk;
  }
  const SplitPlan plan = MakeSplitPlan(o.mode, n, PlanValue(o, n));
  for (const auto& [lo, hi] : o.only) {
    if (hi > plan.files) throw UsageError("--only: there are " + std::to_string(plan.files) + " files");
  }

  std::string lineBreak = in.lineBreak;
  if (o.eol == "crlf") lineBreak = "\r\n";
  else if (o.eol == "cr") lineBreak = "\r";
  else if (o.eol == "lf") lineBreak = "\n";

  const std::string& input = names.back();
  const std::string folder = o.outFolder.empty() ? FolderOf(input) : o.outFolder;
  Callbacks callbacks(o, folder, input, lineBreak, n, progress);

  // Every name first: a bad path or an existing file stops the run before
  // anything is written.
  std::vector<std::string> existing;
  try {
    int64_t start = 0;
    for (int64_t k = 1; k <= plan.files; ++k) {
      const bool selected = callbacks.selected(k);
      const int64_t lines = PlannedLineCount(plan, n, k, o.deal, selected, start);
      if (!selected) continue;
      const std::string path = callbacks.path(k);
      if (o.plan) {
        std::cout << Printable(path) << '\t' << lines << '\n';
      } else if (!o.force) {
        // Any entry counts, a dangling symbolic link too: the run would replace it.
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0) existing.push_back(path);
      }
    }
  } catch (const InvalidPathError& e) {
    Fail(std::string("invalid path, it holds a control character: ") + Printable(e.what()));
    return kExitInvalidPath;
  }
  if (o.plan) return kExitOk;
  if (!existing.empty()) {
    Fail("these files exist already; nothing was written (--force replaces them):");
    for (const std::string& path : existing) std::cerr << "  " << Printable(path) << "\n";
    return kExitExists;
  }
  if (!CheckFolder(folder)) return kExitWrite;

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (const int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &action, nullptr);

  // The code page of the last input read decides the output's.
  int status = kExitOk;
  try {
    RunSplit(list, in.codePage, plan, callbacks, header);
  } catch (const Interrupted&) {
    progress.clear();
    std::cerr << "varnopel-split: interrupted; " << callbacks.written << (callbacks.written == 1 ? " file" : " files")
              << " written\n"
              << std::flush;
    signal(gSignal, SIG_DFL);
    raise(gSignal);
    return 128 + gSignal;
  } catch (const InvalidPathError& e) {
    progress.clear();
    Fail(std::string("invalid path, it holds a control character: ") + Printable(e.what()));
    status = kExitInvalidPath;
  } catch (const std::exception& e) {  // WriteError, an encoder without a converter, no memory
    progress.clear();
    Fail("cannot write " + Printable(callbacks.current) + ": " + Printable(e.what()));
    status = kExitWrite;
  }
  progress.clear();
  if (status == kExitOk && !callbacks.appeared.empty()) {
    Fail("stopped: this file appeared during the run (--force replaces it):");
    std::cerr << "  " << Printable(callbacks.appeared.front()) << "\n";
    status = kExitExists;
  }
  if (status == kExitOk && progress.on()) {
    std::cerr << "varnopel-split: " << callbacks.written << (callbacks.written == 1 ? " file" : " files")
              << (o.deal ? " dealt out" : " written") << ", " << n << " lines from " << in.files
              << (in.files == 1 ? " file" : " files") << " (" << CodePageName(in.codePage) << ")\n";
  }
  return status;
}

}  // namespace varnopel::cli
