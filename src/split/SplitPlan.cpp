#include "split/SplitPlan.h"

#include "split/SplitArithmetic.h"

namespace varnopel {

SplitPlan MakeSplitPlan(SplitMode mode, int64_t n, int64_t value) {
  switch (mode) {
    case SplitMode::Files: return {mode, value, LinesPerFile(n, value)};
    case SplitMode::Lines: return {mode, FilesForLines(n, value), value};
    case SplitMode::Half: break;
  }
  return {mode, 2, value};
}

}  // namespace varnopel
