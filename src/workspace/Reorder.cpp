#include "workspace/Reorder.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

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

namespace {

// Dictionary order sorts 12-byte records: the first eight bytes of the line
// as a big-endian number, and the line's position. Two records whose keys
// differ are ordered by the keys alone, which gives exactly the answer of
// CompareOrdinal while touching far less memory; equal keys, and lines whose
// first bytes include characters that UTF-16 orders differently from UTF-8
// (lead bytes EE and above), fall back to the full comparison. The sort
// itself is the same, so equal-ranking lines end where they always did.
struct Keyed {
  uint64_t key;
  uint32_t index;  // top bit: the key may not be used
} __attribute__((packed));

constexpr uint32_t kNoKey = 0x80000000u;

Keyed MakeKey(std::string_view line, uint32_t index) {
  uint64_t key = 0;
  bool usable = true;
  for (size_t k = 0; k < 8; ++k) {
    const unsigned char c = k < line.size() ? static_cast<unsigned char>(line[k]) : 0;
    usable &= c < 0xEE;
    key = (key << 8) | c;
  }
  return {key, usable ? index : (index | kNoKey)};
}

void SortDictionary(std::vector<Line>& v, bool descending) {
  if (v.size() < 2 || v.size() >= kNoKey) {
    if (descending) SortList(v, [](const Line& a, const Line& b) { return CompareOrdinal(b.view(), a.view()); });
    else SortList(v, [](const Line& a, const Line& b) { return CompareOrdinal(a.view(), b.view()); });
    return;
  }
  std::vector<Keyed> keyed(v.size());
  for (size_t i = 0; i < v.size(); ++i) keyed[i] = MakeKey(v[i].view(), static_cast<uint32_t>(i));
  auto ascending = [&v](const Keyed& a, const Keyed& b) {
    if (a.key != b.key && ((a.index | b.index) & kNoKey) == 0) return a.key < b.key ? -1 : 1;
    return CompareOrdinal(v[a.index & ~kNoKey].view(), v[b.index & ~kNoKey].view());
  };
  if (descending) SortList(keyed, [&](const Keyed& a, const Keyed& b) { return ascending(b, a); });
  else SortList(keyed, ascending);

  // Put the spans in the sorted order in place, cycle by cycle; the key
  // field, no longer needed, marks the positions already filled.
  for (Keyed& k : keyed) k.key = 0;
  constexpr uint64_t kDone = 1;
  for (size_t start = 0; start < keyed.size(); ++start) {
    uint32_t from = keyed[start].index & ~kNoKey;
    if (from == start || keyed[start].key == kDone) continue;
    const Line first = v[start];
    size_t at = start;
    while (from != start) {
      v[at] = v[from];
      keyed[at].key = kDone;
      at = from;
      from = keyed[at].index & ~kNoKey;
    }
    v[at] = first;
    keyed[at].key = kDone;
  }
}

}  // namespace

void SortLines(LineList& list, SortOrder order, bool descending) {
  auto& v = list.lines();
  if (order == SortOrder::Dictionary) {
    SortDictionary(v, descending);
  } else if (descending) {
    SortList(v, [](const Line& a, const Line& b) { return CompareLogical(b.view(), a.view()); });
  } else {
    SortList(v, [](const Line& a, const Line& b) { return CompareLogical(a.view(), b.view()); });
  }
}

DedupResult RemoveDuplicates(LineList& list, const std::function<bool(int64_t, bool)>& poll) {
  auto& v = list.lines();
  DedupResult result;
  result.before = static_cast<int64_t>(v.size());

  // Open addressing over the line positions: each slot holds the position
  // + 1 of a first occurrence (0 = empty). Four bytes a slot and no
  // allocation per line, so the set stays small beside the text.
  if (v.size() >= UINT32_MAX) throw std::length_error("too many lines");
  size_t capacity = 16;
  while (capacity < v.size() + v.size() / 2) capacity *= 2;
  std::vector<uint32_t> slots(capacity, 0);
  const size_t mask = capacity - 1;
  std::vector<bool> repeated(v.size(), false);
  const std::hash<std::string_view> hasher;
  for (size_t i = 0; i < v.size(); ++i) {
    const std::string_view line = v[i].view();
    bool seen = false;
    for (size_t slot = hasher(line) & mask;; slot = (slot + 1) & mask) {
      const uint32_t entry = slots[slot];
      if (entry == 0) {
        slots[slot] = static_cast<uint32_t>(i + 1);
        break;
      }
      if (v[entry - 1].view() == line) {
        seen = true;
        break;
      }
    }
    if (seen) {
      repeated[i] = true;
      ++result.removed;
    }
    if (poll && poll(static_cast<int64_t>(i), seen)) {
      result.canceled = true;
      return result;  // nothing was moved yet
    }
  }
  size_t kept = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    if (!repeated[i]) v[kept++] = v[i];
  }
  v.resize(kept);
  std::reverse(v.begin(), v.end());
  return result;
}

}  // namespace varnopel
