#include "app/EventPump.h"

#include <QCoreApplication>

#include <algorithm>

namespace varnopel {

EventPump::EventPump(std::function<void()> tick) : tick_(std::move(tick)) { clock_.start(); }

void EventPump::maybePump() {
  if (clock_.elapsed() >= intervalMs_) pumpNow();
}

void EventPump::pumpNow() {
  longestGapMs_ = std::max<int64_t>(longestGapMs_, clock_.restart());
  ++pumps_;
  if (tick_) tick_();
  QCoreApplication::processEvents();
}

}  // namespace varnopel
