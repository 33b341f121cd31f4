#pragma once
// Makes the pages of a fresh block of memory ready on another thread, ahead
// of the code that fills it. Handing a process a new page (finding it,
// zeroing it, mapping it) can cost more than writing the page, above all in
// a virtual machine; with a second core that work runs beside the filling.
#include <atomic>
#include <cstddef>
#include <thread>

namespace varnopel {

class PageFiller {
 public:
  // Starts at once; blocks too small to be worth a thread are left alone.
  PageFiller(void* block, size_t size);
  // Stops (the rest is then faulted in by whoever writes it) and waits.
  ~PageFiller();
  PageFiller(const PageFiller&) = delete;
  PageFiller& operator=(const PageFiller&) = delete;

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace varnopel
