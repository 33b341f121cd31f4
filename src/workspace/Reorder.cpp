#include "workspace/Reorder.h"

#include <algorithm>
#include <unordered_set>

#include "workspace/Compare.h"
#include "workspace/SortList.h"

namespace varnopel {

using Line = LineList::Line;

void ReverseLines(LineList& list) { std::reverse(list.lines().begin(), list.lines().end()); }

void ShuffleLines(LineList& list, std::mt19937_64& random) {
  auto& v = list.lines();
  for (size_t i = v.size(); i > 1; --i) {
    std::uniform_int_distribution<size_t> pick(0, i - 1);
    std::swap(v[i - 1], v[pick(random)]);
  }
}

void SortLines(LineList& list, SortOrder order, bool descending) {
  auto& v = list.lines();
  if (order == SortOrder::Numeric) {
    if (descending) SortList(v, [](const Line& a, const Line& b) { return CompareLogical(b.view(), a.view()); });
    else SortList(v, [](const Line& a, const Line& b) { return CompareLogical(a.view(), b.view()); });
  } else {
    if (descending) SortList(v, [](const Line& a, const Line& b) { return CompareOrdinal(b.view(), a.view()); });
    else SortList(v, [](const Line& a, const Line& b) { return CompareOrdinal(a.view(), b.view()); });
  }
}

DedupResult RemoveDuplicates(LineList& list, const std::function<bool(int64_t, bool)>& poll) {
  auto& v = list.lines();
  DedupResult result;
  result.before = static_cast<int64_t>(v.size());
  std::unordered_set<std::string_view> seen;
  seen.reserve(v.size());
  std::vector<Line> kept;
  kept.reserve(v.size());
  for (size_t i = 0; i < v.size(); ++i) {
    const bool repeated = !seen.insert(v[i].view()).second;
    if (repeated) ++result.removed;
    else kept.push_back(v[i]);
    if (poll && poll(static_cast<int64_t>(i), repeated)) {
      result.canceled = true;
      return result;
    }
  }
  std::reverse(kept.begin(), kept.end());
  v.swap(kept);
  return result;
}

}  // namespace varnopel
