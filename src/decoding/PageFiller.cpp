#include "decoding/PageFiller.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace varnopel {

namespace {

constexpr size_t kPage = 4096;
constexpr size_t kPiece = size_t{8} << 20;
constexpr size_t kWorthIt = size_t{64} << 20;

}  // namespace

PageFiller::PageFiller(void* block, size_t size) {
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + kPage - 1) & ~(kPage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + size) & ~(kPage - 1);
  if (end <= begin || end - begin < kWorthIt || std::thread::hardware_concurrency() < 2) return;
  try {
    thread_ = std::thread([this, begin, end] {
      // Faulting pages in for writing leaves their contents alone, so the
      // filling code may write to the same pages meanwhile.
      for (uintptr_t at = begin; at < end && !stop_.load(std::memory_order_relaxed); at += kPiece) {
        const size_t length = std::min<size_t>(kPiece, end - at);
        if (::madvise(reinterpret_cast<void*>(at), length, MADV_POPULATE_WRITE) != 0) return;
      }
    });
  } catch (const std::system_error&) {
    // No thread to be had: the pages are faulted in as they are written.
  }
}

PageFiller::~PageFiller() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

}  // namespace varnopel
