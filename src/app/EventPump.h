#pragma once
// Keeps the window responsive inside long loops without slowing them: poll()
// is cheap enough to call for every line, and only every 20 ms does it run
// the tick (status and progress updates) and process pending events, which
// is when a click on Cancel is seen.
#include <QElapsedTimer>

#include <cstdint>
#include <functional>

namespace varnopel {

class EventPump {
 public:
  static constexpr int kIntervalMs = 20;

  explicit EventPump(std::function<void()> tick = {});
  void setTick(std::function<void()> tick) { tick_ = std::move(tick); }
  // Tests shorten the interval to make a pump certain within a loop.
  void setIntervalMs(int ms) { intervalMs_ = ms; }

  // For tight loops (every line): looks at the clock only now and then.
  void poll() {
    if (++calls_ % kCallsPerClockCheck == 0) maybePump();
  }
  // For coarse points (every file, every step): looks at the clock each time.
  void step() { maybePump(); }
  // Runs the tick and processes events now.
  void pumpNow();
  // How often events were processed so far (for measurements).
  int64_t pumps() const { return pumps_; }
  int64_t longestGapMs() const { return longestGapMs_; }

 private:
  static constexpr uint32_t kCallsPerClockCheck = 1024;
  void maybePump();

  std::function<void()> tick_;
  int intervalMs_ = kIntervalMs;
  QElapsedTimer clock_;
  uint32_t calls_ = 0;
  int64_t pumps_ = 0;
  int64_t longestGapMs_ = 0;
};

}  // namespace varnopel
