#include "workspace/PackedSpans.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>

namespace varnopel {

bool PackedSpans::pack(std::vector<LineList::Line>& v) {
  size_t longLines = 0;
  for (const LineList::Line& line : v) {
    if (reinterpret_cast<uintptr_t>(line.data) > kAddressMask) return false;
    longLines += line.size >= kLong;
  }
  long_.clear();
  long_.reserve(longLines);  // nothing may fail once the rewriting has begun
  // Each packed span lands at or before the span it is made from, which is
  // read first, so the storage can be rewritten front to back.
  char* storage = reinterpret_cast<char*>(v.data());
  for (size_t i = 0; i < v.size(); ++i) {
    const LineList::Line line = v[i];
    const uint32_t size = line.size >= kLong ? kLong : line.size;
    if (size == kLong) long_.emplace_back(i, line.size);
    const uint64_t packed = reinterpret_cast<uintptr_t>(line.data) | (uint64_t{size} << 48);
    std::memcpy(storage + i * sizeof packed, &packed, sizeof packed);
  }
  packed_ = reinterpret_cast<const uint64_t*>(storage);

  constexpr uintptr_t kPage = 4096;
  const uintptr_t freeFrom =
      (reinterpret_cast<uintptr_t>(storage) + v.size() * sizeof(uint64_t) + kPage - 1) & ~(kPage - 1);
  const uintptr_t freeTo =
      (reinterpret_cast<uintptr_t>(storage) + v.capacity() * sizeof(LineList::Line)) & ~(kPage - 1);
  if (freeTo > freeFrom) ::madvise(reinterpret_cast<void*>(freeFrom), freeTo - freeFrom, MADV_DONTNEED);
  return true;
}

uint32_t PackedSpans::longSize(size_t index) const {
  const auto found = std::lower_bound(long_.begin(), long_.end(), std::pair<size_t, uint32_t>{index, 0});
  return found->second;
}

}  // namespace varnopel
