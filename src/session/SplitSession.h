#pragma once
// One working session: the input files, the working list of their lines, the
// code page and line break that the output takes over, and everything done
// with them (loading, reading again, reordering, planning, the split run).
// The window and the command line are the layers that answer its events.
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "decoding/CodePage.h"
#include "session/LoadEvents.h"
#include "split/SplitCallbacks.h"
#include "split/SplitPlan.h"
#include "split/SplitRun.h"
#include "workspace/LineList.h"
#include "workspace/Reorder.h"

namespace varnopel {

enum class LineBreakChoice { Same, CrLf, Cr, Lf };

class SplitSession {
 public:
  // Sorts input names in the order of the settings (numeric: digit runs by
  // value, case ignored; dictionary: code units). Names that compare equal
  // keep the order given.
  static void SortNames(std::vector<std::string>& names, SortOrder order);

  // Forgets the inputs and their lines.
  void clear();
  // The code page and line break the output takes before any file is read.
  void setEncoding(int32_t codePage, std::string lineBreak) {
    codePage_ = codePage;
    lineBreak_ = std::move(lineBreak);
  }
  // Reads the files in the order given and appends their lines. With
  // `freshEncoding` every file starts from Shift_JIS and CR LF (so a file
  // that cannot be read leaves those); otherwise from the last file's. The
  // code page and line break of the last file read become the session's.
  // Returns the number of files read.
  size_t load(const std::vector<std::string>& paths, LoadEvents& events, bool freshEncoding = false);
  // Reads the inputs again in the order given (the input list's order),
  // rebuilding the line list; the inputs become those read.
  void reread(const std::vector<std::string>& order, LoadEvents& events);

  void reverse() { ReverseLines(lines_); }
  void shuffle(std::mt19937_64& random) { ShuffleLines(lines_, random); }
  void sort(SortOrder order, bool descending) { SortLines(lines_, order, descending); }
  DedupResult removeDuplicates(const std::function<bool(int64_t, bool)>& poll) {
    return RemoveDuplicates(lines_, poll);
  }

  // Takes the first k lines out of the split, to be written at the top of
  // every file (they stay readable while the session lives).
  std::vector<std::string_view> takeHeader(size_t k);

  // The plan for the lines in hand and the mode's number.
  SplitPlan plan(SplitMode mode, int64_t value) const {
    return MakeSplitPlan(mode, static_cast<int64_t>(lines_.count()), value);
  }
  // The line break that the output gets for a choice: Same is the input's.
  std::string outputLineBreak(LineBreakChoice choice) const;
  // Writes the plan's files in the session's code page. UTF-8 input without
  // a byte-order mark is written with one, and from the first file written
  // on the session's code page says so. Throws as RunSplit does.
  SplitResult run(const SplitPlan& plan, SplitCallbacks& callbacks, const std::vector<std::string_view>& header = {});

  const std::vector<InputFile>& inputs() const { return inputs_; }
  const LineList& lines() const { return lines_; }
  int32_t codePage() const { return codePage_; }
  const std::string& lineBreak() const { return lineBreak_; }

 private:
  LineList lines_;
  std::vector<InputFile> inputs_;
  int32_t codePage_ = cp::ShiftJis;
  std::string lineBreak_;
};

}  // namespace varnopel
