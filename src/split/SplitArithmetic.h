#pragma once
// How many lines each output file gets and how many files there are, both
// rounding up, in 64-bit arithmetic.
#include <cstdint>

namespace varnopel {

// Lines per file when n lines are cut into `files` files; 0 files counts as 1.
inline int32_t LinesPerFile(int64_t n, int64_t files) {
  if (files <= 0) files = 1;
  return static_cast<int32_t>(n / files + (n % files != 0 ? 1 : 0));
}

// Files needed when each takes `lines` lines; 0 lines counts as n (one file).
inline int32_t FilesForLines(int64_t n, int64_t lines) {
  if (lines <= 0) lines = n;
  if (lines <= 0) return 0;  // no lines at all: nothing to divide
  return static_cast<int32_t>(n / lines + (n % lines != 0 ? 1 : 0));
}

}  // namespace varnopel
