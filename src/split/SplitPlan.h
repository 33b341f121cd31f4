#pragma once
// The plan of a split: how many files, and how many lines each takes.
#include <cstdint>

namespace varnopel {

enum class SplitMode { Files, Lines, Half };

struct SplitPlan {
  SplitMode mode = SplitMode::Files;
  int64_t files = 1;         // F
  int64_t linesPerFile = 0;  // L; in the half mode the first file's count h
};

// The plan for n lines and the number box value of the mode: a file count,
// a lines-per-file count or the first part's line count.
SplitPlan MakeSplitPlan(SplitMode mode, int64_t n, int64_t value);

}  // namespace varnopel
