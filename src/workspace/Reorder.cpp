#include "workspace/Reorder.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <thread>

#include "decoding/TextChunk.h"
#include "workspace/Compare.h"
#include "workspace/PackedSpans.h"
#include "workspace/SortList.h"

namespace varnopel {

using Line = LineList::Line;

void ReverseLines(LineList& list) { std::reverse(list.lines().begin(), list.lines().end()); }

void ShuffleLines(LineList& list, std::mt19937_64& random) {
  // Each swap touches a random span, a cache miss most of the time. The picks
  // are drawn some steps ahead, in the same order from the same distributions,
  // so the spans they name can be fetched while earlier swaps run.
  auto& v = list.lines();
  const size_t n = v.size();
  constexpr size_t kAhead = 32;  // a power of two
  size_t picks[kAhead];
  auto draw = [&](size_t i) {  // the pick for position i - 1
    std::uniform_int_distribution<size_t> pick(0, i - 1);
    const size_t j = pick(random);
    __builtin_prefetch(&v[j], 1);
    picks[i % kAhead] = j;
  };
  for (size_t i = n; i > 1 && i + kAhead > n; --i) draw(i);
  for (size_t i = n; i > 1; --i) {
    const size_t j = picks[i % kAhead];
    if (i > kAhead + 1) draw(i - kAhead);  // into the slot just read
    std::swap(v[i - 1], v[j]);
  }
}

namespace {

// Both sorts go through 12-byte records: an eight-byte key of the line's
// start (see OrdinalKey, LogicalKey) and the line's position. Two records
// whose keys differ are ordered by the keys alone, which gives exactly the
// line comparison's answer while touching far less memory; equal keys and
// untrusted keys fall back to comparing the lines. The sort itself is the
// same, so equal-ranking lines end where they always did.
struct Keyed {
  uint64_t key;
  uint32_t index;  // top bit: the key may not be used
} __attribute__((packed));
static_assert(sizeof(Keyed) == sizeof(Line));

constexpr uint32_t kNoKey = 0x80000000u;

using LineCompare = int (*)(std::string_view, std::string_view);
using MakeKey = bool (*)(std::string_view, uint64_t&);

// Runs work(begin, end) over [0, count), one part per core for long lists.
template <class Work>
void InParts(size_t count, Work work) {
  const size_t parts = count < 100000 ? 1 : std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> threads;
  for (size_t p = 1; p < parts; ++p) {
    const size_t begin = count * p / parts, end = count * (p + 1) / parts;
    try {
      threads.emplace_back(work, begin, end);
    } catch (const std::system_error&) {  // no thread to be had: do it here
      work(begin, end);
    }
  }
  work(0, count / parts);
  for (std::thread& t : threads) t.join();
}

// Copies a large block piece by piece, giving each piece of the source back
// to the system once copied, so that the two blocks are never both whole.
void MoveReleasing(void* to, char* from, size_t size) {
  constexpr size_t kPiece = size_t{32} << 20;
  constexpr uintptr_t kPage = 4096;
  uintptr_t released = (reinterpret_cast<uintptr_t>(from) + kPage - 1) & ~(kPage - 1);
  for (size_t at = 0; at < size; at += kPiece) {
    const size_t length = std::min(kPiece, size - at);
    std::memcpy(static_cast<char*>(to) + at, from + at, length);
    const uintptr_t upTo = (reinterpret_cast<uintptr_t>(from) + at + length) & ~(kPage - 1);
    if (upTo > released) {
      ::madvise(reinterpret_cast<void*>(released), upTo - released, MADV_DONTNEED);
      released = upTo;
    }
  }
}

template <LineCompare compareLines>
void SortKeyed(std::vector<Line>& v, bool descending, MakeKey makeKey) {
  const size_t count = v.size();
  if (count < 2 || count >= kNoKey) {
    if (descending)
      ParallelSortList(std::span(v), [](const Line& a, const Line& b) { return compareLines(b.view(), a.view()); });
    else ParallelSortList(std::span(v), [](const Line& a, const Line& b) { return compareLines(a.view(), b.view()); });
    return;
  }
  // Fresh, not zeroed, on huge pages where it can be: hundreds of megabytes
  // of small zeroed pages cost more than making the keys.
  const ByteBuffer storage = AllocateBytes(count * sizeof(Keyed));
  const std::span keyed(reinterpret_cast<Keyed*>(storage.get()), count);
  // From here on the spans are read packed (see PackedSpans), unless an
  // address is too long for that; they are packed before the records are
  // made, so that the two never take their full room at once.
  PackedSpans packed;
  const bool isPacked = packed.pack(v);
  auto lineAt = [&](uint32_t index) { return isPacked ? packed.line(index & ~kNoKey) : v[index & ~kNoKey]; };
  InParts(count, [&](size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
      uint64_t key;
      const bool usable = makeKey(lineAt(static_cast<uint32_t>(i)).view(), key);
      keyed[i] = {key, usable ? static_cast<uint32_t>(i) : (static_cast<uint32_t>(i) | kNoKey)};
    }
  });
  auto ascending = [&](const Keyed& a, const Keyed& b) {
    if (a.key != b.key && ((a.index | b.index) & kNoKey) == 0) return a.key < b.key ? -1 : 1;
    if (a.index == b.index) return 0;  // the pivot meets itself once per partition
    return compareLines(lineAt(a.index).view(), lineAt(b.index).view());
  };
  if (descending) ParallelSortList(keyed, [&](const Keyed& a, const Keyed& b) { return ascending(b, a); });
  else ParallelSortList(keyed, ascending);

  // Gather the spans in sorted order into the records' own storage (a span
  // is as big as a record, and each record is read before it is replaced),
  // then move them back. The reads are independent, so they overlap.
  InParts(count, [&](size_t begin, size_t end) {
    constexpr size_t kAhead = 16;
    for (size_t i = begin; i < end; ++i) {
      if (i + kAhead < end)
        __builtin_prefetch(isPacked ? packed.address(keyed[i + kAhead].index & ~kNoKey)
                                    : &v[keyed[i + kAhead].index & ~kNoKey]);
      const Line line = lineAt(keyed[i].index);
      std::memcpy(static_cast<void*>(&keyed[i]), &line, sizeof line);
    }
  });
  MoveReleasing(v.data(), storage.get(), count * sizeof(Line));
}

}  // namespace

void SortLines(LineList& list, SortOrder order, bool descending) {
  if (order == SortOrder::Dictionary) SortKeyed<CompareOrdinal>(list.lines(), descending, OrdinalKey);
  else SortKeyed<CompareLogical>(list.lines(), descending, LogicalKey);
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
