#pragma once
// Reordering and filtering of the line list. Only spans move; text stays.
#include <cstdint>
#include <functional>
#include <random>

#include "workspace/LineList.h"

namespace varnopel {

enum class SortOrder { Numeric, Dictionary };

void ReverseLines(LineList& list);

// Uniform shuffle (Fisher–Yates).
void ShuffleLines(LineList& list, std::mt19937_64& random);

// Sorts with the numeric or dictionary comparison; descending exchanges the
// operands (it is not the reverse of ascending).
void SortLines(LineList& list, SortOrder order, bool descending);

struct DedupResult {
  int64_t before = 0;
  int64_t removed = 0;
  bool canceled = false;
};

// Keeps the first occurrence of every distinct line (equal bytes) and
// leaves them in the reverse order of first occurrence. poll(i, repeated)
// is called after each line of the scan and returns true to cancel; a
// cancelled removal leaves the list as it was.
DedupResult RemoveDuplicates(LineList& list, const std::function<bool(int64_t, bool)>& poll);

}  // namespace varnopel
