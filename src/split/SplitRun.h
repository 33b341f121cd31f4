#pragma once
// The split run: cuts the line list by a plan and writes the files.
#include <cstdint>
#include <string_view>
#include <vector>

#include "split/SplitCallbacks.h"
#include "split/SplitPlan.h"
#include "workspace/LineList.h"

namespace varnopel {

struct SplitResult {
  bool canceled = false;      // by the Cancel button or a Cancel answer
  bool lastDeclined = false;  // the last file that came to the overwrite question was declined
  int64_t filesWritten = 0;
};

// The lines file k (from 1) takes when nothing cuts the run short. `start` is
// the block position, which this advances as the run does; a file left out
// (not `written`) still moves it on by its share.
int64_t PlannedLineCount(const SplitPlan& plan, int64_t n, int64_t k, bool deal, bool written, int64_t& start);

// Writes the files of `plan` in `codePage` (see OutputEncoder). Throws
// WriteError or InvalidPathError, which end the run; files written before
// stay, and no file is left half-written under its own name. `header` lines,
// if any, are written at the top of every file.
SplitResult RunSplit(const LineList& lines, int32_t codePage, const SplitPlan& plan, SplitCallbacks& callbacks,
                     const std::vector<std::string_view>& header = {});

}  // namespace varnopel
