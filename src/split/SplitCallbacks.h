#pragma once
// What the split run asks of its caller: the decisions, the names and the
// reporting. The window answers from its controls, the command line from
// its options.
#include <cstdint>
#include <string>

namespace varnopel {

enum class OverwriteAnswer { Yes, No, Cancel, YesToAll };

class SplitCallbacks {
 public:
  virtual ~SplitCallbacks() = default;

  // File k of F comes up.
  virtual void fileStarted(int64_t /*k*/, int64_t /*files*/) {}
  // False leaves file k out of the run.
  virtual bool isChecked(int64_t /*k*/) { return true; }
  virtual void fileSkipped(int64_t /*k*/) {}
  // Read when each file's turn comes: deal the lines out, or take a block.
  virtual bool dealOut() = 0;
  // The output path of file k. May throw InvalidPathError.
  virtual std::string pathFor(int64_t k) = 0;
  // An existing file is replaced without a question.
  virtual bool overwriteWithoutAsking() = 0;
  virtual OverwriteAnswer askOverwrite(const std::string& path) = 0;
  // "Yes to all" was answered: later files are replaced without a question.
  virtual void overwriteAll() {}
  // File k is about to be written (after any overwrite question).
  virtual void fileWriting(int64_t /*k*/) {}
  // The line break to write, read for every file written.
  virtual std::string lineBreak() = 0;
  // Lines collected so far (plus skipped shares); called for every line.
  virtual void progress(int64_t /*value*/) {}
  // Polled after every collected line and after every file.
  virtual bool canceled() { return false; }
  // Called now and then while a file is being written.
  virtual void keepResponsive() {}
  virtual void fileWritten(int64_t /*k*/, const std::string& /*path*/, int64_t /*lines*/) {}
};

}  // namespace varnopel
