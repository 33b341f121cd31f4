#include "split/LineWriter.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

namespace varnopel {

namespace {

constexpr size_t kFlushBytes = size_t{1} << 20;
// A run is written from where it lies once it is this long, and is never
// longer than the second figure (unless one line is), so that the window
// hears from the writer often enough.
constexpr size_t kDirectBytes = size_t{256} << 10;
constexpr size_t kMostRunBytes = size_t{8} << 20;
// Fewer scattered lines than this are not worth a second thread; lines
// closer than the second figure to the one before them are not scattered.
constexpr size_t kGatherMinimum = 4096;
constexpr size_t kNearBytes = size_t{64} << 10;
// Lines are asked for this many lines ahead of use.
constexpr size_t kAhead = 16;

// Copies each text followed by the line break to out, fetching the texts a
// little ahead of use: after a reordering they lie anywhere in memory.
void CopyLines(std::span<const std::string_view> texts, std::string_view lineBreak, char* out) {
  for (size_t k = 0; k < texts.size(); ++k) {
    if (k + kAhead < texts.size()) __builtin_prefetch(texts[k + kAhead].data());
    std::memcpy(out, texts[k].data(), texts[k].size());
    out += texts[k].size();
    std::memcpy(out, lineBreak.data(), lineBreak.size());
    out += lineBreak.size();
  }
}

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

void LineWriter::lines(std::span<const std::string_view> texts) {
  if (texts.size() >= kGatherMinimum && encoder_.mayPassThrough()) {
    // Only lines scattered far apart (a shuffle, a sort) gain from a second
    // thread; one stretch, or lines taken in turn or backwards, go faster
    // through the runs below.
    size_t near = 0;
    for (size_t k = 1; k < texts.size(); ++k) {
      const char* a = texts[k - 1].data();
      const char* b = texts[k].data();
      near += static_cast<size_t>(a < b ? b - a : a - b) < kNearBytes;
    }
    if (near < texts.size() / 2) {
      flushRun();
      if (gather(texts)) return;
    }
  }
  for (size_t k = 0; k < texts.size(); ++k) {
    if (k + kAhead < texts.size()) __builtin_prefetch(texts[k + kAhead].data());
    line(texts[k]);
  }
}

// Gathers the lines into one block, half on another thread, and writes it;
// false (nothing written) if the encoding would change the bytes.
bool LineWriter::gather(std::span<const std::string_view> texts) {
  const size_t half = texts.size() / 2;
  size_t firstBytes = 0, total = 0;
  for (size_t k = 0; k < texts.size(); ++k) {
    if (k == half) firstBytes = total;
    total += texts[k].size() + lineBreak_.size();
  }
  if (total > gatheredCapacity_) {
    gathered_ = AllocateBytes(total);
    gatheredCapacity_ = total;
  }
  char* out = gathered_.get();
  std::thread other;
  try {
    other = std::thread(CopyLines, texts.subspan(half), lineBreak_, out + firstBytes);
  } catch (const std::system_error&) {
    CopyLines(texts.subspan(half), lineBreak_, out + firstBytes);
  }
  CopyLines(texts.first(half), lineBreak_, out);
  if (other.joinable()) other.join();
  if (!encoder_.passesThrough({out, total})) return false;
  flushBuffer();
  file_.write(out, total);
  return true;
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
