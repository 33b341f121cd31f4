#include "split/LineWriter.h"

#include <algorithm>
#include <cstring>

namespace varnopel {

namespace {

constexpr size_t kFlushBytes = size_t{1} << 20;
// A run is written from where it lies once it is this long, and is never
// longer than the second figure (unless one line is), so that the window
// hears from the writer often enough.
constexpr size_t kDirectBytes = size_t{256} << 10;
constexpr size_t kMostRunBytes = size_t{8} << 20;

}  // namespace

LineWriter::LineWriter(OutputFile& file, OutputEncoder& encoder, std::string_view lineBreak, SplitCallbacks& callbacks)
    : file_(file), encoder_(encoder), lineBreak_(lineBreak), callbacks_(callbacks) {
  buffer_.reserve(kFlushBytes + 65536);
  encoder_.begin(buffer_);
}

void LineWriter::line(std::string_view text) {
  const size_t gap = lineBreak_.size();
  if (runBegin_ && text.data() == runEnd_ + gap && static_cast<size_t>(runEnd_ - runBegin_) < kMostRunBytes &&
      std::memcmp(runEnd_, lineBreak_.data(), gap) == 0) {
    runEnd_ = text.data() + text.size();
    return;
  }
  flushRun();
  runBegin_ = text.data();
  runEnd_ = text.data() + text.size();
}

void LineWriter::flushRun() {
  if (!runBegin_) return;
  const std::string_view run(runBegin_, static_cast<size_t>(runEnd_ - runBegin_));
  runBegin_ = runEnd_ = nullptr;
  if (encoder_.passesThrough(run)) {
    if (run.size() >= kDirectBytes) {
      flushBuffer();
      file_.write(run.data(), run.size());
    } else {
      buffer_ += run;
    }
    buffer_ += lineBreak_;
  } else {
    encoder_.encode(run, buffer_);
    encoder_.encode(lineBreak_, buffer_);
  }
  if (buffer_.size() >= kFlushBytes) flushBuffer();
}

void LineWriter::flushBuffer() {
  file_.write(buffer_.data(), buffer_.size());
  buffer_.clear();
  callbacks_.keepResponsive();
}

void LineWriter::finish() {
  flushRun();
  encoder_.end(buffer_);
  file_.write(buffer_.data(), buffer_.size());
  buffer_.clear();
}

}  // namespace varnopel
