#include "decoding/TextChunk.h"

#include <sys/mman.h>

#include <cstdint>

namespace varnopel {

void PreferHugePages(void* block, size_t size) {
  constexpr uintptr_t kHuge = uintptr_t{2} << 20;
  if (size < 4 * kHuge) return;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + size) & ~(kHuge - 1);
  if (end > begin)
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);  // a hint; failure is harmless
}

}  // namespace varnopel
