#include "cli/SplitCommand.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <iostream>
#include <random>
#include <string_view>

#include "session/SplitSession.h"
#include "split/OutputFile.h"
#include "split/OutputFileName.h"
#include "split/SystemErrorText.h"

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

// Tells of each input as it is read; with `detect`, prints one line per file
// and goes on past a file that fails, otherwise stops there.
class LoadReport : public LoadEvents {
 public:
  LoadReport(bool detect, Progress& progress) : detect_(detect), progress_(progress) {}
  bool failed = false;

  void fileStarting(size_t index, size_t count, const std::string& path) override {
    progress_.show("varnopel-split: reading " + std::to_string(index) + "/" + std::to_string(count) + " " +
                   Printable(path));
  }
  void fileLoaded(size_t, size_t, const InputFile& file) override {
    if (!detect_) return;
    progress_.clear();
    std::cout << Printable(file.path) << '\t' << CodePageName(file.codePage) << '\t' << file.codePage << '\t'
              << (file.codePage > 0 ? LineBreakName(file.lineBreak) : "-") << '\t' << file.lines << '\n';
  }
  bool fileFailed(size_t, size_t, const std::string& path, const ReadFailure& failure) override {
    progress_.clear();
    Fail("cannot read " + Printable(path) + ": " + failure.reason);
    failed = true;
    return detect_;
  }

 private:
  bool detect_;
  Progress& progress_;
};

void Reorder(const Options& o, SplitSession& session) {
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
      case Step::Reverse: session.reverse(); break;
      case Step::Shuffle: session.shuffle(random); break;
      case Step::SortAscending: session.sort(o.lineOrder, false); break;
      case Step::SortDescending: session.sort(o.lineOrder, true); break;
      case Step::Dedup:
        // The removal hands the kept lines back in reverse, as the window
        // shows them; a shell user expects them in input order.
        session.removeDuplicates({});
        session.reverse();
        break;
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
      : o_(o),
        folder_(std::move(folder)),
        input_(std::move(input)),
        lineBreak_(std::move(lineBreak)),
        lines_(lines),
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
  std::vector<std::string> names = o.files;
  SplitSession::SortNames(names, o.nameOrder);

  SplitSession session;
  LoadReport report(o.detect, progress);
  session.load(names, report);
  progress.clear();
  if (report.failed) return kExitUnreadable;
  if (o.detect) return kExitOk;

  Reorder(o, session);
  if (o.header > static_cast<int64_t>(session.lines().count())) {
    throw UsageError("--header " + std::to_string(o.header) + " is more than the " +
                     std::to_string(session.lines().count()) + " lines read");
  }
  const std::vector<std::string_view> header = session.takeHeader(static_cast<size_t>(o.header));

  const int64_t n = static_cast<int64_t>(session.lines().count());
  if (n == 0) {
    if (!o.quiet && !o.plan) Fail("no lines to split; nothing written");
    return kExitOk;
  }
  const SplitPlan plan = session.plan(o.mode, PlanValue(o, n));
  for (const auto& [lo, hi] : o.only) {
    if (hi > plan.files) throw UsageError("--only: there are " + std::to_string(plan.files) + " files");
  }

  const std::string lineBreak = session.outputLineBreak(o.eol);

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
        if (OutputExists(path)) existing.push_back(path);
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
    session.run(plan, callbacks, header);
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
              << (o.deal ? " dealt out" : " written") << ", " << n << " lines from " << session.inputs().size()
              << (session.inputs().size() == 1 ? " file" : " files") << " (" << CodePageName(session.codePage())
              << ")\n";
  }
  return status;
}

}  // namespace varnopel::cli
