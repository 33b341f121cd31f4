#include "split/SplitRun.h"

#include <algorithm>

#include "split/LineWriter.h"
#include "split/OutputEncoder.h"
#include "split/OutputFile.h"

namespace varnopel {

namespace {

// The lines of one file: position j of the collection lies at
// first + j * stride for j < paired, and at tail + (j - paired) after that.
struct Collection {
  int64_t first = 0;
  int64_t stride = 1;
  int64_t paired = 0;
  int64_t tail = 0;
  int64_t count = 0;  // lines collected
  int64_t at(int64_t j) const { return j < paired ? first + j * stride : tail + (j - paired); }
};

// Where the lines of file k lie.
Collection Plan(const SplitPlan& plan, int64_t n, int64_t k, int64_t start, bool deal) {
  Collection c;
  if (!deal) {
    c.first = start;
    c.paired = n;  // a block: consecutive lines from start
    return c;
  }
  if (plan.mode == SplitMode::Half) {
    // Dealt in turn to the two files; once one has its share, the rest go
    // to the other, so every line is written once.
    const int64_t h = std::clamp<int64_t>(plan.linesPerFile, 0, n);
    const int64_t t = std::min(h, n - h);
    c.first = k - 1;
    c.stride = 2;
    c.paired = t;
    c.tail = 2 * t;
    return c;
  }
  c.first = k - 1;
  c.stride = plan.files;
  c.paired = n;
  return c;
}

void WriteFile(const std::string& path, const LineList& lines, const Collection& c, OutputEncoder& encoder,
               const std::string& lineBreak, const std::vector<std::string_view>& header, SplitCallbacks& callbacks) {
  OutputFile file(path);
  LineWriter writer(file, encoder, lineBreak, callbacks);
  for (std::string_view line : header) writer.line(line);
  // In batches, so that lines scattered by a reordering can be gathered in
  // parallel.
  constexpr int64_t kBatch = int64_t{1} << 16;
  std::vector<std::string_view> batch;
  batch.reserve(static_cast<size_t>(std::min(c.count, kBatch)));
  for (int64_t j = 0; j < c.count; j += kBatch) {
    batch.clear();
    const int64_t end = std::min(c.count, j + kBatch);
    for (int64_t i = j; i < end; ++i) batch.push_back(lines[static_cast<size_t>(c.at(i))]);
    writer.lines(batch);
  }
  writer.finish();
  file.commit();
}

}  // namespace

int64_t PlannedLineCount(const SplitPlan& plan, int64_t n, int64_t k, bool deal, bool written, int64_t& start) {
  const int64_t F = plan.files;
  const int64_t L = plan.linesPerFile;
  const bool half = plan.mode == SplitMode::Half;
  const int64_t share = half && k == 2 ? n - L : L;
  if (!written) {
    start += share;
    return 0;
  }
  if (deal) {
    if (half) return k == 1 ? std::clamp<int64_t>(L, 0, n) : n - std::clamp<int64_t>(L, 0, n);
    return k - 1 >= n ? 0 : std::min(L, (n - (k - 1) + F - 1) / F);
  }
  const int64_t count = std::clamp<int64_t>(n - start, 0, share);
  start += count;
  return count;
}

SplitResult RunSplit(const LineList& lines, int32_t codePage, const SplitPlan& plan, SplitCallbacks& callbacks,
                     const std::vector<std::string_view>& header) {
  SplitResult result;
  OutputEncoder encoder(codePage, lines.mayHoldLoneSurrogates());
  const int64_t n = static_cast<int64_t>(lines.count());
  const int64_t F = plan.files;
  int64_t start = 0;
  int64_t progress = 0;
  int64_t k = 0;
  do {
    ++k;
    callbacks.fileStarted(k, F);
    const bool deal = callbacks.dealOut();
    const bool written = callbacks.isChecked(k);
    int64_t planned = start;
    const int64_t wanted = PlannedLineCount(plan, n, k, deal, written, planned);
    if (!written) {
      callbacks.fileSkipped(k);
      progress += planned - start;
      start = planned;
      callbacks.progress(progress);
      continue;
    }
    Collection c = Plan(plan, n, k, start, deal);
    // Collect, looking at the cancel request after every line; the line
    // just taken stays in the file.
    while (c.count < wanted) {
      ++c.count;
      callbacks.progress(++progress);
      if (callbacks.canceled()) break;
    }
    if (!deal) start += c.count;

    const std::string path = callbacks.pathFor(k);
    bool write = true;
    if (OutputExists(path) && !callbacks.overwriteWithoutAsking()) {
      switch (callbacks.askOverwrite(path)) {
        case OverwriteAnswer::Yes: break;
        case OverwriteAnswer::No: write = false; break;
        case OverwriteAnswer::YesToAll: callbacks.overwriteAll(); break;
        case OverwriteAnswer::Cancel:
          result.canceled = true;
          result.lastDeclined = true;
          return result;
      }
    }
    result.lastDeclined = !write;
    if (write) {
      callbacks.fileWriting(k);
      WriteFile(path, lines, c, encoder, callbacks.lineBreak(), header, callbacks);
      ++result.filesWritten;
      callbacks.fileWritten(k, path, c.count);
    }
    if (callbacks.canceled()) {
      result.canceled = true;
      return result;
    }
  } while (k < F);
  return result;
}

}  // namespace varnopel
